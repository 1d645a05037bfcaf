#!/usr/bin/env bash
# Times the subnetwork construction on the two benchmark networks: 5 and 20 random seeds and
# 5 module seeds at L = 2 to 6, the fast construction and then the literal one, each stopped
# after a time limit ("> N s"). Standard output of the construction is counted and dropped.
#
#   bench/search.sh [BUILD_DIR] [LITERAL_LIMIT_S] [FAST_LIMIT_S]
#
# Defaults: build-search-bench, 60, 600. Generates bench/data/*.sig when missing. Extra
# settings for every run (for example the filters) can be passed in SEARCH_BENCH_ARGS:
#   SEARCH_BENCH_ARGS="--min-references 2 --max-load 100" bench/search.sh
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-search-bench}
literalLimit=${2:-60}
fastLimit=${3:-600}
read -r -a extra <<< "${SEARCH_BENCH_ARGS:-}"

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DSEEDWEAVE_BENCH=ON > /dev/null
cmake --build "$build" -j 2 --target search_bench generate_network > /dev/null
for profile in dense sparse; do
  [ -e "bench/data/$profile-1.sig" ] || "$build/bench/generate_network" "$profile" bench/data
done

for profile in dense sparse; do
  files=("bench/data/$profile-1.sig" "bench/data/$profile-2.sig" "bench/data/$profile-3.sig")
  echo "== $profile"
  for seeds in "--seeds 5" "--seeds 20" "--seeds 5 --module"; do
    for length in 2 3 4 5 6; do
      read -r -a chosen <<< "$seeds"
      "$build/bench/search_bench" --length "$length" "${chosen[@]}" "${extra[@]}" \
        --time-limit "$fastLimit" "${files[@]}"
      "$build/bench/search_bench" --length "$length" "${chosen[@]}" "${extra[@]}" --reference \
        --time-limit "$literalLimit" "${files[@]}"
    done
  done
done
