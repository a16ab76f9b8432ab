#!/usr/bin/env bash
# Fuzzes the Mobipocket reader for a bounded time, seeded with every book the checks use (whole, and
# as records around which the target writes record 0), the damaged ones included: loops and bombs
# in the dictionary, offsets past the end.
# Usage: tools/books/fuzz-mobipocket.sh FUZZER SECONDS
set -euo pipefail
fuzzer=$1
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
corpus=$(mktemp -d)
seeds=$(mktemp -d)
trap 'rm -rf "$corpus" "$seeds"' EXIT
/usr/bin/python3 "$here/write-mobi-books.py" --seeds "$seeds"
# New inputs go to the first folder, so the seeds stay as written. Books are larger than a record.
"$fuzzer" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=1024 -print_final_stats=1 "$corpus" "$seeds"
