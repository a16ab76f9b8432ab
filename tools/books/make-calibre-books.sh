#!/usr/bin/env bash
# Makes the Mobipocket fixtures that calibre writes, and keeps calibre's own reading of each beside
# it, so that the checks (tools/books/check-mobipocket.py) compare with calibre without needing it.
# Needs Debian's calibre (not installed by tools/setup.sh: it is large):
#   apt-get install --no-install-recommends calibre
# Usage: tools/books/make-calibre-books.sh [OUT_DIR]     (default tests/data/books)
# Writes, from calibre-source.txt (Markdown: headings, bold, italic; Greek, Russian, Japanese) and a
# cover picture:
#   calibre.mobi               Mobipocket 6, PalmDOC compression (calibre's default)
#   calibre-uncompressed.mobi  --dont-compress
#   calibre-both.mobi          --mobi-file-type both: a Mobipocket 6 part and a KF8 part
#   calibre-kf8.mobi           --mobi-file-type new: KF8 only
# and for each BOOK.mobi: BOOK.meta.txt (ebook-meta) and BOOK.calibre.txt (ebook-convert to text).
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-$here/tests/data/books}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

/usr/bin/python3 - "$out/calibre-source.txt" <<'EOF'
import random, sys
random.seed(2022)
words = {
    "en": "the quick brown fox jumps over lazy dog while reading an old book about palm devices".split(),
    "el": "καλημέρα κόσμε η γρήγορη καφέ αλεπού πηδάει πάνω από τον τεμπέλη σκύλο".split(),
    "ru": "съешь же ещё этих мягких французских булок да выпей чаю".split(),
    "ja": ["日本語の", "テキスト", "です。", "猫が", "好き"],
}
lines = ["# Chapter One", "", "A *small* book with **bold** words, an & ampersand and a < sign.", ""]
for i in range(16):
    language = ["en", "el", "ru", "ja"][i % 4]
    lines += [" ".join(random.choice(words[language]) for _ in range(30)) + ".", ""]
    if i == 8:
        lines += ["# Chapter Two", ""]
open(sys.argv[1], "w", encoding="utf-8").write("\n".join(lines))
EOF

convert -size 48x64 xc:skyblue -fill red -draw "circle 24,32 24,12" "$work/cover.png"
common=(--formatting-type markdown --title "Small Book" --authors "Jane Doe" --publisher "Corvelle Press"
        --isbn 9780000000002 --language el --pubdate 2020-05-01 --comments "A small book." --tags "Fiction"
        --cover "$work/cover.png")
make() {
  local name=$1; shift
  ebook-convert "$out/calibre-source.txt" "$work/$name.mobi" "${common[@]}" "$@" >"$work/$name.log" 2>&1 ||
    { cat "$work/$name.log"; exit 1; }
  cp "$work/$name.mobi" "$out/$name.mobi"
  ebook-meta "$out/$name.mobi" >"$out/$name.meta.txt"
  ebook-convert "$out/$name.mobi" "$work/$name.txt" >/dev/null 2>&1
  cp "$work/$name.txt" "$out/$name.calibre.txt"
}
make calibre
make calibre-uncompressed --dont-compress
make calibre-both --mobi-file-type both
make calibre-kf8 --mobi-file-type new
ls -l "$out"
