#!/usr/bin/env bash
# Makes the book fixtures in tests/data/books/ and calibre's reading of each
# eReader book beside it (NAME.pdb.calibre.json). Needs calibre
# (apt-get install --no-install-recommends calibre); the tests that use the
# outputs do not. Rerun after changing write-books.py or write-calibre-input.py.
#   calibre-rich.pdb, calibre-long.pdb   written by calibre's eReader writer (zlib)
#   the others                           written by write-books.py from the descriptions
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$here/../../tests/data/books
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
/usr/bin/python3 "$here/write-books.py" "$out"
/usr/bin/python3 "$here/write-calibre-input.py" "$work"
for name in rich long; do
  ebook-convert "$work/$name.html" "$out/calibre-$name.pdb" --format ereader --title "${name^} Book" \
    --authors "Ann Author" --publisher "Pub House" >"$work/$name.log" 2>&1 || { cat "$work/$name.log"; exit 1; }
done
for book in "$out"/ereader-*.pdb "$out"/calibre-*.pdb; do
  calibre-debug "$here/calibre-read.py" "$book" >"$book.calibre.json"
done
ls -l "$out"
