"""trayconsole.exe with a stand-in notification area and bridge: the tray icon and its
clicks and menu, the reports' effect, the commands the panel sends and the answers it takes."""
import os
import time
import unittest

from winetest import WineTestCase, run

WM_CLOSE = 0x0010
VK_TAB, VK_RETURN, VK_ESCAPE = 0x09, 0x0D, 0x1B
HANDSET_AND_SKYPE, HANDSET_ONLY, NOTHING = 0x0101, 0x0100, 0x0000
STATUS = 0xFF  # the key byte of a periodic report


def wait_menu(desktop, state, timeout=5.0):
    """Asks until the popup menu is `state` ("open" or "none")."""
    deadline = time.monotonic() + timeout
    while True:
        count = len(desktop.events("MENU"))
        desktop.write("menu")
        desktop.wait_event("MENU", count=count + 1)
        if desktop.events("MENU")[-1] == state:
            return
        if time.monotonic() > deadline:
            raise AssertionError(f"the menu never became {state}")
        time.sleep(0.1)


class TrayIcon(WineTestCase):
    def test_reports_switch_the_image_and_the_default_button(self):
        desktop = self.desktopsim("tray on")
        self.panel(desktop=desktop)
        desktop.wait_event("TRAY", "^ADD id=1 image=grey")
        self.assertEqual(desktop.look()["default"], "off,shown")

        desktop.write(f"report {HANDSET_AND_SKYPE} {STATUS}")
        desktop.wait_event("TRAY", r"^MODIFY id=1 image=red tip=Corvane USB Talkpod Control Panel\\nReady$")
        desktop.wait_look(lambda s: s["default"] == "on,shown" and s["skype"] == "on")
        desktop.write(f"report {HANDSET_ONLY} {STATUS}")
        desktop.wait_look(lambda s: s["default"] == "off,shown" and s["skype"] == "off")
        desktop.write(f"report {NOTHING} {STATUS}")
        desktop.wait_event("TRAY", "^MODIFY id=1 image=grey")
        # No handset's devices can be found here: the volume group never comes on.
        self.assertEqual(desktop.look()["volume"], "off")

    def test_without_a_notification_area_the_panel_runs_and_adds_its_icon_when_the_shell_comes(self):
        desktop = self.desktopsim()
        panel = self.panel(desktop=desktop)
        desktop.write(f"report {HANDSET_AND_SKYPE} {STATUS}")
        time.sleep(0.5)
        self.assertTrue(panel.running())
        desktop.write("tray on")
        desktop.write("taskbar-created")
        # With the image the reports chose meanwhile.
        desktop.wait_event("TRAY", r"^ADD id=1 image=red tip=Corvane USB Talkpod Control Panel\\nReady$")
        # An Explorer that restarts forgets the icon: it is added again.
        desktop.write("tray off")
        desktop.write("tray on")
        desktop.write("taskbar-created")
        desktop.wait_event("TRAY", "^ADD id=1", count=2)

    def test_a_notification_area_that_refuses_the_icon_at_start_ends_the_start(self):
        desktop = self.desktopsim("tray on", "tray refuse on")
        panel = self.panel()
        desktop.wait_event("TRAY", "^ADD id=1 .* REFUSED$")
        deadline = time.monotonic() + 10
        while "Cannot Create System Shell Notification Icon" not in desktop.events("DIALOG"):
            self.assertLess(time.monotonic(), deadline, "no message box")
            desktop.write("dialog")
            time.sleep(0.2)
        self.assertEqual(panel.wait_exit(5), 0)

    def test_exit_removes_the_icon(self):
        desktop = self.desktopsim("tray on")
        panel = self.panel(desktop=desktop)
        desktop.wait_event("TRAY", "^ADD")
        desktop.write("click right")
        desktop.wait_event("CLICK")
        wait_menu(desktop, "open")
        desktop.write("menu-char x")  # E&xit
        self.assertEqual(panel.wait_exit(5), 0)
        desktop.wait_event("TRAY", "^DELETE id=1")



class Clicks(WineTestCase):
    def setUp(self):
        super().setUp()
        self.desktop = self.desktopsim("tray on")
        self.panel(desktop=self.desktop)
        self.desktop.wait_event("TRAY", "^ADD")

    def test_a_double_click_shows_the_window_and_opens_no_menu(self):
        self.desktop.write("click double")
        self.desktop.wait_look(lambda s: s["visible"] == "1")
        time.sleep(0.8)  # longer than the single-click wait
        wait_menu(self.desktop, "none", timeout=0)

    def test_a_single_click_opens_the_menu_after_half_a_second_and_about_shows_the_about_page(self):
        self.desktop.write("click left")
        self.desktop.wait_event("CLICK")
        clicked = time.monotonic()
        wait_menu(self.desktop, "open")
        self.assertGreater(time.monotonic() - clicked, 0.3)
        self.desktop.write("menu-char a")  # &About
        state, _ = self.desktop.wait_look(lambda s: s["visible"] == "1")
        self.assertEqual(state["page"], "1")
        self.assertEqual(state["default"], "off,hidden")
        # The close box hides the window and turns back to the Setup page for the next time.
        self.desktop.write(f"post {WM_CLOSE} 0 0")
        state, _ = self.desktop.wait_look(lambda s: s["visible"] == "0" and s["page"] == "0")
        self.assertEqual(state["default"], "off,shown")


class Keyboard(WineTestCase):
    def test_tab_walks_the_enabled_controls_and_escape_hides_the_window(self):
        desktop = self.desktopsim()
        self.panel(desktop=desktop)
        desktop.write(f"report {HANDSET_AND_SKYPE} {STATUS}")  # the Skype group on, USB Phone off
        desktop.wait_look(lambda s: s["skype"] == "on")
        self.assertEqual(run(self.panel_exe()), 0)
        state, _ = desktop.wait_look(lambda s: s["visible"] == "1" and s["focus"] != "none")
        walk = [state["focus"]]
        for _ in range(6):
            desktop.write(f"key {VK_TAB}")
            time.sleep(0.2)
            walk.append(desktop.look()["focus"])
        self.assertEqual(walk, ["SysTabControl32", "ComboBox", "ComboBox", "ComboBox", "Button:Setup",
                                "Button:Default", "SysTabControl32"])
        desktop.write(f"key {VK_ESCAPE}")
        desktop.wait_look(lambda s: s["visible"] == "0")

    def test_enter_presses_the_focused_button(self):
        desktop = self.desktopsim()
        self.panel(desktop=desktop)
        desktop.write(f"report {HANDSET_AND_SKYPE} {STATUS}")  # "Default" on
        desktop.wait_look(lambda s: s["default"] == "on,shown")
        self.assertEqual(run(self.panel_exe()), 0)
        desktop.wait_look(lambda s: s["visible"] == "1" and s["focus"] != "none")
        for _ in range(5):
            desktop.write(f"key {VK_TAB}")
        desktop.wait_look(lambda s: s["focus"] == "Button:Default")
        # "Default" writes setup.set at once: the only trace it leaves without a mixer.
        settings = os.path.join(self.panel_folder(), "setup.set")
        self.assertFalse(os.path.exists(settings))
        desktop.write(f"key {VK_RETURN}")
        deadline = time.monotonic() + 5
        while not os.path.exists(settings) and time.monotonic() < deadline:
            time.sleep(0.05)
        self.assertTrue(os.path.exists(settings))
        # The window stays: Enter was the button's, not the window's.
        self.assertEqual(desktop.look()["visible"], "1")


class PanelLink(WineTestCase):
    def test_commands_carry_the_mark_and_the_zero_byte_and_answers_are_routed(self):
        desktop = self.desktopsim("auto-discover on")
        self.panel(desktop=desktop)
        desktop.wait_event("ATTACH")
        desktop.write(f"report {HANDSET_AND_SKYPE} {STATUS}")
        # The Skype group came on and asks for Skype's three devices.
        self.assertRegex(desktop.wait_event("TEXT", "GET RINGER$"), r"TEXT cb=12 !GET RINGER$")
        self.assertRegex(desktop.events("TEXT")[0], r"^cb=15 !GET AUDIO_OUT$")
        self.assertRegex(desktop.events("TEXT")[1], r"^cb=14 !GET AUDIO_IN$")

        desktop.write("answer AUDIO_OUT Speakers (USB Phone)")
        desktop.write("answer USERSTATUS ONLINE")
        desktop.wait_event("ANSWER", count=2)
        self.assertEqual([a.rsplit(" ", 1)[1] for a in desktop.events("ANSWER")], ["1", "0"])


if __name__ == "__main__":
    unittest.main()
