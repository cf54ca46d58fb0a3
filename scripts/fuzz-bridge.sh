#!/usr/bin/env bash
# Builds the bridge logic's fuzz target with clang (libFuzzer, ASan, UBSan) and runs it.
#   scripts/fuzz-bridge.sh [seconds]        default 60
# Build tree and corpus live outside the repository: $FUZZ_DIR, /tmp/bridge-fuzz by default.
# Crashing inputs land in $FUZZ_DIR/artifacts.
set -euo pipefail

seconds="${1:-60}"
repo="$(cd "$(dirname "$0")/.." && pwd)"
work="${FUZZ_DIR:-/tmp/bridge-fuzz}"
cxx="${CXX_FUZZ:-clang++}"

mkdir -p "$work/corpus" "$work/artifacts"
cmake -S "$repo/tests/fuzz" -B "$work/build" -DCMAKE_CXX_COMPILER="$cxx" >/dev/null
cmake --build "$work/build" -j"$(nproc)"

# A few whole calls to start from, when the corpus is new. Operation bytes: 2 = text with a
# known start, 3 = key, 5 = timer tick, 6 = deliver posted queries, 7 = attach (0 = Skype).
if [ -z "$(ls -A "$work/corpus")" ]; then
  printf '\x01\x01\x07\x00\x02\x01RINGING\x00\x06\x02\x02INCOMING_P2P\x00\x05\x06\x03\x1b\x02\x01INPROGRESS\x00\x03\x16\x02\x04\x00' >"$work/corpus/incoming"
  printf '\x01\x01\x07\x00\x03\x23\x03\x1c\x03\x1e\x03\xf1\x03\xe0\x03\x1b\x02\x02OUTGOING_PSTN\x00\x05\x06' >"$work/corpus/outgoing"
  printf '\x01\x01\x07\x80\x07\x00\x02\x0eUSB Audio Device\x00\x02\x0fUSB PHONE\x00\x05\x03\x1a\x03\x00' >"$work/corpus/panel"
fi

exec "$work/build/bridge_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -dict="$repo/tests/fuzz/bridge.dict" -artifact_prefix="$work/artifacts/" -print_final_stats=1 \
  "$work/corpus"
