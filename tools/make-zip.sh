#!/usr/bin/env bash
# Packs the plug-in for a one-step install: opening the zip in Total Commander
# finds pluginst.inf and offers to install the Lister plug-in.
#
#   tools/make-zip.sh [win32-build-dir] [win64-build-dir] [output-dir]
#
# Defaults: build-win32, build-win64 and the repository root. Writes
# Corvelle-<version>.zip with Corvelle.wlx, Corvelle.wlx64, pluginst.inf and
# readme.txt. The version is the project version of the top-level
# CMakeLists.txt, the one the modules' version resources are built from.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
win32_dir=${1:-$root/build-win32}
win64_dir=${2:-$root/build-win64}
out_dir=${3:-$root}

version=$(sed -n 's/^project(Corvelle VERSION \([0-9][0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
if [ -z "$version" ]; then
  echo "make-zip: no project version in $root/CMakeLists.txt" >&2
  exit 1
fi

# A module built from another version would install under the wrong name.
check_module() {
  local dir=$1 module=$2
  if [ ! -f "$dir/$module" ]; then
    echo "make-zip: $dir/$module not found: build it first (tools/build.sh win32 win64)" >&2
    exit 1
  fi
  local built
  built=$(sed -n 's/^#define CORVELLE_VERSION_TEXT "\(.*\)"/\1/p' "$dir/generated/Version.h" 2>/dev/null || true)
  if [ "$built" != "$version" ]; then
    echo "make-zip: $dir/$module is version '${built:-unknown}', the project is $version: rebuild it" >&2
    exit 1
  fi
}
check_module "$win32_dir" Corvelle.wlx
check_module "$win64_dir" Corvelle.wlx64

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

# Windows text files: CR LF line ends.
crlf() { sed 's/$/\r/'; }

crlf >"$stage/pluginst.inf" <<INF
[plugininstall]
description=Corvelle $version - Palm OS database viewer (pdb, prc, pqa) for the Lister
type=wlx
file=Corvelle.wlx
defaultdir=Corvelle
INF

crlf >"$stage/readme.txt" <<README
Corvelle $version - Palm OS database viewer for the Total Commander Lister
=========================================================================

Corvelle shows Palm OS databases - record databases (.pdb), applications and
other resource databases (.prc) and query applications (.pqa) - in the
Lister (F3 or Ctrl+Q). The "Image Dump" tab lists the database header, the
categories or the query application's header, and every record or resource
with its offset, attributes and ID. The "About" tab says who makes Corvelle.

Install
  Open Corvelle-$version.zip in Total Commander (Enter on the zip file) and
  answer Yes when it offers to install the plug-in. 32-bit and 64-bit
  Total Commander both use it: Corvelle.wlx and Corvelle.wlx64 are inside.

Use
  Select a .pdb, .prc or .pqa file and press F3.
  W             wrap long lines on or off
  Ctrl+1/Ctrl+2 switch between "Image Dump" and "About"
  Ctrl+A, Ctrl+C select all and copy (the Lister's own commands)
  F7            find text (also F3 / Shift+F3 for the next hit)

Options (optional)
  Corvelle.ini beside the plug-in, section [Options]: autosave=0 keeps the
  Lister window where it is; with autosave=1 (the default) a saved Rect=
  value puts it back at that position. The font is the Lister's own font.

Corvelle reads the files it shows and never writes them, nor any setting.
README

zip_path="$out_dir/Corvelle-$version.zip"
rm -f "$zip_path"
cp "$win32_dir/Corvelle.wlx" "$win64_dir/Corvelle.wlx64" "$stage/"
(cd "$stage" && zip -q -X "$zip_path" Corvelle.wlx Corvelle.wlx64 pluginst.inf readme.txt)
echo "$zip_path"
