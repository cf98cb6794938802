#!/usr/bin/env bash
# Creates a private 32-bit Wine prefix for tests at $1, set up as the tests need it:
# no z: drive (it maps the host's root), real user folders instead of links into $HOME,
# no crash dialog, and fonts that GDI+ can find. Never touches ~/.wine.
# With --keep-z the host's root stays reachable as z: (unit tests run programs from the
# build folder; they never let the installer choose a drive).
set -euo pipefail
keep_z=0
if [ "${1:-}" = "--keep-z" ]; then keep_z=1; shift; fi
prefix="$1"
if [ -f "$prefix/.mirel-ready" ]; then exit 0; fi
rm -rf "$prefix"
mkdir -p "$prefix"
export WINEARCH=win32 WINEPREFIX="$prefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mshtml=d;mscoree=d"
wineboot -i >/dev/null 2>&1 </dev/null
wineserver -w

[ "$keep_z" = 1 ] || rm -f "$prefix/dosdevices/z:"
user_dir="$prefix/drive_c/users/$(id -un)"
for link in "$user_dir"/*; do
  if [ -L "$link" ]; then
    rm -f "$link"
    mkdir -p "$link"
  fi
done
mkdir -p "$user_dir/Desktop" "$user_dir/Downloads" "$user_dir/Temp"

reg() { wine reg "$@" >/dev/null 2>&1 </dev/null; }
reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ /d 'Liberation Sans' /f
reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v 'Liberation Sans' \
    /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f
wineserver -w
touch "$prefix/.mirel-ready"
