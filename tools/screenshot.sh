#!/usr/bin/env bash
# Takes pictures of the viewer's pages, as the Wine test host shows them on a
# virtual display:
#
#   tools/screenshot.sh <cross-build-dir> [output-dir]     (default: <dir>/screenshots)
#
# Writes dump.png ("Image Dump"), about.png ("About"), records.png (the
# Records page of a Memo database), resources.png (the Resources page of
# the application sample, its icon chosen), contacts.png (the Records page
# of a Contacts database, a contact with its picture chosen), notepad.png and
# photo.png (the Records page of a Note Pad database, a drawing chosen, and of
# a Photos picture database, its photo shown), text.png (the
# Text page of a PalmDOC book), mobipocket-utf8-text.png, ereader-text.png and
# early-html-text.png (the Text page of a Mobipocket book in UTF-8, of an
# eReader book and of an early Mobipocket book, a PalmDOC database whose text
# is HTML, with chapters and styles), cropped to the Lister window.
# Uses the build's own Wine prefix (tools/wine-test.sh creates it on its
# first run); the host's disabled test in tools/screenshot/screenshot-host.cpp
# holds each page on screen until the picture is taken.
set -euo pipefail

if [ $# -lt 1 ]; then
  echo "usage: $0 <cross-build-dir> [output-dir]" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$(cd "$1" && pwd)
out_dir=${2:-$build_dir/screenshots}
mkdir -p "$out_dir"
out_dir=$(cd "$out_dir" && pwd)
host="$build_dir/corvelle-host.exe"
[ -f "$host" ] || { echo "screenshot: $host not found: build the cross build first" >&2; exit 1; }

if [ ! -f "$build_dir/wineprefix/system.reg" ]; then
  "$root/tools/wine-test.sh" "$build_dir" --gtest_list_tests >/dev/null
fi

pe_offset=$(od -An -t u4 -j 60 -N 4 "$host" | tr -d ' ')
machine=$(od -An -t x2 -j $((pe_offset + 4)) -N 2 "$host" | tr -d ' ')
case "$machine" in
  8664) loader=$(command -v wine64 || echo /usr/lib/wine/wine64) ;;
  *) loader=$(command -v wine || echo /usr/lib/wine/wine) ;;
esac

markers=$(mktemp -d)
trap 'rm -rf "$markers"' EXIT

. "$root/tools/wine-env.sh" "$build_dir"

session=$(mktemp)
trap 'rm -rf "$markers" "$session"' EXIT
cat >"$session" <<'INNER'
#!/usr/bin/env bash
loader=$1 host=$2 markers=$3 out_dir=$4
cd "$(dirname "$host")"
# Wine sees the Unix root as drive Z:.
CORVELLE_HOST_TEST_LIMIT_S=3600 CORVELLE_SCREENSHOT_FOLDER="Z:${markers//\//\\}" "$loader" "$host" --gtest_also_run_disabled_tests \
  --gtest_filter=Screenshots.DISABLED_HoldEachPage >"$markers/host.log" 2>&1 &
host_pid=$!
for page in dump about records resources contacts notepad photo text mobipocket-utf8-text ereader-text early-html-text; do
  for _ in $(seq 1 600); do
    [ -f "$markers/$page.ready" ] && break
    kill -0 "$host_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -f "$markers/$page.ready" ]; then
    sleep 0.5
    # The desktop is black; trimming it leaves the Lister window.
    import -window root -trim +repage "$out_dir/$page.png"
    echo "screenshot: $out_dir/$page.png"
  else
    echo "screenshot: the host never showed the $page page" >&2
  fi
  touch "$markers/$page.taken"
done
wait "$host_pid"
status=$?
wineserver_bin=$(command -v wineserver64 || echo /usr/lib/wine/wineserver64)
[ -x "$wineserver_bin" ] && "$wineserver_bin" -w
[ $status -eq 0 ] || cat "$markers/host.log" >&2
exit $status
INNER
chmod +x "$session"
xvfb-run -a -s "-screen 0 1024x768x24" "$session" "$loader" "$host" "$markers" "$out_dir"
