#!/usr/bin/env bash
# Builds the installers into build/installer/: one for 64-bit Windows (x64) and one for 32-bit
# Windows (i686), each holding that build's two programs. Each Windows build tree makes its
# own with its `installer` target (installer/CMakeLists.txt runs makensis on
# installer/handset.nsi); this builds the trees and gathers the two files.
#   scripts/build-installer.sh [x64|i686|all]      default all
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
command -v makensis >/dev/null || "$top/scripts/setup.sh"

what="${1:-all}"
case "$what" in
  x64|i686) arches=("$what") ;;
  all) arches=(x64 i686) ;;
  *) echo "usage: build-installer.sh [x64|i686|all]" >&2; exit 2 ;;
esac

mkdir -p "$top/build/installer"
for arch in "${arches[@]}"; do
  "$top/scripts/build.sh" "$arch"
  found=("$top/build/$arch/installer/"*-"$arch"-setup.exe)
  [ -f "${found[0]}" ] || { echo "no installer was built in build/$arch/installer" >&2; exit 1; }
  cp "${found[@]}" "$top/build/installer/"
done
ls -l "$top/build/installer/"
