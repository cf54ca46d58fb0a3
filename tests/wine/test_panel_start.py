"""trayconsole.exe's start and end: one copy per desktop, a second start's command to the
running copy, and the two switches ZunSearchMode and ZunDestroyMode."""
import time
import unittest

import pe_resources
from winetest import WineTestCase, run

WM_CLOSE = 0x0010
WM_PANELEXIT = 0x0400 + 111
COMMAND_W, COMMAND_L = 47215, 0x5C2E71B4


class SecondStart(WineTestCase):
    def test_shows_the_running_panel_unless_it_is_told_to_end_it(self):
        desktop = self.desktopsim()
        first = self.panel(desktop=desktop)
        self.assertEqual(desktop.look()["visible"], "0")
        # A switch only counts alone and spelt exactly: all of these just show the window.
        for args in ([], ["ZunSearchMode"], ["ZunDestroyMode", "now"], ["zundestroymode"]):
            with self.subTest(args=args):
                started = time.monotonic()
                self.assertEqual(run(self.panel_exe(), *args), 0)
                self.assertLess(time.monotonic() - started, 5)
                state, _ = desktop.wait_look(lambda s: s["visible"] == "1", timeout=3)
                self.assertEqual(state["page"], "0")
                self.assertTrue(first.running())
                desktop.write(f"post {WM_CLOSE} 0 0")  # the close box only hides it
                desktop.wait_look(lambda s: s["visible"] == "0", timeout=3)

    def test_destroy_mode_ends_the_running_panel_which_says_farewell(self):
        desktop = self.desktopsim("tray on", "auto-discover on")
        first = self.panel(desktop=desktop)
        desktop.wait_event("ATTACH", r"0x0$")  # the panel took the stand-in as its bridge
        self.assertEqual(run(self.panel_exe(), "ZunDestroyMode"), 0)
        self.assertEqual(first.wait_exit(5), 0)
        desktop.wait_event("ATTACH", r"^0x0 0x0$")
        desktop.wait_event("TRAY", "^DELETE")
        self.assertIsNone(desktop.look())

    def test_a_command_with_other_values_is_answered_and_ignored(self):
        desktop = self.desktopsim()
        self.panel(desktop=desktop)
        desktop.write(f"send {WM_PANELEXIT} {COMMAND_W} 0")
        desktop.wait_event("SEND", "RESULT 1$")
        self.assertIsNotNone(desktop.look())


class OnlyCopy(WineTestCase):
    def test_destroy_mode_alone_starts_and_ends_at_once(self):
        desktop = self.desktopsim("auto-discover on")
        started = time.monotonic()
        self.assertEqual(run(self.panel_exe(), "ZunDestroyMode"), 0)
        self.assertLess(time.monotonic() - started, 5)
        # Its window was made: it announced itself to any bridge.
        desktop.wait_event("ANNOUNCE")

    def test_search_mode_without_a_bridge_ends_at_the_first_watch(self):
        started = time.monotonic()
        panel = self.panel("ZunSearchMode")
        self.assertEqual(panel.wait_exit(10), 0)
        self.assertGreater(time.monotonic() - started, 2.5)
        self.assertLess(time.monotonic() - started, 6.5)

    def test_search_mode_with_a_bridge_runs_on(self):
        desktop = self.desktopsim("auto-discover on")
        panel = self.panel("ZunSearchMode", desktop=desktop)
        desktop.wait_event("ATTACH")
        time.sleep(4)
        self.assertTrue(panel.running())



class AboutPage(WineTestCase):
    def test_names_the_product_version_and_maker_as_the_version_resource_does(self):
        desktop = self.desktopsim()
        self.panel(desktop=desktop)
        desktop.wait_look(lambda s: True)
        desktop.write("about")
        texts = dict(item.split("=", 1) for item in desktop.wait_event("ABOUT").split(" ", 2)[2].split("|"))
        resource = pe_resources.version_info(self.panel_exe()).strings
        self.assertEqual(texts, {"product": f"Product Name: {resource['ProductName']}",
                                 "version": f"Software Version: {resource['ProductVersion']}",
                                 "maker": f"Made by {resource['CompanyName']}"})


if __name__ == "__main__":
    unittest.main()
