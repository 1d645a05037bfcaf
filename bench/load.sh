#!/usr/bin/env bash
# Load benchmark: how long seedweave takes to load, merge and tally a genome-scale network,
# against the time `wc -w` needs merely to read the same files, and how much memory it peaks
# at against the size of the files. Builds a Release binary in build-bench/ and generates the
# networks into bench/data/ when they are missing. Times are the best of three runs.
#
#   bash bench/load.sh                 # the dense network, then the sparse one
#   bash bench/load.sh dense large     # the dense one, then the large one (about 850 MB)
#
# BENCH_BUILD names another build folder to use instead of build-bench/.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BENCH_BUILD:-$root/build-bench}"
data="$root/bench/data"
runs=3

if [[ ! -x /usr/bin/time ]]; then
  echo "bench/load.sh needs /usr/bin/time (Debian package: time)" >&2
  exit 1
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DSEEDWEAVE_BENCH=ON > /dev/null
cmake --build "$build" -j2 --target seedweave generate_network > /dev/null

# Wall seconds and peak resident kilobytes of one run, stdin from /dev/null, output dropped.
# The run ends with status 1 for the missing answers, which time notes on a line of its own.
measure() {
  /usr/bin/time -o "$build/time.out" -f "%e %M" "$@" < /dev/null > /dev/null || true
  tail -n 1 "$build/time.out"
}

# The least wall time of $runs runs, and the peak memory of the last.
best_of() {
  local best="" seconds kilobytes
  for _ in $(seq "$runs"); do
    read -r seconds kilobytes < <(measure "$@")
    if [[ -z "$best" ]] || awk "BEGIN { exit !($seconds < $best) }"; then best=$seconds; fi
  done
  echo "$best $kilobytes"
}

# The generator's arguments for a profile; "large" is 20,000 genes and 6 million pairs.
generator_arguments() {
  case $1 in
    large) echo "large 20000 6000000" ;;
    *) echo "$1" ;;
  esac
}

report() {
  local profile=$1
  local -a arguments
  read -r -a arguments <<< "$(generator_arguments "$profile")"
  local stem=${arguments[*]}
  stem=${stem// /-}
  local files=("$data/$stem-1.sig" "$data/$stem-2.sig" "$data/$stem-3.sig")
  if [[ ! -s "${files[2]}" ]]; then
    echo "Generating the $profile network into bench/data ..."
    "$build/bench/generate_network" "${arguments[@]}" "$data"
  fi
  local bytes load rss words
  bytes=$(cat "${files[@]}" | wc -c)
  read -r load rss < <(best_of "$build/seedweave" "${files[@]}")
  read -r words _ < <(best_of wc -w "${files[@]}")
  awk -v p="$profile" -v b="$bytes" -v l="$load" -v w="$words" -v r="$rss" 'BEGIN {
    printf "%s network: %.1f MB of SIG files\n", p, b / 1e6
    printf "  load time      %6.2f s\n", l
    printf "  wc -w time     %6.2f s\n", w
    printf "  load / wc -w   %6.2f   (target: at most 1.5)\n", (w > 0 ? l / w : 0)
    printf "  peak RSS       %6.1f MB = %.2f of the SIG size (target: at most 0.6)\n",
           r * 1024 / 1e6, r * 1024 / b
  }'
}

profiles=("$@")
[[ ${#profiles[@]} -gt 0 ]] || profiles=(dense sparse)
for profile in "${profiles[@]}"; do report "$profile"; done
