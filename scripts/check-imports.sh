#!/usr/bin/env bash
# Fails unless the executable loads only DLLs that Windows itself ships, and binds the HID,
# device-setup and session services at run time rather than at load time.
set -euo pipefail
exe="${1:?usage: check-imports.sh PROGRAM.exe}"
objdump="${OBJDUMP:-x86_64-w64-mingw32-objdump}"

allowed='^(kernel32|user32|gdi32|advapi32|shell32|comctl32|comdlg32|ole32|oleaut32|winmm|msvcrt|ntdll|version|shlwapi|uxtheme|imm32)\.dll$'
status=0
dlls=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$dlls" ] || { echo "no import table found in $exe"; exit 1; }
for dll in $dlls; do
  if ! [[ "$dll" =~ $allowed ]]; then
    echo "not a DLL that Windows ships or must be bound at run time: $dll"
    status=1
  fi
done
echo "$(basename "$exe") imports: $(echo $dlls)"
exit $status
