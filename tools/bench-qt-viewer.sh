#!/usr/bin/env bash
# The Linux plug-in's figures on a virtual display of their own: F3 (its
# ListLoadW) to a drawn report of a small database and of a 65535-record
# one (with the time until the whole report is in and the longest turn of
# the host's loop), Ctrl+3 to a drawn list of 65535 records and Ctrl+4 to
# the first screen of a 10 MB book, each the best and the median of five.
# Printed, not asserted: the machine decides them.
#
#   tools/bench-qt-viewer.sh [BUILD_DIR]      (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
exec 3< <(Xvfb -displayfd 4 -screen 0 1280x1024x24 -nolisten tcp 4>&1 2>/dev/null & echo "pid $!")
read -r _ xvfb <&3
read -r display <&3
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
DISPLAY=:$display "$build/tools/bench-qt-viewer" "$build/corvelle.wlx"
