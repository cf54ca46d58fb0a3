"""The import check itself: what it must refuse for the oldest Windows of each build, and the
list it reads (no Wine needed)."""
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import check_imports  # noqa: E402

EXPORTS = check_imports.read_exports_list()
XP = (5, 1)
# What a small program of ours imports, as both builds have it.
BASE = [("kernel32.dll", "CreateFileA"), ("user32.dll", "PostMessageA"), ("msvcrt.dll", "malloc")]


def problems(imports, oldest, version=XP):
    return check_imports.problems(version, imports, oldest, EXPORTS)


class NewerImports(unittest.TestCase):
    def test_the_posix_thread_runtimes_tick_count_keeps_a_program_off_xp_but_not_off_7(self):
        imports = BASE + [("kernel32.dll", "GetTickCount64")]
        found = problems(imports, "xp-sp3")
        self.assertEqual(len(found), 1, found)
        self.assertIn("GetTickCount64: first in Windows vista", found[0])
        self.assertEqual(problems(imports, "win7-sp1"), [])

    def test_a_call_of_windows_8_is_refused_for_7(self):
        found = problems(BASE + [("kernel32.dll", "GetSystemTimePreciseAsFileTime")], "win7-sp1")
        self.assertEqual(len(found), 1, found)

    def test_an_import_the_list_does_not_know_is_refused(self):
        found = problems(BASE + [("kernel32.dll", "NoSuchFunction"), ("user32.dll", "#2001")], "xp-sp3")
        self.assertEqual(len(found), 2, found)
        self.assertTrue(all("not in windows-exports.txt" in p for p in found), found)

    def test_a_program_known_to_load_on_xp_passes(self):
        self.assertEqual(problems(BASE + [("kernel32.dll", "GetTickCount")], "xp-sp3"), [])


class LoaderAndDlls(unittest.TestCase):
    def test_a_subsystem_version_of_vista_is_refused_for_xp(self):
        found = problems(BASE, "xp-sp3", version=(6, 0))
        self.assertEqual(len(found), 1, found)
        self.assertIn("subsystem version", found[0])
        self.assertEqual(problems(BASE, "win7-sp1", version=(6, 0)), [])

    def test_services_bound_at_run_time_must_not_be_imported(self):
        for dll in ("hid.dll", "setupapi.dll", "libwinpthread-1.dll"):
            found = check_imports.problems(XP, BASE + [(dll, "Anything")])
            self.assertEqual(len(found), 1, (dll, found))

    def test_a_program_without_imports_is_refused(self):
        self.assertEqual(len(check_imports.problems(XP, [])), 1)


class ExportsList(unittest.TestCase):
    def test_dates_the_calls_that_decide_between_the_builds(self):
        self.assertEqual(EXPORTS[("kernel32.dll", "GetTickCount64")], "vista")
        self.assertEqual(EXPORTS[("kernel32.dll", "GetTickCount")], "xp")
        self.assertEqual(EXPORTS[("kernel32.dll", "GetLogicalProcessorInformation")], "xp-sp3")


if __name__ == "__main__":
    unittest.main()
