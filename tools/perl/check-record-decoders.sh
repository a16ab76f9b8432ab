#!/usr/bin/env bash
# Checks what corvelle-dump --record N decodes against decoders no one here wrote:
#   - Memo, To Do, Address, Date Book, Memos and Calendar databases written by Debian's Palm modules:
#     each record's lines equal those print-record-fields.pl prints from the modules' parse;
#   - PalmDOC documents written by txt2pdbdoc, compressed and not: the decoded text of
#     records 1 to N, joined, equals the input;
#   - every entry's hex dump equals hexdump -v -C of its bytes cut out of the file by dd.
# Usage: tools/perl/check-record-decoders.sh CORVELLE-DUMP [SAMPLES-DIR]
set -euo pipefail
dump=$1
samples=${2:-$(dirname "$0")/../../samples}
here=$(dirname "$0")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
status=0
fail() { echo "MISMATCH: $*"; status=1; }

# The lines of --record N between the title and the hex dump: those after the
# first line, up to the last empty line (continuation lines start with a TAB,
# so only the line before the hex dump is empty at the end).
record_fields() {
  "$dump" --record "$1" "$2" | awk '{ line[NR] = $0 } /^$/ { last = NR } END { for (i = 2; i < last; i++) print line[i] }'
}
# The hex dump of --record N: the lines after the last empty line.
record_hexdump() {
  "$dump" --record "$1" "$2" | awk '{ line[NR] = $0 } /^$/ { last = NR } END { for (i = last + 1; i <= NR; i++) print line[i] }'
}
# The value of field LABEL of --record N, its continuation lines joined back.
record_value() {
  "$dump" --record "$1" "$2" | perl -e 'my $label = shift; binmode STDIN; binmode STDOUT; my ($state, $v) = (0);
    while (<STDIN>) {  # read to the end, so that the writer never meets a closed pipe
      chomp;
      if ($state == 0 && s/^\Q$label\E:\t//) { $state = 1; $v = $_; }
      elsif ($state == 1) { if (s/^\t//) { $v .= "\n$_"; } else { $state = 2; } } }
    print $v if defined $v;' "$3"
}

# 1. Palm::Memo, Palm::ToDo, Palm::Address, Palm::Datebook.
perl "$here/write-record-databases.pl" "$dir"
for name in memo todo address address-plain datebook memos calendar; do
  file=$dir/$name.pdb
  perl "$here/print-record-fields.pl" "$file" >"$dir/$name.expected"
  count=$(grep -c '^== record ' "$dir/$name.expected")
  [ "$count" -gt 10 ] || fail "$name.pdb: only $count records written"
  for ((n = 0; n < count; n++)); do
    echo "== record $n"
    record_fields $n "$file"
  done >"$dir/$name.actual"
  diff -u "$dir/$name.expected" "$dir/$name.actual" || fail "$name.pdb: fields differ from the Palm modules' (above)"
done

# 2. txt2pdbdoc, compressed and not: several text records, line breaks, TABs,
# repeats for the compressor and Latin-1 bytes.
perl -e 'binmode STDOUT; for my $i (1 .. 300) { print "Line $i of the document: the quick brown fox jumps over the lazy dog. ",
  "ab" x ($i % 7), ($i % 50 ? "" : "\tcaf\xE9 cr\xE8me\n"), "\n"; } print "The end, without a line break";' >"$dir/doc.txt"
txt2pdbdoc "Compressed doc" "$dir/doc.txt" "$dir/doc-compressed.pdb" >/dev/null
txt2pdbdoc -c "Plain doc" "$dir/doc.txt" "$dir/doc-plain.pdb" >/dev/null
for doc in doc-compressed doc-plain; do
  file=$dir/$doc.pdb
  records=$(record_value 0 "$file" "Text records")
  [ "$records" -gt 3 ] || fail "$doc.pdb: only '$records' text records"
  [ "$(record_value 0 "$file" "Text length")" = "$(stat -c %s "$dir/doc.txt")" ] || fail "$doc.pdb: text length"
  for ((n = 1; n <= records; n++)); do record_value $n "$file" Text; done >"$dir/$doc.txt"
  cmp "$dir/doc.txt" "$dir/$doc.txt" || fail "$doc.pdb: the decoded text differs from txt2pdbdoc's input"
done

# 3. The hex dump of every entry of every fixture and sample against hexdump -v -C.
for file in "$dir"/*.pdb "$samples"/*; do
  while IFS=$'\t' read -r index offset size _; do
    [ "$index" = "#" ] && continue
    case $index in *[!0-9]*|'') continue ;; esac  # the closing count line
    if [ "$size" = "?" ]; then
      expected=
    else
      expected=$(dd if="$file" bs=1 skip=$((16#${offset%h})) count="$size" status=none | hexdump -v -C)
    fi
    [ "$(record_hexdump "$index" "$file")" = "$expected" ] || fail "$(basename "$file") entry $index: hex dump"
  done < <("$dump" --records "$file")
done
exit $status
