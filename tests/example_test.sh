#!/usr/bin/env bash
# Runs examples/run.sh on a copy of the bundled example and compares its standard output and
# every result file with examples/expected/, byte for byte. The clustering blocks (from "K=2")
# of the statistics report come from random moves and are left out of the comparison.
# Usage: tests/example_test.sh PATH-TO-SEEDWEAVE [--update]
set -euo pipefail
binary=$(realpath "$1")
source=$(cd "$(dirname "$0")/../examples" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$source" "$work/examples"
rm -rf "$work/examples/expected" "$work/examples/results"
"$work/examples/run.sh" "$binary" | sed "s|$work/||" > "$work/stdout.txt"
mv "$work/stdout.txt" "$work/examples/results/stdout.txt"
for stats in "$work"/examples/results/*_stats.txt; do
  sed -i '/^K=2$/,$d' "$stats"
done
if [[ "${2:-}" == --update ]]; then
  rm -rf "$source/expected"
  cp -r "$work/examples/results" "$source/expected"
fi
diff -r "$source/expected" "$work/examples/results"
