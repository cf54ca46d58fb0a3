#!/usr/bin/env python3
"""Fails unless a Windows program loads where it must.

Always: it loads only DLLs that Windows itself ships, and binds the HID, device-setup and
session services at run time rather than at load time.
With --oldest WINDOWS (xp-sp3, win7-sp1): its subsystem version is one that Windows accepts,
and every function it imports is one that Windows' system DLLs export, by the list in
scripts/windows-exports.txt (each function with the first Windows that has it).

  check_imports.py [--objdump OBJDUMP] [--oldest WINDOWS] PROGRAM.exe"""
import argparse
import os
import re
import subprocess
import sys

SYSTEM_DLLS = {"kernel32", "user32", "gdi32", "advapi32", "shell32", "comctl32", "comdlg32", "ole32",
               "oleaut32", "winmm", "msvcrt", "ntdll", "version", "shlwapi", "uxtheme", "imm32"}
# Windows versions from the oldest, as the list names them.
RELEASES = ["xp", "xp-sp2", "xp-sp3", "vista", "7", "8", "10"]
# What each supported oldest Windows is in that order, and the subsystem version it loads.
OLDEST = {"xp-sp3": ("xp-sp3", (5, 1)), "win7-sp1": ("7", (6, 1))}
EXPORTS_LIST = os.path.join(os.path.dirname(os.path.abspath(__file__)), "windows-exports.txt")


def read_exports_list(path=EXPORTS_LIST):
    """{(dll, function): first release} from the list; '#' starts a comment."""
    exports = {}
    with open(path) as f:
        for number, line in enumerate(f, 1):
            fields = line.split("#", 1)[0].split()
            if not fields:
                continue
            if len(fields) != 3 or fields[2] not in RELEASES:
                raise SystemExit(f"{path}:{number}: want 'dll function release', release one of {RELEASES}")
            exports[(fields[0].lower(), fields[1])] = fields[2]
    return exports


def read_program(objdump, exe):
    """(subsystem version, [(dll, function)]) as objdump reads the program's headers."""
    text = subprocess.run([objdump, "-p", exe], check=True, capture_output=True, text=True).stdout
    major = re.search(r"^MajorSubsystemVersion\s+(\d+)", text, re.M)
    minor = re.search(r"^MinorSubsystemVersion\s+(\d+)", text, re.M)
    imports = []
    dll = None
    for line in text.splitlines():
        named = re.match(r"\s*DLL Name: (\S+)", line)
        if named:
            dll = named.group(1).lower()
            continue
        # "\t<thunk>\t  <hint>  <name>" by name, "\t<thunk>\t<ordinal>" (no name) by ordinal.
        entry = re.match(r"\t[0-9a-f]+\t\s*(\d+)(?:\s+(\S+))?\s*$", line)
        if dll and entry:
            imports.append((dll, entry.group(2) or f"#{entry.group(1)}"))
        elif line and not line[0].isspace():
            dll = None  # the next part of the dump
    version = (int(major.group(1)), int(minor.group(1))) if major and minor else None
    return version, imports


def problems(version, imports, oldest=None, exports=None):
    """What keeps the program from loading: one text for each fault, none when it loads."""
    found = []
    dlls = sorted({dll for dll, _ in imports})
    if not dlls:
        found.append("no import table found")
    for dll in dlls:
        if dll.removesuffix(".dll") not in SYSTEM_DLLS:
            found.append(f"not a DLL that Windows ships or must be bound at run time: {dll}")
    if oldest is None:
        return found
    release, subsystem = OLDEST[oldest]
    if version is None or version > subsystem:
        found.append(f"subsystem version {version} is newer than {oldest}'s {subsystem}: its loader refuses it")
    newest = RELEASES.index(release)
    for dll, function in sorted(set(imports)):
        first = exports.get((dll, function))
        if first is None:
            found.append(f"{dll} {function}: not in {os.path.basename(EXPORTS_LIST)}; "
                         f"add it with the first Windows that has it")
        elif RELEASES.index(first) > newest:
            found.append(f"{dll} {function}: first in Windows {first}, newer than {oldest}; bind it at run time")
    return found


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--objdump", default=os.environ.get("OBJDUMP", "x86_64-w64-mingw32-objdump"))
    parser.add_argument("--oldest", choices=sorted(OLDEST))
    parser.add_argument("exe")
    args = parser.parse_args()
    version, imports = read_program(args.objdump, args.exe)
    exports = read_exports_list() if args.oldest else None
    found = problems(version, imports, args.oldest, exports)
    name = os.path.basename(args.exe)
    for problem in found:
        print(f"{name}: {problem}")
    print(f"{name}: {len(imports)} imports from {', '.join(sorted({d for d, _ in imports}))}"
          + (f"; subsystem {version[0]}.{version[1]:02d}" if version else ""))
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
