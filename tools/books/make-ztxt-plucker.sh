#!/usr/bin/env bash
# Writes the zTXT and Plucker fixtures into tests/data/books/ (ztxtplucker.py, from the formats'
# descriptions) and calibre's reading of each beside it (NAME.pdb.calibre.json). Needs calibre
# (apt-get install --no-install-recommends calibre); the check that uses the outputs does not.
# Rerun after changing ztxtplucker.py.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$here/../../tests/data/books
mkdir -p "$out"
/usr/bin/python3 "$here/ztxtplucker.py" "$out"
for book in "$out"/ztxt-*.pdb "$out"/plucker-*.pdb; do
  calibre-debug "$here/calibre-read-ztxt-plucker.py" "$book" >"$book.calibre.json"
done
ls -l "$out"/ztxt-* "$out"/plucker-*
