#!/usr/bin/env bash
# The whole test run: set up the machine, build the win32 preset, run the unit tests
# (ctest, through Wine) and the end-to-end tests (pytest, the real exe under Wine).
# Usage: scripts/test.sh [build-dir]   (default build/win32)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/win32}"

"$root/scripts/setup.sh"
cmake --preset win32 -S "$root" -B "$build" -DMIREL_LIST_SERVER=localhost:28443 \
      -DMIREL_LIST_FALLBACK_SERVER=localhost:28444 -DMIREL_REPORT_SERVER=localhost:28445
cmake --build "$build"
if [ -f "$root/tools/CMakeLists.txt" ]; then
  cmake --preset host -S "$root" -B "$build-host" && cmake --build "$build-host"
fi

(cd "$build" && ctest --output-on-failure -j2)
MIREL_BUILD_DIR="$build" MIREL_HOST_BUILD_DIR="$build-host" \
  /usr/bin/python3 -m pytest -q -p no:cacheprovider "$root/tests/e2e"
