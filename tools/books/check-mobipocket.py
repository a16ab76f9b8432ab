#!/usr/bin/python3
"""Checks corvelle-dump's reading of Mobipocket books against readers no one here wrote:
  - mobitool (Debian's libmobi-tools) decodes each book (-d writes the text after its trailing entries
    come off): our text records, joined, must be its text byte for byte, and the words of our
    `--export text` the words of its text once Python's own HTML parser has taken the markup off;
  - calibre's readings of the books it wrote (committed beside them by make-calibre-books.sh): the
    words of its text and its metadata;
  - the books that write-mobi-books.py writes from the format's description (HUFF/CDIC, cp1252,
    several trailing entries, TEXt/REAd, encrypted), against the markup they were written from; the
    first books' PalmDOC databases whose text is HTML against mobitool likewise, and a plain PalmDOC
    whose text looks like markup against txt2pdbdoc -d;
  - the damaged ones (loops, a bomb, offsets past the end): a note, a bounded output, no failure.
Know mobitool's limits: it reads a TEXt/REAd book as PalmDOC (that book has no trailing entries),
and a book with a KF8 part as KF8 unless told -7.
  check-mobipocket.py CORVELLE-DUMP"""
import html.parser
import json
import os
import re
import resource
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
FIXTURES = os.path.join(HERE, "..", "..", "tests", "data", "books")
FAILURES = []


def expect(what, got, want):
    if got != want:
        FAILURES.append(f"{what}:\n  got  {str(got)[:400]!r}\n  want {str(want)[:400]!r}")


def limit_memory():
    resource.setrlimit(resource.RLIMIT_AS, (1 << 30, 1 << 30))


def dump(*args):
    result = subprocess.run([DUMP, *args], capture_output=True, preexec_fn=limit_memory, timeout=60)
    if result.returncode != 0:
        FAILURES.append(f"corvelle-dump {' '.join(args)}: status {result.returncode}: {result.stderr[:300]!r}")
    return result


def mobitool_text(path, folder, kf7=False):
    """mobitool -d's text, or None when it refuses the book."""
    result = subprocess.run(["mobitool", *(["-7"] if kf7 else []), "-d", "-o", folder, path], capture_output=True)
    rawml = os.path.join(folder, os.path.splitext(os.path.basename(path))[0] + ".rawml")
    data = open(rawml, "rb").read() if os.path.exists(rawml) else None
    if data is not None:
        os.remove(rawml)
    return data if result.returncode == 0 else None


INLINE = {"a", "b", "i", "u", "s", "em", "strong", "span", "font", "small", "big", "sub", "sup", "strike", "del",
          "ins", "cite", "code", "tt", "var", "dfn"}


class TextOnly(html.parser.HTMLParser):
    """The text of HTML: a space at every tag but the inline ones, nothing from <head>, <script> or <style>."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.words, self.skip = [], 0

    def handle_starttag(self, tag, attrs):
        self.skip += tag in ("head", "script", "style")
        if tag not in INLINE:
            self.words.append(" ")

    def handle_endtag(self, tag):
        self.skip -= self.skip > 0 and tag in ("head", "script", "style")
        if tag not in INLINE:
            self.words.append(" ")

    def handle_data(self, data):
        if not self.skip:
            self.words.append(data)


def words_of_markup(text):
    parser = TextOnly()
    parser.feed(text)
    parser.close()
    # HTML reads &#146; and the other references to 80h-9Fh as cp1252, as browsers do.
    joined = "".join(parser.words)
    joined = re.sub("[\x80-\x9f]", lambda m: bytes([ord(m.group())]).decode("cp1252", "replace"), joined)
    return joined.split()


def record_texts(path):
    """Each text record's text as `--record N` shows it (the record's own bytes)."""
    lines = dump("--records", path).stdout.split(b"\n")
    count = sum(1 for line in lines[1:] if line[:1].isdigit())
    texts = []
    for index in range(1, count):
        out = dump("--record", str(index), path).stdout.split(b"\n")
        starts = [i for i, line in enumerate(out) if line.startswith(b"Text:\t")]
        if not starts:
            break
        value = [out[starts[0]][6:]]
        for line in out[starts[0] + 1:]:
            if not line.startswith(b"\t"):
                break
            value.append(line[1:])
        texts.append(b"\n".join(value))
    return texts


def first_flow_end(path):
    """A KF8 book's HTML ends where its FDST record's first flow does (its style sheets follow): the
    record that record 0 names at byte 192, "FDST", the offset of its list, then a start and an end."""
    data = open(path, "rb").read()
    count = struct.unpack_from(">H", data, 76)[0]
    offsets = [struct.unpack_from(">I", data, 78 + 8 * i)[0] for i in range(count)] + [len(data)]
    fdst = struct.unpack_from(">I", data, offsets[0] + 192)[0]
    record = data[offsets[fdst]:offsets[fdst + 1]]
    assert record[:4] == b"FDST"
    return struct.unpack_from(">I", record, struct.unpack_from(">I", record, 4)[0] + 4)[0]


def without_contents_title(words):
    """calibre adds its own table of contents to a book it writes, titled in the book's language in
    the Mobipocket 6 part and in English in the KF8 part that it reads back: the title goes."""
    for title in (["Table", "of", "Contents"], ["Πίνακας", "Περιεχομένων"]):
        for at in range(len(words) - len(title), -1, -1):
            if words[at:at + len(title)] == title:
                return words[:at] + words[at + len(title):]
    return words


def header_fields(path):
    return json.loads(dump("--export", "json", path).stdout)["entries"][0]["fields"]


def mobitool_metadata(path):
    out = subprocess.run(["mobitool", path], capture_output=True).stdout.decode("utf-8", "replace")
    return dict(re.findall(r"^(Title|Author|Publisher|ISBN|Language): (.*)$", out, re.M))


def check_against_mobitool(name, path, folder, codec, kf7=False, kf8=False):
    raw = mobitool_text(path, folder, kf7)
    if raw is None:
        FAILURES.append(f"{name}: mobitool cannot read it")
        return None
    expect(name + ": text records joined, against mobitool -d", b"".join(record_texts(path)), raw)
    if kf8:
        raw = raw[:first_flow_end(path)]
    # The export marks an image where it stands, as the Text page does; neither oracle does.
    ours = dump("--export", "text", path).stdout.decode("utf-8").replace("[image]", " ")
    expect(name + ": words of --export text, against mobitool -d's without markup", ours.split(),
           words_of_markup(raw.decode(codec)))
    return ours


def check_written_books(folder):
    subprocess.run(["/usr/bin/python3", os.path.join(HERE, "write-mobi-books.py"), folder], check=True)
    books = json.load(open(os.path.join(folder, "books.json")))
    for name, book in books.items():
        path = os.path.join(folder, name)
        fields = header_fields(path)
        kind = book.get("kind", "mobi")
        if book["encrypted"]:
            result = dump("--export", "text", path)
            expect(name + ": no text", result.stdout, b"")
            expect(name + ": says so, in one line", (b"encrypted" in result.stderr, len(result.stderr.splitlines())),
                   (True, 1))
            if kind == "mobi":
                expect(name + ": mobitool says so too", mobitool_text(path, folder), None)
            else:  # mobitool takes the old encryption's bytes for text
                expect(name + ": encryption 1", fields.get("encryption"), 1)
                expect(name + ": no position", b"Position" in dump("--record", "0", path).stdout, False)
            continue
        expect(name + ": text records joined, against the markup written",
               b"".join(record_texts(path)), book["markup"].encode(book["codec"]))
        if kind == "plain":
            check_plain_document(name, path, folder, fields)
            continue
        check_against_mobitool(name, path, folder, book["codec"])
        if kind == "html":
            expect(name + ": format", fields.get("format"), "PalmDOC (HTML)")
            expect(name + ": title", fields.get("title"), book.get("title"))
            expect(name + ": author", fields.get("author"), book.get("author"))
        if book["textread"]:
            continue
        metadata = mobitool_metadata(path)
        for key, member in (("Title", "title"), ("Author", "author"), ("Publisher", "publisher"),
                            ("ISBN", "isbn")):
            expect(f"{name}: {member}", fields.get(member), metadata.get(key))
        expect(name + ": language", fields.get("language"), metadata.get("Language", "").split(" ")[0])
        entries = json.loads(dump("--export", "json", path).stdout)["entries"]
        kinds = [e["fields"]["image"] for e in entries if e["fields"] and "image" in e["fields"]]
        expect(name + ": images", len(kinds), book["images"])


def check_plain_document(name, path, folder, fields):
    """A plain PalmDOC whose text holds markup-like words stays plain: word for word as txt2pdbdoc -d gives
    it, and its 16-byte record 0's last four bytes stay a reading position."""
    decoded = os.path.join(folder, name + ".txt")
    subprocess.run(["txt2pdbdoc", "-d", path, decoded], check=True, capture_output=True)
    want = open(decoded, "rb").read()
    expect(name + ": --export text, against txt2pdbdoc -d", dump("--export", "text", path).stdout, want)
    expect(name + ": plain", (fields.get("format"), fields.get("position")), (None, 65541))


def check_bad_books(folder):
    subprocess.run(["/usr/bin/python3", os.path.join(HERE, "write-mobi-books.py"), "--bad", folder], check=True)
    for name in sorted(os.listdir(folder)):
        path = os.path.join(folder, name)
        text = dump("--export", "text", path)
        expect(name + ": a note on standard error", len(text.stderr.splitlines()) >= 1, True)
        expect(name + ": bounded text", len(text.stdout) < 64 * 1024, True)
        dump("--export", "json", path)
        record_texts(path)


def check_calibre_books(folder):
    for book, kf7, kf8 in (("calibre", False, False), ("calibre-uncompressed", False, False),
                           ("calibre-both", True, False), ("calibre-kf8", False, True)):
        path = os.path.join(FIXTURES, book + ".mobi")
        ours = check_against_mobitool(book, path, folder, "utf-8", kf7, kf8)
        calibre = open(os.path.join(FIXTURES, book + ".calibre.txt"), encoding="utf-8").read()
        expect(book + ": words of --export text, against calibre's text", without_contents_title((ours or "").split()),
               without_contents_title(calibre.split()))
        meta = dict(re.findall(r"^(\w[\w()]*)\s*: (.*)$", open(os.path.join(FIXTURES, book + ".meta.txt")).read(),
                               re.M))
        fields = header_fields(path)
        expect(book + ": title", fields.get("title"), meta.get("Title"))
        expect(book + ": author", fields.get("author"), meta.get("Author(s)"))
        expect(book + ": publisher", fields.get("publisher"), meta.get("Publisher"))
        expect(book + ": isbn", "isbn:" + fields.get("isbn", ""), meta.get("Identifiers", "").split(",")[0])
        expect(book + ": language", fields.get("language"), mobitool_metadata(path).get("Language", "").split(" ")[0])


def main():
    global DUMP
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    DUMP = sys.argv[1]
    with tempfile.TemporaryDirectory() as written, tempfile.TemporaryDirectory() as bad, \
            tempfile.TemporaryDirectory() as scratch:
        check_written_books(written)
        check_bad_books(bad)
        check_calibre_books(scratch)
    for failure in FAILURES:
        print(failure)
    print(f"check-mobipocket: {len(FAILURES)} failures")
    sys.exit(1 if FAILURES else 0)


if __name__ == "__main__":
    main()
