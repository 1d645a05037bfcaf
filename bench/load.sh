#!/usr/bin/env bash
# Load benchmark: how long seedweave takes to load, merge and tally a genome-scale network,
# against the time `wc -w` needs merely to read the same files, and how much memory it peaks
# at against the size of the files. Builds a Release binary in build-bench/ and generates the
# networks into bench/data/ when they are missing. Times are the best of three runs: wall time,
# and CPU time (user + system) as the figure that other work on the machine disturbs least.
# The load is also timed on one core (taskset -c 0), where reading and merging share it.
#
#   bash bench/load.sh                 # the dense network, then the sparse one
#   bash bench/load.sh dense large     # the dense one, then the large one (about 850 MB)
#
# BENCH_BUILD names another build folder to use instead of build-bench/; BASELINE names
# another seedweave binary, measured the same way for comparison.
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

# Wall seconds, CPU seconds and peak resident kilobytes of one run, stdin from /dev/null,
# output dropped. The run ends with status 1 for the missing answers, which time notes on a
# line of its own.
measure() {
  /usr/bin/time -o "$build/time.out" -f "%e %U %S %M" "$@" < /dev/null > /dev/null 2>&1 || true
  tail -n 1 "$build/time.out" | awk '{ print $1, $2 + $3, $4 }'
}

# The least wall time and the least CPU time of $runs runs, and the largest peak memory.
best_of() {
  local wall="" cpu="" rss=0 seconds cpuSeconds kilobytes
  for _ in $(seq "$runs"); do
    read -r seconds cpuSeconds kilobytes < <(measure "$@")
    if [[ -z "$wall" ]] || awk "BEGIN { exit !($seconds < $wall) }"; then wall=$seconds; fi
    if [[ -z "$cpu" ]] || awk "BEGIN { exit !($cpuSeconds < $cpu) }"; then cpu=$cpuSeconds; fi
    ((kilobytes > rss)) && rss=$kilobytes
  done
  echo "$wall $cpu $rss"
}

# One binary's figures on the files: loading on all cores and on one, against wc -w.
report_binary() {
  local label=$1 binary=$2 bytes=$3 words=$4 wordsCpu=$5
  shift 5
  local load loadCpu rss single singleCpu
  read -r load loadCpu rss < <(best_of "$binary" "$@")
  single="-" singleCpu="-"
  if command -v taskset > /dev/null; then
    read -r single singleCpu _ < <(best_of taskset -c 0 "$binary" "$@")
  fi
  awk -v p="$label" -v b="$bytes" -v l="$load" -v lc="$loadCpu" -v w="$words" -v wc="$wordsCpu" \
      -v r="$rss" -v s="$single" -v sc="$singleCpu" 'BEGIN {
    printf "  %s\n", p
    printf "    load           %6.2f s wall, %6.2f s CPU\n", l, lc
    printf "    load / wc -w   %6.2f wall, %.2f CPU   (target: at most 1.5)\n",
           (w > 0 ? l / w : 0), (wc > 0 ? lc / wc : 0)
    printf "    one core       %6s s wall, %6s s CPU\n", s, sc
    printf "    peak RSS       %6.1f MB = %.2f of the SIG size (target: at most 0.6)\n",
           r * 1024 / 1e6, r * 1024 / b
  }'
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
  local bytes words wordsCpu
  bytes=$(cat "${files[@]}" | wc -c)
  read -r words wordsCpu _ < <(best_of wc -w "${files[@]}")
  awk -v p="$profile" -v b="$bytes" -v w="$words" -v wc="$wordsCpu" 'BEGIN {
    printf "%s network: %.1f MB of SIG files; wc -w %.2f s wall, %.2f s CPU\n", p, b / 1e6, w, wc
  }'
  report_binary "seedweave" "$build/seedweave" "$bytes" "$words" "$wordsCpu" "${files[@]}"
  if [[ -n "${BASELINE:-}" ]]; then
    report_binary "baseline $BASELINE" "$BASELINE" "$bytes" "$words" "$wordsCpu" "${files[@]}"
  fi
}

profiles=("$@")
[[ ${#profiles[@]} -gt 0 ]] || profiles=(dense sparse)
for profile in "${profiles[@]}"; do report "$profile"; done
