#!/usr/bin/env bash
# Runs the Win32 test host of a cross build under Wine on a virtual display.
#
#   tools/wine-test.sh <cross-build-dir> [corvelle-host / gtest arguments]
#
# The host (<dir>/corvelle-host.exe) loads the module of the same build
# (Corvelle.wlx or Corvelle.wlx64 beside it). Wine runs in a prefix of its own
# inside the build dir, created on first use; one 64-bit prefix serves both
# 32- and 64-bit programs. Exits with the host's exit code; 77 when this
# machine cannot run the program at all (no 32-bit loader), so that the test
# runner reports it as skipped rather than passed.
set -euo pipefail

if [ $# -lt 1 ]; then
  echo "usage: $0 <cross-build-dir> [gtest arguments]" >&2
  exit 2
fi
build_dir=$(cd "$1" && pwd)
shift
host="$build_dir/corvelle-host.exe"
# The PE header says which loader the program needs: machine 014c is i386,
# 8664 is x86-64. Without the host (a machine that cannot run it may build
# only the module), the module tells.
pe_file=$host
[ -f "$pe_file" ] || pe_file=$(ls "$build_dir"/Corvelle.wlx* 2>/dev/null | head -1 || true)
if [ -z "$pe_file" ] || [ ! -f "$pe_file" ]; then
  echo "wine-test: $host not found: build the cross build first" >&2
  exit 1
fi
pe_offset=$(od -An -t u4 -j 60 -N 4 "$pe_file" | tr -d ' ')
machine=$(od -An -t x2 -j $((pe_offset + 4)) -N 2 "$pe_file" | tr -d ' ')
find_loader() {
  for candidate in "$@"; do
    if [ -x "$candidate" ]; then echo "$candidate"; return 0; fi
    if command -v "$candidate" >/dev/null 2>&1; then command -v "$candidate"; return 0; fi
  done
  return 1
}
wine64_loader=$(find_loader wine64 /usr/lib/wine/wine64 /usr/lib64/wine/wine64 || true)
case "$machine" in
  8664) loader=$wine64_loader ;;
  014c) loader=$(find_loader /usr/lib/wine/wine wine || true) ;;
  *) echo "wine-test: $host is not a Windows program (machine '$machine')" >&2; exit 1 ;;
esac
if [ -z "$loader" ]; then
  echo "wine-test: no Wine loader for machine $machine: install wine (tools/setup.sh)" >&2
  exit 1
fi
if [ -z "$wine64_loader" ]; then
  echo "wine-test: wine64 is needed to create the prefix: install wine64 (tools/setup.sh)" >&2
  exit 1
fi
if ! "$loader" --version >/dev/null 2>&1; then
  echo "wine-test: SKIPPED: $loader cannot run on this machine" \
       "(a kernel without 32-bit executables refuses the i386 Wine loader)" >&2
  exit 77
fi
if [ ! -f "$host" ]; then
  echo "wine-test: $host not found: build the cross build first" >&2
  exit 1
fi

. "$(dirname "$0")/wine-env.sh" "$build_dir"

wineserver_bin=$(find_loader wineserver64 /usr/lib/wine/wineserver64 wineserver || true)

# One run at a time per prefix: a second one on another X display would meet
# the first one's Wine desktop and fail.
exec 9>"$build_dir/.wineprefix.lock"
if ! flock -n 9; then
  echo "wine-test: another run is using $WINEPREFIX; waiting for it" >&2
  flock 9
fi
ready_mark="$WINEPREFIX/.corvelle-ready"
if [ ! -f "$ready_mark" ]; then
  echo "wine-test: preparing the Wine prefix $WINEPREFIX (first run only)" >&2
  # wineboot also sets up the prefix's 32-bit half (syswow64 and the 32-bit
  # registry view) with a 32-bit helper. A kernel without 32-bit programs
  # refuses it ("failed to open ...\syswow64\rundll32.exe" in the log) and
  # the prefix is made without that half. A 64-bit program never reads it,
  # and a 32-bit one runs only where the helper ran too: the part a run
  # reads is made the same on both kinds of machine.
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$wine64_loader" wineboot -i >"$build_dir/wineboot.log" 2>&1 || {
      echo "wine-test: wineboot failed; see $build_dir/wineboot.log" >&2
      exit 1
    }
  fi
  # A virtual desktop: without a window manager on the X display, Wine waits
  # up to two seconds for every top-level window that goes away; inside its
  # own desktop window it does not, and focus and activation are its own.
  "$wine64_loader" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  "$wine64_loader" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1
  "$wineserver_bin" -w || true
  touch "$ready_mark"
fi

# The program and Wine's own helpers run on one private X display, which
# xvfb-run removes afterwards; wait for Wine to finish with it first.
runner=$(mktemp)
trap 'rm -f "$runner"' EXIT
cat >"$runner" <<'INNER'
#!/usr/bin/env bash
wineserver_bin=$1; shift
loader=$1; shift
host=$1; shift
cd "$(dirname "$host")"
set +e
"$loader" "$host" "$@"
status=$?
[ -n "$wineserver_bin" ] && "$wineserver_bin" -w
exit $status
INNER
chmod +x "$runner"

set +e
xvfb-run -a -s "-screen 0 1280x1024x24" "$runner" "$wineserver_bin" "$loader" "$host" "$@"
status=$?
exit $status
