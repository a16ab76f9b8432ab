#!/usr/bin/env bash
# Runs the zTXT and Plucker fuzzer for a bounded time, seeded with the committed books and with those
# ztxtplucker.py writes for fuzzing (offsets past the end, marks cut short; the committed ones hold the
# zlib bombs, a damaged record and tables that hold themselves).
# Usage: tools/books/fuzz-ztxt-plucker.sh FUZZER SECONDS
set -euo pipefail
fuzzer=$1
seconds=${2:-30}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus" "$work/seeds"
/usr/bin/python3 "$here/ztxtplucker.py" --seeds "$work/seeds"
# New inputs go to the first folder, so the committed books stay untouched.
"$fuzzer" -max_total_time="$seconds" -max_len=8192 -print_final_stats=1 "$work/corpus" "$work/seeds"
