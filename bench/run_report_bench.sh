#!/usr/bin/env bash
# Builds the report benchmark in Release and runs it on the dense benchmark network with 100
# random seeds at L = 2, unfiltered and with both filters. Usage: bench/run_report_bench.sh
# [BUILD_DIR] (default build/report-bench). Generates bench/data/dense-*.sig when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/report-bench}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DSEEDWEAVE_BENCH=ON > /dev/null
cmake --build "$build" -j 2 --target report_bench generate_network > /dev/null
[ -e bench/data/dense-1.sig ] || "$build/bench/generate_network" dense bench/data
data=(bench/data/dense-1.sig bench/data/dense-2.sig bench/data/dense-3.sig)
"$build/bench/report_bench" --seeds 100 --length 2 "${data[@]}"
"$build/bench/report_bench" --seeds 100 --length 2 --min-references 2 --max-load 100 "${data[@]}"
