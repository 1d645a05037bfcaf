#!/usr/bin/env bash
# Runs seedweave on the bundled example network. Usage: examples/run.sh PATH-TO-BINARY
set -euo pipefail
binary=$(realpath "$1")
cd "$(dirname "$0")"
"$binary" alpha.sig beta.sig gamma.sig
