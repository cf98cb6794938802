#!/usr/bin/env bash
# Installs everything a fresh Debian 12 machine needs to build and test MirelDownloader:
# the mingw-w64 cross compiler, Wine (32-bit), Xvfb and fonts, the test servers, and the
# Debian sources of the libraries that have no mingw build. Safe to run again.
set -euo pipefail

SRC_CACHE="${MIREL_DEPS_DIR:-/var/cache/mireldownloader/deps}"

need_root() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup.sh: run as root (apt-get is needed)" >&2
    exit 1
  fi
}

PACKAGES=(
  cmake ninja-build make pkg-config dpkg-dev
  g++-mingw-w64-i686-posix mingw-w64-tools binutils-mingw-w64-i686
  wine wine32:i386 xvfb xdotool imagemagick xauth
  fonts-liberation fonts-wqy-microhei
  nlohmann-json3-dev googletest
  python3 python3-pytest
  nginx-light openssl osslsigncode curl e2fsprogs
)

missing_packages() {
  local p
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

enable_deb_src() {
  # Add deb-src lines for the mirror this machine already uses (deb822 or one-line format).
  local f
  for f in /etc/apt/sources.list.d/debian.sources /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    grep -q 'deb.debian.org\|debian' "$f" || continue
    if ! grep -q '^Types:.*deb-src' "$f"; then
      sed -i 's/^Types: deb$/Types: deb deb-src/' "$f"
      APT_CHANGED=1
    fi
  done
  if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list \
     && ! grep -q '^deb-src ' /etc/apt/sources.list; then
    grep '^deb ' /etc/apt/sources.list | grep -v 'cloud.google\|nodesource' \
      | sed 's/^deb /deb-src /' >> /etc/apt/sources.list
    APT_CHANGED=1
  fi
}

fetch_source() {
  # $1 = source package; unpacked once into $SRC_CACHE/<name>-<version>.
  local name="$1"
  if ls -d "$SRC_CACHE/$name"-*/ >/dev/null 2>&1; then
    return
  fi
  mkdir -p "$SRC_CACHE"
  # The main suite's version: the security pool may not carry the source.
  local version
  version=$(apt-cache showsrc "$name" | awk '/^Version:/{print $2}' | sort -V | head -n 1)
  (cd "$SRC_CACHE" && apt-get source --download-only "$name=$version" >/dev/null \
     && dpkg-source -x --skip-patches "$(ls ${name}_*.dsc | head -n 1)" >/dev/null)
  rm -f "$SRC_CACHE"/*.tar.* "$SRC_CACHE"/*.dsc "$SRC_CACHE"/*.diff.gz
}

main() {
  need_root
  APT_CHANGED=0
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    APT_CHANGED=1
  fi
  enable_deb_src
  local missing
  missing=$(missing_packages)
  if [ -n "$missing" ] || [ "$APT_CHANGED" = 1 ] || ! apt-cache showsrc zlib >/dev/null 2>&1 \
     || [ -z "$(apt-cache showsrc pugixml 2>/dev/null)" ]; then
    apt-get update -q
  fi
  missing=$(missing_packages)
  if [ -n "$missing" ]; then
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
  fi
  fetch_source pugixml
  fetch_source zlib
  echo "setup.sh: ready (dependency sources in $SRC_CACHE)"
}

main "$@"
