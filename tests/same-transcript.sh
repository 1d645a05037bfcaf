#!/usr/bin/env bash
# Runs the example session, piped, through two seedweave binaries (one built with line
# editing, one without) and fails unless both print the same bytes on standard output and
# standard error and write the same subnetwork and clique files. Both run in the same
# folder, since standard error names it.
# Usage: tests/same-transcript.sh SEEDWEAVE-A SEEDWEAVE-B
set -euo pipefail
examples=$(cd "$(dirname "$0")/../examples" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp "$examples/seeds.txt" "$scratch/"
side=0
for binary in "$1" "$2"; do
  binary=$(realpath "$binary")
  side=$((side + 1))
  mkdir "$scratch/run"
  (cd "$scratch/run" &&
    timeout 120 "$binary" "$examples/alpha.sig" "$examples/beta.sig" "$examples/gamma.sig" \
      < "$examples/session.txt" > transcript 2> errors)
  # The report's clustering is random; every other file must match.
  rm -f "$scratch/run/"*_stats.txt
  mv "$scratch/run" "$scratch/$side"
done
diff -r "$scratch/1" "$scratch/2"
echo "Piped session: same transcript and files from $1 and $2"
