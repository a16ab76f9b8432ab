"""zTXT and Plucker books written byte by byte from the formats' public
descriptions (Weasel Reader's zTXT record 0, marks and annotations; the
Plucker document format's index, data records, functions and metadata),
with Python's zlib and a PalmDOC compressor of our own; nothing here uses
Corvelle's engine. Nothing in Debian writes either format.

    /usr/bin/python3 tools/books/ztxtplucker.py OUT-FOLDER   writes the fixtures
    /usr/bin/python3 tools/books/ztxtplucker.py --seeds OUT  writes fuzzing seeds too
    /usr/bin/python3 tools/books/ztxtplucker.py --big KIND PATH   a 5 MB book (ztxt, plucker)

The check script imports BOOKS for what each fixture was written to hold.
"""
import struct
import sys
import zlib

# --- Palm databases -------------------------------------------------------------------------------------


def pdb(name, type_, creator, records, version=0):
    """A record database: 78-byte header, the record list, two bytes of padding, the records."""
    header = name.encode('latin-1')[:31].ljust(32, b'\0')
    header += struct.pack('>HHIIIIII', 0, version, 0xB5E0_0000, 0xB5E0_0000, 0, 0, 0, 0)
    header += type_.encode() + creator.encode() + struct.pack('>IIH', 0, 0, len(records))
    offset = 78 + 8 * len(records) + 2
    entries = b''
    for i, data in enumerate(records):
        entries += struct.pack('>IB', offset, 0x40) + (0x6F0000 + i).to_bytes(3, 'big')
        offset += len(data)
    return header + entries + b'\0\0' + b''.join(records)


def words(count, seed, extra=b''):
    """A deterministic text in cp1252: sentences of words, a paragraph every few sentences."""
    vocabulary = [b'reader', b'palm', b'stream', b'record', b'caf\xe9', b'na\xefve', b'\x93quoted\x94',
                  b'5\x80', b'flush', b'zlib', b'weasel', b'pluck', b'page', b'night', b'river', b'lantern']
    out = bytearray()
    state = seed
    for i in range(count):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        out += vocabulary[(state >> 16) % len(vocabulary)]
        out += b'.\n' if i % 97 == 96 else (b'. ' if i % 13 == 12 else b' ')
    return bytes(out) + extra


# --- zTXT --------------------------------------------------------------------------------------------------


def ztxt_records(text, record_size, random_access):
    """The data records: each record's text compressed and cut at a full flush (random access), or the
    whole text compressed once and cut every record_size bytes (the older one-stream books)."""
    if random_access:
        z = zlib.compressobj(9)
        chunks = [text[i:i + record_size] for i in range(0, len(text), record_size)]
        return [z.compress(c) + (z.flush(zlib.Z_FINISH) if i == len(chunks) - 1 else z.flush(zlib.Z_FULL_FLUSH))
                for i, c in enumerate(chunks)]
    data = zlib.compress(text, 9)
    return [data[i:i + record_size] for i in range(0, len(data), record_size)]


def ztxt(name, text, record_size=1024, random_access=True, version=0x012C, bookmarks=(), annotations=(),
         damage=None, crc=None):
    """A zTXT book; bookmarks and annotations are (offset, title[, text]) and follow the data records.
    damage(records) may change the data records after the CRC-32 is taken."""
    data = ztxt_records(text, record_size, random_access)
    crc_value = 0
    for record in data:
        crc_value = zlib.crc32(record, crc_value)
    if damage:
        damage(data)
    records = data[:]
    bookmark_record = annotation_record = 0
    if bookmarks:
        bookmark_record = 1 + len(records)
        records.append(b''.join(struct.pack('>I', o) + t.ljust(20, b'\0') for o, t, *_ in bookmarks))
    if annotations:
        annotation_record = 1 + len(records)
        records.append(b''.join(struct.pack('>I', o) + t.ljust(20, b'\0') for o, t, *_ in annotations))
        records += [a[2] + b'\0' for a in annotations]
    flags = 0x01 if random_access else 0x00
    record0 = struct.pack('>HHIHHHHHBBI', version, len(data), len(text), record_size, len(bookmarks),
                          bookmark_record, len(annotations), annotation_record, flags, 0,
                          crc_value if crc is None else crc).ljust(32, b'\0')
    return pdb(name, 'zTXT', 'GPlm', [record0] + records)


# --- Plucker -----------------------------------------------------------------------------------------------

def doc_compress(data):
    """PalmDOC compression: back-references of 3 to 10 bytes up to 2047 back, a space and a character of
    40h-7Fh in one byte, bytes that would read as a code in runs of literal bytes."""
    out = bytearray()
    i = 0
    literals = bytearray()

    def flush_literals():
        while literals:
            run = literals[:8]
            del literals[:8]
            out.append(len(run))
            out.extend(run)

    while i < len(data):
        best_length = best_distance = 0
        start = max(0, i - 2047)
        for length in range(min(10, len(data) - i), 2, -1):
            found = data.rfind(data[i:i + length], start, i + length - 1)
            if found != -1 and found < i:
                best_length, best_distance = length, i - found
                break
        if best_length:
            flush_literals()
            value = 0x8000 | (best_distance << 3) | (best_length - 3)
            out += struct.pack('>H', value)
            i += best_length
            continue
        c = data[i]
        if c == 0x20 and i + 1 < len(data) and 0x40 <= data[i + 1] <= 0x7F:
            flush_literals()
            out.append(data[i + 1] ^ 0x80)
            i += 2
            continue
        if c == 0 or 0x09 <= c <= 0x7F:
            flush_literals()
            out.append(c)
        else:
            literals.append(c)
            if len(literals) == 8:
                flush_literals()
        i += 1
    flush_literals()
    return bytes(out)


def compress(data, compression):
    return zlib.compress(data, 9) if compression == 2 else doc_compress(data)


def fn(code, *args):
    """A function: 00h, the code (its low 3 bits the argument length) and its argument bytes."""
    body = b''.join(args)
    assert len(body) == code & 7, hex(code)
    return b'\0' + bytes([code]) + body


def u16(value):
    return struct.pack('>H', value)


FONT = lambda n: fn(0x11, bytes([n]))
BOLD, REGULAR = FONT(7), FONT(0)
ITALIC, END_ITALIC = fn(0x40), fn(0x48)
UNDERLINE, END_UNDERLINE = fn(0x60), fn(0x68)
STRIKE, END_STRIKE = fn(0x70), fn(0x78)
NEW_LINE = fn(0x38)
RULE = fn(0x33, b'\x02\x00\x64')
LINK_END = fn(0x08)


def link(uid):
    return fn(0x0A, u16(uid))


def image(uid):
    return fn(0x1A, u16(uid))


def table(uid):
    return fn(0x92, u16(uid))


def unicode16(code, alternate):
    return fn(0x83, bytes([len(alternate)]), u16(code)) + alternate


def unicode32(code, alternate):
    return fn(0x85, bytes([len(alternate)]), struct.pack('>I', code)) + alternate


def text_record(uid, paragraphs, compression, compressed=True, flags=0, xor_key=None):
    """A text record: its header, the paragraph headers (never compressed), then the paragraphs' data,
    compressed as one block when `compressed` (type 1), else as it is (type 0)."""
    data = b''.join(paragraphs)
    body = compress(data, compression) if compressed else data
    if xor_key and compressed:
        body = bytes(b ^ xor_key[i] for i, b in enumerate(body[:len(xor_key)])) + body[len(xor_key):]
    heads = b''.join(struct.pack('>HH', len(p), 0) for p in paragraphs)
    return struct.pack('>HHHBB', uid, len(paragraphs), len(data), 1 if compressed else 0, flags) + heads + body


def data_record(uid, type_, body, size=None, flags=0):
    return struct.pack('>HHHBB', uid, 0, len(body) if size is None else size, type_, flags) + body


def palm_bitmap(width=8, height=8):
    """An uncompressed one-bit Palm bitmap (version 1) of a frame."""
    row_bytes = ((width + 15) // 16) * 2
    rows = b''
    for y in range(height):
        bits = (1 << width) - 1 if y in (0, height - 1) else (1 << (width - 1)) | 1
        rows += (bits << (row_bytes * 8 - width)).to_bytes(row_bytes, 'big')
    return struct.pack('>HHHHBBHBBH', width, height, row_bytes, 0, 1, 1, 0, 0, 0, 0) + rows


def metadata(items):
    """The metadata record's data: a count, then (type, length in 2-byte words, data) items."""
    body = u16(len(items))
    for type_, data in items:
        data = data + b'\0' * (len(data) & 1)
        body += struct.pack('>HH', type_, len(data) // 2) + data
    return body


def text_item(value):
    return value + b'\0'


def table_data(rows):
    """A table record's data: its 16-byte header, then a row function for each row and a cell function
    before each cell's text."""
    columns = max(len(r) for r in rows)
    body = b''
    for row in rows:
        body += fn(0x90)
        for cell in row:
            body += fn(0x97, b'\0', u16(0), b'\x01\x01', u16(len(cell))) + cell
    return struct.pack('>HHHBBII', len(body), columns, len(rows), 1, 1, 0, 0x0000FF) + body


def plucker(name, compression, records, reserved):
    """A Plucker book: the index record (uid 1, the compression, the reserved (name, uid) pairs) first."""
    index = struct.pack('>HHH', 1, compression, len(reserved))
    index += b''.join(struct.pack('>HH', n, u) for n, u in reserved)
    return pdb(name, 'Data', 'Plkr', [index] + records)


def owner_key(owner):
    """The 40 bytes an owner ID's CRCs make: the ID repeated 2 to 11 times, each CRC-32 big-endian."""
    return b''.join(struct.pack('>I', zlib.crc32(owner * n)) for n in range(2, 12))


# The home page and the second page of the rich book, paragraph by paragraph.
HOME = [
    FONT(1) + b'The Plucker Test' + REGULAR,
    b'Plain words, then ' + BOLD + b'bold words' + REGULAR + b' and ' + ITALIC + b'italic words' + END_ITALIC +
    b' and ' + UNDERLINE + b'underlined' + END_UNDERLINE + b' ones.',
    b'A link to ' + link(3) + b'the second page' + LINK_END + b' and a break:' + NEW_LINE +
    b'the line after it.' + RULE,
    b'An image ' + image(5) + b' and a sign ' + unicode16(0x20AC, b'EUR') + b' in Latin-1 text: caf\xe9.',
    b'A table follows:' + table(6),
]
SECOND = [
    FONT(2) + b'Second Page' + REGULAR,
    b'Here is ' + STRIKE + b'struck' + END_STRIKE + b' text, a face ' + unicode32(0x1F600, b':-)') +
    b' and a new line' + NEW_LINE + b'here, then a compressed image ' + image(7) + b'.',
]
HOME_READ = ('The Plucker Test\nPlain words, then bold words and italic words and underlined ones.\n'
             'A link to the second page and a break:\nthe line after it.\n\n'
             'An image [image] and a sign \u20ac in Latin-1 text: caf\u00e9.\n'
             'A table follows:\nName\tValue\nApples\t3\n')
SECOND_READ = ('Second Page\nHere is struck text, a face \U0001F600 and a new line\n'
               'here, then a compressed image [image].\n')

CYRILLIC = [b'\xcf\xf0\xe8\xe2\xe5\xf2, \xec\xe8\xf0!', b'\xc2\xf2\xee\xf0\xee\xe9 \xe0\xe1\xe7\xe0\xf6.']
LATIN_EXCEPTION = [b'Caf\xe9 au lait, \x93quoted\x94.']


def rich_book():
    meta = metadata([(1, u16(2252)), (4, text_item(b'Ann Author')), (5, text_item(b'The Plucker Test Book')),
                     (6, struct.pack('>I', 0xBA000000))])
    records = [
        text_record(2, HOME, 2),
        text_record(3, SECOND, 2, compressed=False),
        data_record(4, 10, meta),
        data_record(5, 2, palm_bitmap()),
        data_record(6, 13, table_data([[b'Name', b'Value'], [b'Apples', b'3']])),
    ]
    bitmap = palm_bitmap(16, 4)
    records.append(data_record(7, 3, zlib.compress(bitmap, 9), size=len(bitmap)))
    return plucker('Plucker Rich', 2, records, [(0, 2), (4, 4)])


def doc_book():
    first = [b'Plain text compressed the PalmDOC way, said twice: the PalmDOC way.', words(120, 3)]
    second = [b'An uncompressed page with \x80 and \x93quotes\x94.']
    third = [b'A page continued ', b'in the next record: ']
    fourth = [b'here it goes on.', words(40, 9)]
    records = [text_record(2, first, 1), text_record(3, second, 1, compressed=False),
               text_record(4, third, 1, flags=0x01), text_record(5, fourth, 1)]
    return plucker('Plucker DOC', 1, records, [(0, 2)])


def cp1251_book():
    meta = metadata([(1, u16(2251)), (2, u16(3) + u16(2252)), (5, text_item(b'\xca\xed\xe8\xe3\xe0'))])
    records = [text_record(2, CYRILLIC, 2), text_record(3, LATIN_EXCEPTION, 2), data_record(4, 10, meta)]
    return plucker('Plucker cp1251', 2, records, [(0, 2), (4, 4)])


def owner_book():
    key = owner_key(b'owner@example.org')
    meta = metadata([(3, struct.pack('>I', zlib.crc32(b'owner@example.org'))), (5, text_item(b'Kept'))])
    records = [text_record(2, [b'Only for its owner: ' + words(60, 5)], 2, xor_key=key), data_record(3, 10, meta)]
    return plucker('Plucker Owner', 2, records, [(0, 2), (4, 3)])


def plucker_bomb():
    """A text record that announces 64 bytes and inflates to 4 MB, an image that points at nothing, a
    table that holds itself."""
    huge = b'A' * (4 << 20)
    bomb = struct.pack('>HHHBB', 2, 1, 64, 1, 0) + struct.pack('>HH', 64, 0) + zlib.compress(huge, 9)
    loop = data_record(4, 13, table_data([[b'cell ' + table(4)]]))
    page = text_record(3, [b'An image of nothing ' + image(99) + b' and a table in itself:' + table(4)], 2)
    return plucker('Plucker Bomb', 2, [bomb, page, loop], [(0, 2)])


# --- The fixtures ----------------------------------------------------------------------------------------

ZTXT_TEXT = words(900, 1, b'The end.\n')


def damage_third(records):
    records[2] = records[2][:10] + bytes(b ^ 0x5A for b in records[2][10:30]) + records[2][30:]


def ztxt_bomb():
    text = words(300, 7)
    chunks = [text[:1024], b'\0' * (1 << 20), text[1024:]]
    z = zlib.compressobj(9)
    records = [z.compress(c) + z.flush(zlib.Z_FULL_FLUSH) for c in chunks[:2]]
    records.append(z.compress(chunks[2]) + z.flush(zlib.Z_FINISH))
    record0 = struct.pack('>HHIHHHHHBBI', 0x012C, len(records), len(text), 1024, 0, 0, 0, 0, 1, 0, 0)
    return pdb('zTXT Bomb', 'zTXT', 'GPlm', [record0.ljust(32, b'\0')] + records)


BOOKS = {
    'ztxt-random.pdb': lambda: ztxt('zTXT Random', ZTXT_TEXT, bookmarks=[(0, b'Start'), (2048, b'Middle part')],
                                    annotations=[(100, b'A note', b'The text of the first note.'),
                                                 (4000, b'Another', b'Second note, caf\xe9.')]),
    'ztxt-stream.pdb': lambda: ztxt('zTXT Stream', ZTXT_TEXT, record_size=512, random_access=False,
                                    version=0x011E),
    'ztxt-damaged.pdb': lambda: ztxt('zTXT Damaged', ZTXT_TEXT, damage=damage_third),
    'ztxt-bomb.pdb': ztxt_bomb,
    'plucker-rich.pdb': rich_book,
    'plucker-doc.pdb': doc_book,
    'plucker-cp1251.pdb': cp1251_book,
    'plucker-owner.pdb': owner_book,
    'plucker-bomb.pdb': plucker_bomb,
}


def big_ztxt(path):
    text = words(900_000, 11)[:5 << 20]
    with open(path, 'wb') as out:
        out.write(ztxt('Big zTXT', text, record_size=8192))


def big_plucker(path):
    """About 5 MB of text in pages of 4 KB paragraphs with a few functions each, zlib-compressed."""
    text = words(900_000, 13)[:5 << 20]
    records = []
    for number, start in enumerate(range(0, len(text), 16384)):
        chunk = text[start:start + 16384]
        paragraphs = [chunk[i:i + 4096] for i in range(0, len(chunk), 4096)]
        paragraphs[0] = BOLD + paragraphs[0][:20] + REGULAR + paragraphs[0][20:]
        records.append(text_record(2 + number, paragraphs, 2))
    with open(path, 'wb') as out:
        out.write(plucker('Big Plucker', 2, records, [(0, 2)]))


def main(argv):
    if argv[:1] == ['--big']:
        {'ztxt': big_ztxt, 'plucker': big_plucker}[argv[1]](argv[2])
        return
    seeds = argv[:1] == ['--seeds']
    folder = argv[-1]
    for name, make in BOOKS.items():
        with open(f'{folder}/{name}', 'wb') as out:
            out.write(make())
    if seeds:
        # Offsets past the end: a record list that points beyond the file, marks past their record.
        book = BOOKS['ztxt-random.pdb']()
        with open(f'{folder}/ztxt-past-end.pdb', 'wb') as out:
            out.write(book[:78 + 8] + struct.pack('>I', len(book) + 100) + book[78 + 12:])
        with open(f'{folder}/ztxt-marks-cut.pdb', 'wb') as out:
            out.write(ztxt('Cut marks', ZTXT_TEXT[:900], bookmarks=[(1, b'x')] * 3)[:-30])


if __name__ == '__main__':
    main(sys.argv[1:])
