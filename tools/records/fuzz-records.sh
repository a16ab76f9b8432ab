#!/usr/bin/env bash
# Runs the records or the export fuzzer for a bounded time, seeded with the samples and the Mail, Expense,
# Note Pad, Photos and JFile databases the writers beside this script make (cut notes, bombs, blocks missing
# and out of order among them). The export fuzzer takes its first byte as the database's kind: each seed gets
# the byte of its own kind in front.
# Usage: tools/records/fuzz-records.sh FUZZER SECONDS
set -euo pipefail
fuzzer=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
seconds=${2:-30}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus" "$work/written" "$work/seeds"
cd "$work/written"
/usr/bin/python3 "$here/write-expense-database.py" .
/usr/bin/python3 "$here/write-jfile-database.py" .
perl "$here/write-mail-database.pl" . >/dev/null
/usr/bin/python3 "$here/write-notepad-database.py" .
/usr/bin/python3 "$here/write-photos-databases.py" .
if [ "$(basename "$fuzzer")" = fuzz-export ]; then
  # The kinds' places in fuzz-export.cpp's table.
  for seed in mail:9 expense:10 notepad:11 jfile:12 album:13 missing:13; do
    { printf "\\$(printf %03o "${seed#*:}")"; cat "${seed%%:*}.pdb"; } >"$work/seeds/${seed%%:*}"
  done
else
  cp ./*.pdb "$work/seeds/"
fi
cd "$work"
"$fuzzer" -max_total_time="$seconds" -max_len=8192 -print_final_stats=1 "$work/corpus" "$work/seeds" "$here/../../samples"
