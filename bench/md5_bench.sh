#!/usr/bin/env bash
# GetFileHexMd5 against md5sum over one file (default 1 GiB of random bytes), in one run.
# Usage: bench/md5_bench.sh BUILD_DIR [SIZE_MIB]
# Goal: at least 0.9 x md5sum's throughput, peak working set independent of the file size.
set -euo pipefail
build="$(cd "${1:?build dir}" && pwd)"
size_mib="${2:-1024}"
work="$(mktemp -d /tmp/md5-bench.XXXXXX)"
prefix="$work/prefix"
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tests/wine/make-prefix.sh" --keep-z "$prefix"
export WINEARCH=win32 WINEPREFIX="$prefix" WINEDEBUG=-all

file="$work/data.bin"
head -c "$((size_mib * 1024 * 1024))" /dev/urandom > "$file"
cat "$file" > /dev/null  # both readers start from the page cache

start=$(date +%s.%N)
expected=$(md5sum "$file" | cut -d' ' -f1)
end=$(date +%s.%N)
md5sum_mbps=$(echo "$size_mib * 1048576 / ($end - $start) / 1000000" | bc -l)

wine "$build/bin/md5_bench.exe" "Z:${file//\//\\}" > "$work/out.txt" 2>&1 </dev/null
tr -d '\r' < "$work/out.txt" > "$work/result.txt"
digest=$(awk '/^digest/ {print $2}' "$work/result.txt")
ours=$(awk '/^mb_per_s/ {print $2}' "$work/result.txt")

echo "file: $size_mib MiB"
echo "md5sum:        $(printf %.1f "$md5sum_mbps") MB/s"
echo "GetFileHexMd5: $ours MB/s (ratio $(printf %.2f "$(echo "$ours / $md5sum_mbps" | bc -l)"), goal >= 0.90)"
grep peak_ws "$work/result.txt"
if [ "$digest" = "$expected" ]; then echo "digests agree"; else echo "DIGESTS DIFFER: $digest vs $expected"; exit 1; fi
