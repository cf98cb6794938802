#!/usr/bin/env bash
# Makes the unit-test prefix and starts its wineserver with output away from ctest's
# pipes: services started by the first wine call inherit the caller's output, and ctest
# would wait for them to exit.
set -euo pipefail
prefix="$1"
"$(dirname "$0")/make-prefix.sh" --keep-z "$prefix"
export WINEARCH=win32 WINEPREFIX="$prefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mshtml=d;mscoree=d"
wineserver -p >/dev/null 2>&1 </dev/null
wine cmd /c exit 0 >/dev/null 2>&1 </dev/null
