"""The version resources, manifests and icons of the built programs and of the installer, read
back from the files as Windows' Explorer and loader would read them."""
import os
import struct
import unittest
import xml.etree.ElementTree as ET

import pe_resources
from pe_resources import RT_GROUP_ICON, RT_ICON

VERSION = "3.3.10.3"
PRODUCT = "Corvane USB Talkpod"
COMPANY = "Corvane Audio Devices"
ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V2 = "{urn:schemas-microsoft-com:asm.v2}"
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
COMPATIBILITY = "{urn:schemas-microsoft-com:compatibility.v1}"
WINDOWS_10 = "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"
WINDOWS_7 = "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"


def built(variable):
    path = os.environ.get(variable)
    if not path:
        raise unittest.SkipTest(f"{variable} is not set")
    if not os.path.isfile(path):
        raise AssertionError(f"{variable} names no file: {path}")
    return path


class ProgramResources:
    variable = None
    file_name = None
    description = None

    def setUp(self):
        self.path = built(self.variable)

    def test_version_is_3_3_10_3_in_numbers_and_text(self):
        info = pe_resources.version_info(self.path)
        self.assertEqual(info.file_version, (3, 3, 10, 3))
        self.assertEqual(info.product_version, (3, 3, 10, 3))
        self.assertEqual(info.strings["FileVersion"], VERSION)
        self.assertEqual(info.strings["ProductVersion"], VERSION)

    def test_names_the_product_the_maker_and_itself(self):
        info = pe_resources.version_info(self.path)
        self.assertEqual(info.strings["ProductName"], PRODUCT)
        self.assertEqual(info.strings["CompanyName"], COMPANY)
        self.assertEqual(info.strings["FileDescription"], self.description)
        self.assertEqual(info.strings["OriginalFilename"], self.file_name)
        # Explorer shows the strings of the language the translation table names.
        self.assertEqual(info.translations, [(0x409, 1200)])

    def manifest(self):
        text = pe_resources.manifest(self.path)
        self.assertIsNotNone(text, "no application manifest")
        return ET.fromstring(text)

    def test_manifest_runs_as_the_user_and_knows_the_windows_versions(self):
        root = self.manifest()
        identity = root.find(ASM_V1 + "assemblyIdentity")
        self.assertEqual(identity.get("version"), VERSION)
        level = root.find(f"{ASM_V2}trustInfo/{ASM_V2}security/{ASM_V2}requestedPrivileges/"
                          f"{ASM_V2}requestedExecutionLevel")
        self.assertEqual(level.get("level"), "asInvoker")
        systems = [e.get("Id") for e in root.iter(COMPATIBILITY + "supportedOS")]
        self.assertIn(WINDOWS_7, systems)
        self.assertIn(WINDOWS_10, systems)
        dpi = [e.text for e in root.iter() if e.tag.endswith("}dpiAware")]
        self.assertEqual(dpi, ["true"])

    def common_controls(self):
        return [e for e in self.manifest().iter(ASM_V1 + "assemblyIdentity")
                if e.get("name") == "Microsoft.Windows.Common-Controls"]

    def test_program_icon_is_the_handset_in_the_usual_sizes(self):
        resources = pe_resources.resources(self.path)
        groups = resources.get(RT_GROUP_ICON, {})
        self.assertIn(1, groups, "no icon group 1, the program's icon")
        group = next(iter(groups[1].values()))
        reserved, kind, count = struct.unpack_from("<HHH", group)
        self.assertEqual((reserved, kind), (0, 1))
        sizes = set()
        for i in range(count):
            width, height, _, _, _, _, _, icon_id = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
            self.assertIn(icon_id, resources.get(RT_ICON, {}))
            sizes.add((width or 256, height or 256))
        self.assertLessEqual({(16, 16), (32, 32), (48, 48)}, sizes)


class BridgeResources(ProgramResources, unittest.TestCase):
    variable = "HANDSETLINK_EXE"
    file_name = "handsetlink.exe"
    description = "Corvane USB Talkpod Handset Link"

    def test_no_common_controls_without_controls(self):
        self.assertEqual(self.common_controls(), [])


class PanelResources(ProgramResources, unittest.TestCase):
    variable = "TRAYCONSOLE_EXE"
    file_name = "trayconsole.exe"
    description = "Corvane USB Talkpod Control Panel"

    def test_common_controls_6(self):
        controls = self.common_controls()
        self.assertEqual(len(controls), 1)
        self.assertEqual(controls[0].get("version"), "6.0.0.0")

    def test_tray_images_are_two_icon_groups(self):
        groups = pe_resources.resources(self.path).get(RT_GROUP_ICON, {})
        self.assertLessEqual({1, 2}, set(groups))


class InstallerResources(unittest.TestCase):
    def setUp(self):
        self.path = built("INSTALLER_EXE")

    def test_version_and_product(self):
        info = pe_resources.version_info(self.path)
        self.assertEqual(info.file_version, (3, 3, 10, 3))
        self.assertEqual(info.product_version, (3, 3, 10, 3))
        self.assertEqual(info.strings["ProductVersion"], VERSION)
        self.assertEqual(info.strings["ProductName"], PRODUCT)
        self.assertEqual(info.strings["CompanyName"], COMPANY)

    def test_asks_for_no_administrator_rights(self):
        root = ET.fromstring(pe_resources.manifest(self.path))
        levels = [e.get("level") for e in root.iter() if e.tag.endswith("}requestedExecutionLevel")]
        self.assertEqual(levels, ["asInvoker"])


if __name__ == "__main__":
    unittest.main()
