#!/usr/bin/env bash
# Sets up the machine, builds MirelDownloader.exe and runs it once under Wine in a
# private prefix (build/demo-prefix), then shows its log.
# Usage: scripts/run.sh [build-dir]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/win32}"

"$root/scripts/setup.sh"
cmake --preset win32 -S "$root" -B "$build"
cmake --build "$build" --target MirelDownloader

prefix="$build/demo-prefix"
"$root/tests/wine/make-prefix.sh" "$prefix"
export WINEARCH=win32 WINEPREFIX="$prefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mshtml=d;mscoree=d"
user_dir="$prefix/drive_c/users/$(id -un)"
cp "$build/bin/MirelDownloader.exe" "$user_dir/Downloads/"
set +e
wine "C:\\users\\$(id -un)\\Downloads\\MirelDownloader.exe" </dev/null >"$build/demo-stdout.txt" 2>&1
code=$?
set -e
wineserver -w
log=$(ls -t "$user_dir/Temp/GameDownloadLog/"*.log | head -n 1)
echo "MirelDownloader exited with $code. Its log: $log"
cat "$log"
