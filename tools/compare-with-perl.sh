#!/usr/bin/env bash
# Whole-process speed of corvelle-dump against a Perl script that loads the
# same 60000-record database with Debian's Palm::PDB and prints its header and
# entry list. Usage: tools/compare-with-perl.sh [CORVELLE-DUMP] [RUNS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dump=${1:-$here/../build/corvelle-dump}
runs=${2:-5}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
db=$dir/perl-60000.pdb
perl "$here/perl/write-databases.pl" --records 60000 "$db"
echo "database: $(stat -c %s "$db") bytes, 60000 records (written by Palm::PDB)"

# Best of RUNS wall-clock times, in milliseconds.
best_ms() {
  local best=
  for _ in $(seq "$runs"); do
    local start end ms
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    ms=$(( (end - start) / 1000000 ))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$best"
}

ours=$(best_ms "$dump" "$db")
theirs=$(best_ms perl "$here/perl/print-database.pl" "$db")
echo "corvelle-dump:            ${ours} ms (report $("$dump" "$db" | wc -c) bytes)"
echo "Perl Palm::PDB + print:   ${theirs} ms"
if [ "$ours" -eq 0 ]; then ours=1; fi
echo "corvelle-dump is $(( theirs / ours ))x faster (best of $runs runs each)"
