#!/usr/bin/env bash
# Runs the main job on the bundled example network with the scripted answers of
# session.txt (path length 3, no filters, cliques saved, seeds SWG01 and those of
# seeds.txt, subnetwork "example", report on). Results go to examples/results/.
# Usage: examples/run.sh PATH-TO-SEEDWEAVE
set -euo pipefail
binary=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$here/results"
mkdir -p "$here/results"
cd "$here/results"
"$binary" ../alpha.sig ../beta.sig ../gamma.sig < ../session.txt
echo
echo "Result files in $here/results:"
ls -1 "$here/results"
