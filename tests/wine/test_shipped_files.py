"""What ships: the programs without their debug data, each linked to a debug file kept in the
build tree, the installer's stage holding exactly those programs and the user guide, and the
sizes (no Wine needed)."""
import os
import struct
import subprocess
import unittest
import zlib

PROGRAMS = ("handsetlink.exe", "trayconsole.exe")
PROGRAM_LIMIT = 700_000
INSTALLER_LIMIT = 600_000


def sections(path):
    """{name: (size, file offset)} as objdump lists the file's sections."""
    out = subprocess.run([os.environ.get("OBJDUMP", "objdump"), "-h", path],
                         check=True, capture_output=True, text=True).stdout
    found = {}
    for line in out.splitlines():
        fields = line.split()
        # "  0 .text  0001a2b4  00401000  00401000  00000400  2**4"
        if len(fields) >= 7 and fields[0].isdigit():
            found[fields[1]] = (int(fields[2], 16), int(fields[5], 16))
    return found


def debuglink(path):
    """(file name, CRC-32) that the program's .gnu_debuglink names."""
    size, offset = sections(path)[".gnu_debuglink"]
    with open(path, "rb") as f:
        f.seek(offset)
        data = f.read(size)
    name = data[:data.index(b"\0")].decode()
    crc, = struct.unpack_from("<I", data, size - 4)
    return name, crc


class ShippedPrograms(unittest.TestCase):
    def setUp(self):
        self.folder = os.environ["SHIPPED_DIR"]

    def test_carry_no_debug_data_but_name_their_debug_file(self):
        for program in PROGRAMS:
            with self.subTest(program=program):
                path = os.path.join(self.folder, program)
                self.assertEqual([s for s in sections(path) if s.startswith(".debug")], [])
                name, crc = debuglink(path)
                self.assertEqual(name, program + ".debug")
                debug_file = os.path.join(self.folder, name)
                with open(debug_file, "rb") as f:
                    self.assertEqual(zlib.crc32(f.read()), crc, "the debug file is not the program's")
                self.assertIn(".debug_info", sections(debug_file))

    def test_each_is_under_700_kb(self):
        for program in PROGRAMS:
            size = os.path.getsize(os.path.join(self.folder, program))
            self.assertLess(size, PROGRAM_LIMIT, f"{program}: {size} bytes")


@unittest.skipUnless(os.environ.get("INSTALLER_EXE"), "no installer in this build")
class Installer(unittest.TestCase):
    def test_its_stage_holds_exactly_the_shipped_programs_and_the_guide(self):
        stage = os.environ["INSTALLER_STAGE"]
        self.assertEqual(sorted(os.listdir(stage)), sorted(["User Guide.txt", *PROGRAMS]))
        for program in PROGRAMS:
            with open(os.path.join(stage, program), "rb") as staged, \
                    open(os.path.join(os.environ["SHIPPED_DIR"], program), "rb") as shipped:
                self.assertTrue(staged.read() == shipped.read(), f"{program} is not the shipped one")

    def test_is_under_600_kb(self):
        size = os.path.getsize(os.environ["INSTALLER_EXE"])
        self.assertLess(size, INSTALLER_LIMIT, f"{size} bytes")


if __name__ == "__main__":
    unittest.main()
