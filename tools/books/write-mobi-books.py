#!/usr/bin/python3
"""Writes the Mobipocket books that nothing in Debian writes (HUFF/CDIC compression, cp1252, several
trailing entries, a TEXt/REAd book, an encrypted one; the first books' PalmDOC databases whose text is an
HTML document, one with the old encryption, and a plain PalmDOC whose text looks like markup), the damaged ones that bad input needs (loops
and bombs in the dictionary, offsets past the end), or a large book for the benchmark.
  write-mobi-books.py DIR            the books, and DIR/books.json saying what each holds
  write-mobi-books.py --bad DIR      the damaged books (fuzzing seeds, bad-input checks)
  write-mobi-books.py --bench MB DIR bench-palmdoc.mobi and bench-huff.mobi of about MB megabytes of text
  write-mobi-books.py --seeds DIR    inputs for tools/fuzz/fuzz-mobipocket.cpp: each of the books above and
                                     tests/data/books/*.mobi whole (80h first), and as its records after
                                     record 0 with the byte that has record 0 written around them"""
import json
import os
import random
import shutil
import struct
import subprocess
import sys
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import mobibook  # noqa: E402

WORDS = {
    "en": "the quick brown fox jumps over lazy dog while reading an old book about palm devices".split(),
    "el": "καλημέρα κόσμε η γρήγορη καφέ αλεπού πηδάει πάνω από τον τεμπέλη σκύλο".split(),
    "ru": "съешь же ещё этих мягких французских булок да выпей чаю".split(),
    "ja": ["日本語の", "テキスト", "です。", "猫が", "好き"],
    "fr": "où est la forêt près du château élevé garçon crème déjà".split(),
}


def paragraphs(rng, count, languages, words=40):
    return [" ".join(rng.choice(WORDS[languages[i % len(languages)]]) for _ in range(words)) + "."
            for i in range(count)]


def markup(rng, count, languages, images=0):
    """HTML as Mobipocket writers make it, with every kind of markup the reader takes off."""
    body = ["<html><head><title>Not text</title><style>p { margin: 0 } b > i {}</style>"
            "<guide><reference type=\"toc\" title=\"Contents\" filepos=0000000100 /></guide></head><body>",
            "<h1>Chapter One</h1>",
            "<p>A <b>bold</b>, <i>italic</i>, <u>underlined</u> and <b><i>both</i></b> start &amp; "
            "&lt;entities&gt; &#233;t&#xE9; &mdash; &#8217;quoted&#8217;&nbsp;end.</p><!-- a comment > with a > -->",
            "<p>Line one<br/>line two<br></br>line three</p>"]
    for i, text in enumerate(paragraphs(rng, count, languages)):
        body.append('<p width="0pt" height="1em">' + text + "</p>")
        if i == count // 2:
            body.append("<mbp:pagebreak/><h2>Chapter Two</h2>")
        if i < images:
            body.append('<p><img recindex="%05d" /></p>' % (i + 1))
    body.append("<div>The end.</div></body></html>")
    return "\n".join(body)


def png(width, height):
    rows = b"".join(b"\0" + bytes([40, 120, 200]) * width for _ in range(height))
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def gif(width, height):
    # One colour, LZW minimum code size 2: clear, one index, end.
    return (b"GIF89a" + struct.pack("<HH", width, height) + b"\x80\0\0" + b"\0\0\0\xff\xff\xff" +
            b",\0\0\0\0" + struct.pack("<HH", width, height) + b"\0\x02\x02\x44\x01\0;")


def bmp(width, height):
    row = (bytes([0, 0, 255]) * width).ljust((3 * width + 3) // 4 * 4, b"\0")
    pixels = row * height
    return (b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54) +
            struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0) + pixels)


def jpeg(width, height, folder):
    """A JPEG from ImageMagick, when it is there (tools/setup.sh installs it)."""
    if not shutil.which("convert"):
        return None
    path = os.path.join(folder, "image.jpg")
    subprocess.run(["convert", "-size", "%dx%d" % (width, height), "xc:orange", path], check=True)
    data = open(path, "rb").read()
    os.remove(path)
    return data


def exth(title, language, codec="utf-8"):
    return [(100, b"Jane Doe"), (100, b"John Roe"), (101, b"Corvelle Press"), (103, b"A book to test readers."),
            (104, b"9780000000002"), (105, b"Tests"), (106, b"2021-03-04"), (503, title.encode(codec)),
            (524, language.encode()), (201, struct.pack(">I", 0)), (999, b"\x01\x02\xfe")]


def books(folder):
    rng = random.Random(22)
    images = [png(3, 2), gif(2, 2), bmp(2, 3)]
    photo = jpeg(4, 5, folder)
    if photo:
        images.append(photo)
    written = {}

    def write(name, source, codec, **options):
        data = mobibook.book(source.encode(codec), options.pop("title", name), **options)
        open(os.path.join(folder, name), "wb").write(data)
        written[name] = {"markup": source, "codec": codec,
                         "compression": options.get("compression", mobibook.PALMDOC),
                         "encrypted": bool(options.get("encryption")), "images": len(options.get("images", ())),
                         "textread": options.get("type_") == "TEXt"}

    utf8 = markup(rng, 60, ["el", "ru", "ja", "en"], images=len(images))
    write("huff-utf8.mobi", utf8, "utf-8", title="Ελληνικά και 日本語", compression=mobibook.HUFF_CDIC,
          extra_flags=0b111, exth=exth("Ελληνικά και 日本語", "el"), images=images, cdic_bits=6)
    write("palmdoc-utf8.mobi", utf8, "utf-8", title="PalmDOC in UTF-8", extra_flags=0b11,
          exth=exth("PalmDOC in UTF-8", "ru"), images=images)
    latin = markup(rng, 30, ["fr", "en"]).replace("&#8217;quoted&#8217;", "&#146;quoted\u2019")
    write("palmdoc-cp1252.mobi", latin, "cp1252", title="Crème brûlée", encoding=1252, extra_flags=0b10,
          exth=exth("Crème", "fr", "cp1252"))
    write("huff-cp1252.mobi", latin, "cp1252", title="HUFF in cp1252", encoding=1252,
          compression=mobibook.HUFF_CDIC, exth=exth("HUFF in cp1252 ½", "fr", "cp1252"))
    write("textread.prc", markup(rng, 12, ["en"]), "utf-8", title="TEXt REAd", compression=mobibook.UNCOMPRESSED,
          type_="TEXt", creator="REAd")
    write("encrypted.mobi", markup(rng, 5, ["en"]), "utf-8", title="Locked", encryption=2)
    first_books(rng, folder, written)
    json.dump(written, open(os.path.join(folder, "books.json"), "w"), ensure_ascii=False, indent=1)


def early_markup(rng, head, words):
    """HTML as Mobipocket's first books hold it: an OEB package's metadata in the head, then the body."""
    body = ["<BODY>", "<h2>Chapter One</h2>",
            "<p>A <b>bold</b> and <i>italic</i> start &amp; &lt;entities&gt; &#233;t&eacute; &mdash; "
            '<a filepos=0000000120>a link</a>.</p>']
    for i, text in enumerate(paragraphs(rng, 12, words)):
        body.append("<p>" + text + "</p>")
        if i == 5:
            body.append("<mbp:pagebreak/><H2>Chapter Two</H2><p><img recindex=\"00001\"></p>")
    return head + "\n".join(body) + "\n<p>The end.</p></BODY></HTML>"


def first_books(rng, folder, written):
    """Mobipocket's first books: TEXt/REAd PalmDOC databases (no MOBI header) whose text is an HTML
    document, one with the old encryption, and a plain PalmDOC whose text holds markup-like words."""
    dublin_core = ('<HTML><HEAD><metadata><dc-metadata xmlns:dc="http://purl.org/metadata/dublin_core" '
                   'xmlns:oebpackage="http://openebook.org/namespaces/oeb-package/1.0/">'
                   "<dc:Title>The Early  Book &amp; Its Sequel</dc:Title><dc:Creator role=\"aut\">Ann Author"
                   "</dc:Creator><dc:Creator>Bob Writer</dc:Creator><dc:Language>en</dc:Language></dc-metadata>"
                   "<x-metadata><output encoding=\"Windows-1252\"></output></x-metadata></metadata></HEAD>\n")

    def write(name, source, codec, kind, **options):
        data = mobibook.palmdoc_book(source.encode(codec), name, **options)
        open(os.path.join(folder, name), "wb").write(data)
        written[name] = {"markup": source, "codec": codec, "kind": kind, "textread": True, "images": 0,
                         "encrypted": options.get("encryption") == 1, "compression": options.get("compression", 2)}

    latin = early_markup(rng, dublin_core, ["fr", "en"])
    write("early-html.prc", latin, "cp1252", "html", extra=b"\0" * 8, after=[gif(2, 2)])
    written["early-html.prc"].update(title="The Early Book & Its Sequel", author="Ann Author; Bob Writer")
    write("early-doctype.prc", "\r\n  <!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\">" +
          early_markup(rng, "<html><head><title>Not text</title></head>", ["en"]), "cp1252", "html",
          compression=mobibook.UNCOMPRESSED)
    write("early-xml.prc", '<?xml version="1.0"?>' +
          early_markup(rng, "<html xmlns=\"http://www.w3.org/1999/xhtml\">", ["fr"]), "cp1252", "html")
    # The old encryption: the "text" records are bytes that no reader can read without the key.
    write("early-encrypted.prc", "".join(chr(rng.randrange(32, 256)) for _ in range(9000)), "latin-1", "encrypted",
          encryption=1, extra=bytes(rng.randrange(256) for _ in range(48)), compression=mobibook.UNCOMPRESSED)
    # Markup-like words in a plain text, not at its start; its reading position is 65541 (bytes 12-13 hold 1).
    plain = ("Notes on <string> handling.\nUse &nbsp; for a space, and a < b > c holds.\n<html> here is text.\n" +
             "\n".join(paragraphs(rng, 30, ["en"])) + "\n")
    write("plain-markup.prc", plain, "cp1252", "plain", position=65541)


def bad_books(folder):
    """Damaged books, each a small one whose dictionary or records break a rule."""
    rng = random.Random(7)
    source = markup(rng, 8, ["en"]).encode()

    def huff(name, override, **options):
        data = mobibook.book(source, name, compression=mobibook.HUFF_CDIC, huff_override=override, **options)
        open(os.path.join(folder, name), "wb").write(data)

    def offsets_past_the_end(records, texts):
        cdic = bytearray(records[1])
        struct.pack_into(">H", cdic, 18, 0xFFF0)
        huffman = bytearray(records[0])
        struct.pack_into(">I", huffman, 12, 0x7FFFFFFF)
        return [records[0], bytes(cdic)] + records[2:], texts[:1] + [b"\xff" * 16] + texts[2:]

    def bad_huff(records, texts):
        return [b"HUFX" + records[0][4:]] + records[1:], texts

    # Symbol 1 is "ab" and itself; symbols 2 and 3 each other.
    open(os.path.join(folder, "huff-loop.mobi"), "wb").write(dictionary_book([b"ab", b"", b"", b""],
                                                                             {1: [0, 1], 2: [3], 3: [2]}, [0, 1]))
    open(os.path.join(folder, "huff-mutual-loop.mobi"), "wb").write(
        dictionary_book([b"ab", b"", b"", b""], {1: [0, 1], 2: [3], 3: [2]}, [0, 2]))
    huff("huff-offsets.mobi", offsets_past_the_end)
    huff("huff-not-huff.mobi", bad_huff)
    open(os.path.join(folder, "huff-deep.mobi"), "wb").write(nested_book(40, 1))
    open(os.path.join(folder, "huff-bomb.mobi"), "wb").write(nested_book(30, 2))
    plain = mobibook.book(source, "overrun", extra_flags=0b110)
    # The first text record's last trailing size claims far more than the record holds.
    open(os.path.join(folder, "trailing-overrun.mobi"), "wb").write(patch_record_end(plain, 1, b"\x7f" * 4))


def dictionary_book(symbols, composites, text):
    """A book of one text record, `text` in symbols of this dictionary."""
    dictionary = mobibook.Dictionary(symbols, [1.0 / (k + 1) for k in range(len(symbols))], composites)
    records = [dictionary.huff_record()] + dictionary.cdic_records(10)
    return mobibook.book(b"x" * 10, "dictionary", compression=mobibook.HUFF_CDIC,
                         huff_override=lambda _records, _texts: (records, [dictionary.bits(text)]))


def nested_book(depth, fanout):
    """Symbol k is `fanout` copies of symbol k-1, symbol 0 the text "ab": a chain deeper than any
    book needs (fanout 1), or a bomb of 2^depth bytes (fanout 2). The text is the last symbol once."""
    return dictionary_book([b"ab"] + [b""] * depth, {k: [k - 1] * fanout for k in range(1, depth + 1)}, [depth])


def patch_record_end(data, index, last):
    count = struct.unpack_from(">H", data, 76)[0]
    end = struct.unpack_from(">I", data, 78 + 8 * (index + 1))[0] if index + 1 < count else len(data)
    return data[:end - len(last)] + last + data[end:]


def bench_books(folder, megabytes):
    rng = random.Random(5)
    count = int(megabytes * 1e6 / 300)
    source = markup(rng, count, ["en", "el", "fr", "ru"]).encode()
    for name, compression in (("bench-palmdoc.mobi", mobibook.PALMDOC), ("bench-huff.mobi", mobibook.HUFF_CDIC)):
        data = mobibook.book(source, name, compression=compression, extra_flags=0b11, cdic_bits=12)
        open(os.path.join(folder, name), "wb").write(data)


def records_of(data):
    count = struct.unpack_from(">H", data, 76)[0]
    offsets = [struct.unpack_from(">I", data, 78 + 8 * i)[0] for i in range(count)] + [len(data)]
    return [data[offsets[i]:offsets[i + 1]] for i in range(count)]


def fuzz_seeds(folder):
    import tempfile
    fixtures = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "data", "books")
    with tempfile.TemporaryDirectory() as good, tempfile.TemporaryDirectory() as bad:
        books(good)
        bad_books(bad)
        paths = [os.path.join(d, n) for d in (good, bad, fixtures) for n in sorted(os.listdir(d))
                 if n.endswith((".mobi", ".prc"))]
        for number, path in enumerate(paths):
            data = open(path, "rb").read()
            open(os.path.join(folder, "whole-%02d" % number), "wb").write(b"\x80" + data)
            records = records_of(data)
            compression, = struct.unpack_from(">H", records[0], 0)
            encoding, = struct.unpack_from(">I", records[0], 28) if len(records[0]) >= 32 else (65001,)
            flags, = struct.unpack_from(">H", records[0], 242) if len(records[0]) >= 244 else (0,)
            mode = {1: 0, 2: 1}.get(compression, 2) | (4 if encoding == 1252 else 0) | ((flags & 7) << 3)
            open(os.path.join(folder, "records-%02d" % number), "wb").write(
                bytes([mode]) + b"\xfe\xfe\xfe".join(records[1:]))


def main(args):
    if args[:1] == ["--seeds"]:
        fuzz_seeds(args[1])
    elif args[:1] == ["--bad"]:
        bad_books(args[1])
    elif args[:1] == ["--bench"]:
        bench_books(args[2], float(args[1]))
    elif len(args) == 1:
        books(args[0])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
