#!/usr/bin/env bash
# Builds into build/: native/ (logic and unit tests), asan/ (the same under AddressSanitizer
# and UBSan), x64/ (the Windows programs, simulators, installer and the unit tests as Windows
# programs), i686/ (the 32-bit programs and installer) and bench/ (the native benchmarks,
# optimised; `all` leaves it out). TARGETS limits any build to some targets.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
jobs="${JOBS:-$(nproc)}"
# ccache, where present, lets checkouts of this tree share what they compiled.
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$top}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-true}"
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

configure_and_build() {
  local dir="$1"; shift
  cmake -S "$top" -B "$top/build/$dir" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "${launcher[@]}" "$@" >/dev/null
  cmake --build "$top/build/$dir" -j "$jobs" ${TARGETS:+--target $TARGETS}
}

what="${1:-all}"
case "$what" in
  native) configure_and_build native ;;
  asan) configure_and_build asan -DHANDSET_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug ;;
  x64) configure_and_build x64 -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" ;;
  # The tests run the 64-bit build; the 32-bit one is what ships: the programs and the installer.
  i686) TARGETS="${TARGETS:-handsetlink trayconsole installer}" \
          configure_and_build i686 -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-i686.cmake" ;;
  # The benchmarks' own optimised tree, so that they never change the test trees' build type.
  bench) BUILD_TYPE=Release TARGETS="${TARGETS:-bridge_notifications_bench}" configure_and_build bench ;;
  all) for d in native asan x64 i686; do "$0" "$d"; done ;;
  *) echo "usage: build.sh [native|asan|x64|i686|bench|all]" >&2; exit 2 ;;
esac
