#!/usr/bin/env bash
# Times FolderSize on a tree of 100,000 small files against a bare walk with
# the system's search functions (inside the benchmark) and against `du -sb`
# run natively on the same tree, and prints both ratios. The tree is made on
# the first run under the build folder and kept.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${TAVRIK_BUILD:-$ROOT/build}
TREE=$BUILD/bench-tmp/folder-size-tree
mkdir -p "$(dirname "$TREE")"
# Wine's drive Z: is the root of the Linux file system.
WINDOWS_TREE="Z:${TREE//\//\\}"

output=$("$ROOT/cmake/wine-run.sh" "$BUILD/bench/folder_size_bench.exe" "$WINDOWS_TREE")
echo "$output"
folder_size_ms=$(sed -n 's/^FolderSize ms: //p' <<<"$output")

du -sb "$TREE" >/dev/null  # the same warm caches as the benchmark's first walk
du_times=()
for _ in 1 2 3 4 5; do
  start=$(date +%s%N)
  du -sb "$TREE" >/dev/null
  du_times+=($(( ($(date +%s%N) - start) / 1000 )))
done
du_ms=$(printf '%s\n' "${du_times[@]}" | sort -n | sed -n 3p | awk '{printf "%.1f", $1 / 1000}')
echo "du -sb ms: $du_ms"
awk -v f="$folder_size_ms" -v d="$du_ms" \
  'BEGIN { printf "FolderSize under Wine / native du -sb: %.2f\n", f / d }'
