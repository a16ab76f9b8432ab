#!/usr/bin/env bash
# Writes databases with Debian's Palm::PDB and checks corvelle-dump's report
# of them entry by entry against what Palm::PDB reads back.
# Usage: tools/perl/check-perl-databases.sh CORVELLE-DUMP
set -euo pipefail
here=$(dirname "$0")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
perl "$here/write-databases.pl" "$dir"
status=0
for file in "$dir/records.pdb" "$dir/resources.prc"; do
  perl "$here/compare-report.pl" "$1" "$file" || status=1
done
exit $status
