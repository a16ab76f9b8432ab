#!/usr/bin/env bash
# The viewer's figures for big databases, for each bitness this machine runs:
# ListLoad of a small database, and for 3000, 20000, 40000 and 65535 records
# the time until ListLoad returns, until the whole report is in the control or
# filling stopped for memory, the longest time one message of the host's loop
# took meanwhile, the bytes shown, and the process's memory (the free address
# space among it) at the end or the stop; then the suite's leak check soaked
# over a thousand open/close cycles. Printed, not asserted: the machine and
# Wine decide them.
#
#   tools/bench-viewer.sh [CROSS_BUILD_DIR...]    (default: build-win32 build-win64)
#   tools/bench-viewer.sh DIR -- "3000 65535"      (those sizes only, no soak)
#
# Each dir is a built cross build; its corvelle-host.exe runs the benchmark
# (tools/bench/bench-viewer.cpp) as its disabled test BenchViewer.DISABLED_Figures.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")

dirs=()
size=""
while [ $# -gt 0 ]; do
  if [ "$1" = "--" ]; then size=${2:-}; break; fi
  dirs+=("$1")
  shift
done
[ ${#dirs[@]} -eq 0 ] && dirs=("$root/build-win32" "$root/build-win64")

for dir in "${dirs[@]}"; do
  echo "== $dir"
  if [ ! -f "$dir/corvelle-host.exe" ]; then
    echo "   not built (tools/build.sh win32 win64)"
    continue
  fi
  # The 5 MB Mobipocket books (PalmDOC and HUFF/CDIC) the engine's benchmark
  # reads, for the Text page's first screen; Wine sees the Unix root as Z:.
  books=$(mktemp -d)
  /usr/bin/python3 "$root/tools/books/write-mobi-books.py" --bench 5 "$books" >/dev/null
  for kind in palmdoc huff; do mv "$books/bench-$kind.mobi" "$books/bench-$kind.prc"; done  # a name ListLoad takes
  bench_books="Z:${books//\//\\}\\bench-palmdoc.prc;Z:${books//\//\\}\\bench-huff.prc"
  # A benchmark of 65535 records runs far longer than a test may.
  CORVELLE_HOST_TEST_LIMIT_S=3600 CORVELLE_BENCH_BOOKS=$bench_books CORVELLE_BENCH_RECORDS=$size "$here/wine-test.sh" "$dir" \
    --gtest_also_run_disabled_tests \
    --gtest_filter=BenchViewer.DISABLED_Figures
  status=$?
  rm -rf "$books"
  # The leak check of the test suite, soaked: a thousand open/close cycles.
  [ $status -eq 0 ] && [ -z "$size" ] && CORVELLE_HOST_TEST_LIMIT_S=3600 CORVELLE_CYCLES=1000 "$here/wine-test.sh" "$dir" \
    --gtest_filter='Lifecycle.OpenAndClose*' | grep -E 'figures|OK|FAILED'
  case $status in
    0) ;;
    77) echo "   skipped: this machine cannot run programs of this bitness" ;;
    *) echo "   the benchmark failed (exit $status)" ;;
  esac
done
