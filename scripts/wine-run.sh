#!/usr/bin/env bash
# Runs a Windows program under Wine in $WINEPREFIX (the build tree's prefix by default).
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/wine-env.sh"
exec wine64 "$@"
