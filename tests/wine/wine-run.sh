#!/usr/bin/env bash
# ctest's emulator: runs a Windows test program in the build's private Wine prefix.
# The prefix is made by the wine_prefix fixture test (make-prefix.sh) before any test runs.
set -u
: "${MIREL_WINE_PREFIX:?MIREL_WINE_PREFIX is not set (ctest sets it for every test)}"
export WINEARCH=win32 WINEPREFIX="$MIREL_WINE_PREFIX" WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mshtml=d;mscoree=d"
exec wine "$@" </dev/null
