#!/usr/bin/python3
"""Writes the book fixtures that no Debian program writes, from the formats'
public descriptions alone (not with Corvelle's engine):

  ereader-palmdoc.pdb    eReader, 132-byte header, PalmDOC text records cut inside
                         words and commands, every PML command, footnotes, sidebars,
                         an image, chapter and link index records, metadata
  ereader-older.pdb      eReader, 202-byte header, PalmDOC with every byte XORed with A5h
  ereader-protected.pdb  eReader, compression 260 (protected)
  tealdoc.pdb            TealDoc (TEXt/TlDc), PalmDOC text with tags, bookmark records
  isilo.pdb              iSilo (ToGo/ToGo): bytes only
  bomb.pdb               eReader, a zlib record that inflates to 256 KB
  past-the-end.pdb       eReader whose header names records past the end or over the text

Usage: write-books.py FOLDER
The files are the same on every run (fixed dates and ids).
"""
import os
import struct
import sys
import zlib

DATE = 0xD0000000  # a fixed Palm date, so that reruns write the same bytes


def pdb(name, type_, creator, records):
    """A Palm database: the 78-byte header, the record list, two bytes of gap, the records."""
    count = len(records)
    head = struct.pack('>32sHHIIIIII4s4sIIH', name.encode('cp1252')[:31], 0, 0, DATE, DATE, 0, 0, 0, 0,
                       type_.encode(), creator.encode(), 0, 0, count)
    offset = len(head) + 8 * count + 2
    entries = b''
    for i, record in enumerate(records):
        entries += struct.pack('>IB3s', offset, 0, (i + 1).to_bytes(3, 'big'))
        offset += len(record)
    return head + entries + b'\0\0' + b''.join(records)


def palmdoc_compress(data):
    """PalmDOC's LZ77: a back-reference (80h-BFh, 11 bits of distance, 3 of length - 3) where
    3 to 10 bytes repeat within 2047 bytes, runs of 1 to 8 literal bytes (01h-08h) for bytes that
    need it, a space and a letter as one byte (C0h-FFh), other bytes as they are."""
    out = bytearray()
    i = 0
    n = len(data)
    while i < n:
        best_len = best_dist = 0
        for dist in range(1, min(i, 2047) + 1):
            length = 0
            while length < 10 and i + length < n and data[i + length - dist] == data[i + length]:
                length += 1
            if length > best_len:
                best_len, best_dist = length, dist
        if best_len >= 3:
            word = 0x8000 | (best_dist << 3) | (best_len - 3)
            out += struct.pack('>H', word)
            i += best_len
            continue
        c = data[i]
        if c == 0x20 and i + 1 < n and 0x40 <= data[i + 1] <= 0x7F:
            out.append(data[i + 1] ^ 0x80)
            i += 2
        elif c == 0 or 0x09 <= c <= 0x7F:
            out.append(c)
            i += 1
        else:
            run = bytearray()
            while i < n and len(run) < 8 and not (data[i] == 0 or 0x09 <= data[i] <= 0x7F):
                run.append(data[i])
                i += 1
            out.append(len(run))
            out += run
    return bytes(out)


def png_2x2():
    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body) & 0xFFFFFFFF)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', 2, 2, 8, 3, 0, 0, 0)) +
            chunk(b'PLTE', b'\xff\x00\x00\x00\x00\xff') + chunk(b'IDAT', zlib.compress(b'\x00\x00\x01\x00\x01\x00')) +
            chunk(b'IEND', b''))


# Every command of PML once at least; some cut by the record boundaries below.
PML = (
    '\\vTITLE="Every Command" AUTHOR="Test Author"\\v\\p\\x\\BChapter One\\B\\x\n'
    'It was a \\idark\\i and \\bstormy\\b night, \\uunderlined\\u, \\ooverstruck\\o and \\sstruck\\s.\n'
    '\\cCentred line\n\\c\n\\rRight line\n\\r\n\\tIndented block\\t\n'
    'Mammals:\\T="40%"Lions\n'
    'Before the rule.\n\\w="50%"\nAfter the rule.\n'
    '\\nNormal \\lLarge\\l \\kSmall caps\\k e\\Spx\\Sp H\\Sb2\\SbO anti\\-dis\\-establish\\-ment.\n'
    'The man said \\a147Yeah.\\a148 Arrows \\U2190 left, caf\\a233, back\\\\slash.\n'
    '\\C0="Invisible entry"\\X1Part A\\X1\n'
    'See the \\q="#here"link text\\q and \\Q="here"the anchor.\n'
    'A picture: \\m="dot.png" here.\n'
    '\\I\\Baardvark\\B\\I a burrowing mammal.\n'
    'The Emerson case\\Fn="emerson"[1]\\Fn and the \\Sd="more"sidebar\\Sd.\n'
    '\\pLast page, a long one: ' + ' '.join('word%d' % i for i in range(120)) + '.\n'
).encode('cp1252')

FOOTNOTE_IDS = b'emerson\0other\0'
FOOTNOTES = [b'Footnote \\ione\\i text.', b'The second footnote.']
# The newer writers' form: 00h 01h, the id's length, the id, a zero byte.
SIDEBAR_IDS = b'\0\x01\x04more\0'
SIDEBARS = [b'A sidebar in \\Bbold\\B.']
METADATA = b'Every Command\0Test Author\0Copyright 2024\0Test House\x000-00-000000-0\0'


def chunks(data, size):
    return [data[i:i + size] for i in range(0, len(data), size)]


def image_record(name, png):
    return b'PNG ' + name.ljust(32, b'\0') + bytes(22) + struct.pack('>HH', 2, 2) + png


def ereader_palmdoc():
    # 97 bytes a record: the cuts fall inside words and inside commands.
    texts = [palmdoc_compress(piece) for piece in chunks(PML, 97)]
    records = [None] + texts
    chapters_first = len(records)
    records += [struct.pack('>I', 49) + b'Chapter One\0', struct.pack('>I', 700) + b'    Part A\0']
    links_first = len(records)
    records += [struct.pack('>I', 800) + b'here\0']
    image_first = len(records)
    records += [image_record(b'dot.png', png_2x2())]
    metadata = len(records)
    records += [METADATA]
    sidebars_first = len(records)
    records += [SIDEBAR_IDS] + [palmdoc_compress(t) for t in SIDEBARS]
    footnotes_first = len(records)
    records += [FOOTNOTE_IDS] + [palmdoc_compress(t) for t in FOOTNOTES]
    last = len(records)
    records += [b'MeTaInFo\0']
    header = struct.pack('>HIHHHH', 2, 0, 0x6240, 0, 0, 1 + len(texts))
    header += struct.pack('>9H', 2, 0, 0, 1, 1, 1, 0, 1 + len(FOOTNOTES), 1 + len(SIDEBARS))
    header += struct.pack('>11H', chapters_first, 2560, last, last, image_first, links_first, metadata, 0,
                          footnotes_first, sidebars_first, last)
    records[0] = header.ljust(132, b'\0')
    return pdb('Every Command', 'PNRd', 'PPrs', records)


OLDER_TEXT = ('\\x\\BThe Older Header\\B\\x\nA book of the older writers, '
              'its text \\iPalmDOC\\i compressed and every byte XORed with A5h. '
              'Second sentence, second sentence, second sentence.\n').encode('cp1252') * 3


def ereader_older():
    texts = [bytes(b ^ 0xA5 for b in palmdoc_compress(piece)) for piece in chunks(OLDER_TEXT, 150)]
    records = [None] + texts + [image_record(b'dot.png', png_2x2())]
    # Version 2 (a book without protection), then where the text ends; the rest as zero.
    records[0] = struct.pack('>H6sH', 2, bytes(6), 1 + len(texts)).ljust(202, b'\0')
    return pdb('Older Header', 'PNRd', 'PPrs', records)


def ereader_protected():
    secret = bytes((i * 37 + 11) & 0xFF for i in range(300))
    header = struct.pack('>HIHHHH', 260, 0, 0x6240, 0, 0, 3)
    header += struct.pack('>9H', 0, 0, 0, 0, 0, 1, 0, 0, 0)
    header += struct.pack('>11H', 4, 2560, 4, 4, 4, 4, 3, 0, 4, 4, 4)
    records = [header.ljust(132, b'\0'), secret[:150], secret[150:], b'Locked Book\0Someone\0\0\0\0']
    return pdb('Locked Book', 'PNRd', 'PPrs', records)


TEALDOC_TEXT = (
    '<HEADER TEXT="The First Header" FONT=2 ALIGN=CENTER>\n'
    'TealDoc text starts here, with a <LINK TEXT="link in a line" TAG="second"> and more words.\n'
    '<BOOKMARK NAME="first">\n'
    'A line that says a < b and b > a stays as it is.\n'
    '<HRULE STYLE=1>\n'
    '<LABEL NAME="second">\n'
    '<HEADER TEXT="Second Header">\n'
    + ''.join('Paragraph %d of the second part, with some repeated words repeated.\n' % i for i in range(40)) +
    'The last line.\n'
).encode('cp1252')


def tealdoc():
    # 1000 bytes a record, so that some tag lines are cut between two records.
    pieces = chunks(TEALDOC_TEXT, 1000)
    header = struct.pack('>HHIHHI', 2, 0, len(TEALDOC_TEXT), len(pieces), 1000, 0)
    bookmarks = [b'First'.ljust(16, b'\0') + struct.pack('>I', 0),
                 b'Second part'.ljust(16, b'\0') + struct.pack('>I', TEALDOC_TEXT.index(b'<LABEL'))]
    return pdb('TealDoc Fixture', 'TEXt', 'TlDc', [header] + [palmdoc_compress(p) for p in pieces] + bookmarks)


def isilo():
    return pdb('iSilo Fixture', 'ToGo', 'ToGo', [bytes(range(64)), b'\x01\x02' * 40, b'iSilo record'])


def bomb():
    """A zlib record of 256 KB of one letter, far more than a record holds, and one of text."""
    header = struct.pack('>HIHHHH', 10, 0, 0x6240, 0, 0, 3).ljust(132, b'\0')
    return pdb('Bomb', 'PNRd', 'PPrs', [header, zlib.compress(b'a' * (1 << 18), 9), zlib.compress(b' The end.')])


def past_the_end():
    """A header whose records lie past the end of the file, or overlap the text."""
    texts = [palmdoc_compress(b'Text \\m="none.png" and \\Fn="x"a note\\Fn.'), palmdoc_compress(b'\\a1')]
    header = struct.pack('>HIHHHH', 2, 0, 0x6240, 0, 0, 40)
    header += struct.pack('>9H', 5, 0, 0, 9, 3, 1, 0, 500, 65535)
    header += struct.pack('>11H', 300, 2560, 9, 9, 60000, 2, 900, 0, 1, 65535, 65535)
    return pdb('Past The End', 'PNRd', 'PPrs', [header.ljust(132, b'\0')] + texts + [b'\0\x01\xffid'])


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    files = {
        'ereader-palmdoc.pdb': ereader_palmdoc(),
        'ereader-older.pdb': ereader_older(),
        'ereader-protected.pdb': ereader_protected(),
        'tealdoc.pdb': tealdoc(),
        'isilo.pdb': isilo(),
        'bomb.pdb': bomb(),
        'past-the-end.pdb': past_the_end(),
    }
    for name, data in files.items():
        with open(os.path.join(folder, name), 'wb') as out:
            out.write(data)


if __name__ == '__main__':
    main()
