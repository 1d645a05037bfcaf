#!/usr/bin/env bash
# Scale benchmark: whole scripted runs of seedweave (load, dialogue, search, result files) on
# networks and seed sets where the cost of a seed pair or of per-seed state could grow with
# hub degree or with seeds × nodes. For each case it prints the wall time of the whole run and
# its CPU time (user + system) and its peak resident memory, beside the same figures for
# merely loading the files. Standard output goes to /dev/null, result files to a scratch
# folder. Builds a Release binary in build-bench/ and generates the networks into bench/data/
# when they are missing.
#
#   bash bench/scale.sh [RUNS] [TIME_LIMIT_S]      # defaults: 3 runs, 600 s per run
#
# BENCH_BUILD names another build folder to use instead of build-bench/; BENCH_BINARY another
# seedweave binary to time (an older build, say), the seeds still picked by this build.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BENCH_BUILD:-$root/build-bench}"
data="$root/bench/data"
runs=${1:-3}
limit=${2:-600}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

if [[ ! -x /usr/bin/time ]]; then
  echo "bench/scale.sh needs /usr/bin/time (Debian package: time)" >&2
  exit 1
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DSEEDWEAVE_BENCH=ON > /dev/null
cmake --build "$build" -j2 --target seedweave generate_network search_bench > /dev/null

# generate NAME ARGS...: the generator's files for NAME, made when the first is missing.
generate() {
  local first=$1
  shift
  [[ -s "$data/$first" ]] || "$build/bench/generate_network" "$@" "$data" > /dev/null
}

binary="${BENCH_BINARY:-$build/seedweave}"

# Wall seconds, CPU seconds and peak resident kilobytes of one run in the scratch folder,
# stdin from $1, output dropped; ">LIMIT" seconds when the run was stopped.
measure() {
  local answers=$1
  shift
  # A run that only loads ends with status 1 (its input ends before the dialogue does).
  local status=0
  (cd "$scratch" && timeout "$limit" /usr/bin/time -o "$scratch/time.out" -f "%e %U %S %M" \
    "$binary" "$@" < "$answers" > /dev/null 2>&1) || status=$?
  if ((status == 124)); then
    echo ">$limit - -"
  else
    awk '!/status/ { printf "%s %.2f %s\n", $1, $2 + $3, $4 }' "$scratch/time.out"
  fi
}

# case TITLE LENGTH SEED-CHOICE FILES...: seeds picked by search_bench, then $runs runs.
case_() {
  local title=$1 length=$2 choice=$3
  shift 3
  local -a choose
  read -r -a choose <<< "$choice"
  "$build/bench/search_bench" --list-seeds --length "$length" "${choose[@]}" "$@" \
    > "$scratch/seeds.txt"
  printf '%s\nn\nn\nn\n%s\n.\nscale\nn\n' "$length" "$scratch/seeds.txt" > "$scratch/answers"
  local loadWall loadCpu loadRss seconds cpu kilobytes times=""
  read -r loadWall loadCpu loadRss < <(measure /dev/null "$@")
  for _ in $(seq "$runs"); do
    read -r seconds cpu kilobytes < <(measure "$scratch/answers" "$@")
    times+=" $seconds/$cpu"
  done
  printf '%s\n  run times, wall/CPU (s):%s\n' "$title" "$times"
  printf '  peak RSS %s MB; loading alone %s s wall, %s s CPU, %s MB\n' \
    "$([[ $kilobytes == - ]] && echo - || echo $((kilobytes / 1024)))" "$loadWall" "$loadCpu" \
    "$((loadRss / 1024))"
}

generate star-200000.sig star 200000
generate dense-1.sig dense
generate large-200000-1000000-1.sig large 200000 1000000
large=("$data/large-200000-1000000-1.sig" "$data/large-200000-1000000-2.sig"
       "$data/large-200000-1000000-3.sig")

case_ "star, 200,000 leaves, 2,000 leaf seeds, L = 2" 2 "--seeds 2000 --partners" \
  "$data/star-200000.sig"
case_ "dense network, 20 module seeds, L = 3" 3 "--seeds 20 --module" \
  "$data/dense-1.sig" "$data/dense-2.sig" "$data/dense-3.sig"
case_ "200,000 nodes and 1,000,000 pairs, 2,000 random seeds, L = 2" 2 "--seeds 2000" \
  "${large[@]}"
