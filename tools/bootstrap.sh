#!/usr/bin/env bash
# The main job on a fresh Debian 12 machine: installs what is missing, builds
# the command-line dumper, both Windows plug-in modules and the Linux one for
# Double Commander, packs the install zip, and prints the report of a bundled
# sample.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh native win32 win64
if [ -x tools/make-zip.sh ]; then tools/make-zip.sh; fi

echo
echo "== Report of samples/Memos.pdb (build/corvelle-dump samples/Memos.pdb)"
./build/corvelle-dump samples/Memos.pdb
echo
echo "== Plug-in files"
ls -l build-win32/Corvelle.wlx build-win64/Corvelle.wlx64 build/corvelle.wlx 2>/dev/null || true
ls -l Corvelle-*.zip 2>/dev/null || true
