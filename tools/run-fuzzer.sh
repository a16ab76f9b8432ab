#!/usr/bin/env bash
# Runs the report fuzzer for a bounded time, seeded with the bundled samples
# and any further folders given.
# Usage: tools/run-fuzzer.sh FUZZER SECONDS [SEED-FOLDER...]
set -euo pipefail
fuzzer=$1
seconds=${2:-60}
here=$(cd "$(dirname "$0")/.." && pwd)
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
# New inputs go to the first folder, so the committed samples stay untouched.
"$fuzzer" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 "$corpus" "$here/samples" "${@:3}"
