"""Writes Mobipocket books from the format's public description, for the checks that read them
with independent readers (mobitool) and with corvelle-dump: PalmDOC and HUFF/CDIC compression,
trailing entries, EXTH metadata, images. Nothing in Debian writes HUFF/CDIC; calibre writes the
other kinds (tools/books/make-calibre-books.sh), and these add what calibre does not.

Integers are big-endian. Record 0: the PalmDOC header (16 bytes), the MOBI header (232 bytes),
the EXTH block, the full name. Text records: at most RECORD_SIZE bytes of text each, compressed,
then the trailing entries the extra data flags announce."""
import heapq
import re
import struct

RECORD_SIZE = 4096
UNCOMPRESSED, PALMDOC, HUFF_CDIC = 1, 2, 17480


# ------------------------------------------------------------------ the database
def database(name, type_, creator, records):
    """A Palm database of records: the 78-byte header, the record list, two bytes of gap, the data."""
    seconds = 3_700_000_000  # fixed, so that the same book gives the same file
    header = name.encode("latin-1")[:31].ljust(32, b"\0")
    header += struct.pack(">HHIIIIII", 0, 0, seconds, seconds, 0, 0, 0, 0)
    header += type_.encode() + creator.encode() + struct.pack(">IIH", 2 * len(records) + 1, 0, len(records))
    offset = len(header) + 8 * len(records) + 2
    listing = b""
    for index, record in enumerate(records):
        listing += struct.pack(">IB", offset, 0) + (2 * index).to_bytes(3, "big")
        offset += len(record)
    return header + listing + b"\0\0" + b"".join(records)


# ------------------------------------------------------------------ trailing entries
def backward_size(size_without):
    """The bytes of a trailing entry's size, read backwards from the record's end: the last byte holds
    the lowest 7 bits, the first has 80h set. The size counts its own bytes."""
    for length in range(1, 5):
        total = size_without + length
        if total < 1 << (7 * length):
            digits = [(total >> (7 * i)) & 0x7F for i in reversed(range(length))]
            digits[0] |= 0x80
            return bytes(digits)
    raise ValueError("entry too large")


def trailing_entries(flags, overlap, index):
    """The multibyte entry (bit 0) next to the text, then one entry for each of bits 1-15, the highest last."""
    out = b""
    if flags & 1:
        out += overlap + bytes([len(overlap)])
    for bit in range(1, 16):
        if flags & (1 << bit):
            data = bytes([bit, index & 0xFF]) * (bit % 3 + 1)
            out += data + backward_size(len(data))
    return out


# ------------------------------------------------------------------ PalmDOC compression
def palmdoc_compress(data):
    """LZ77 as PalmDOC has it: bytes 09h-7Fh and 00h as themselves, 01h-08h a run of literals,
    80h-BFh with the next byte a distance (11 bits) and length (3 bits + 3), C0h-FFh a space and a
    character 40h-7Fh. The most recent place of each three bytes is the only candidate: enough."""
    out = bytearray()
    last = {}
    i, n = 0, len(data)
    while i < n:
        key = data[i:i + 3]
        candidate = last.get(key)
        if i + 2 < n:
            last[key] = i
        if candidate is not None and 0 < i - candidate <= 2047:
            length = 3
            while length < 10 and i + length < n and data[candidate + length] == data[i + length]:
                length += 1
            out += struct.pack(">H", 0x8000 | ((i - candidate) << 3) | (length - 3))
            for j in range(i + 1, min(i + length, n - 2)):
                last[data[j:j + 3]] = j
            i += length
            continue
        byte = data[i]
        if byte == 0x20 and i + 1 < n and 0x40 <= data[i + 1] <= 0x7F:
            out.append(data[i + 1] ^ 0x80)
            i += 2
        elif byte == 0 or 0x09 <= byte <= 0x7F:
            out.append(byte)
            i += 1
        else:
            run = data[i:i + 1]
            out.append(1)
            out += run
            i += 1
    return bytes(out)


# ------------------------------------------------------------------ HUFF/CDIC
def huffman_lengths(weights):
    """Code lengths of a Huffman code for these weights (index -> weight)."""
    heap = [(w, i, [i]) for i, w in enumerate(weights)]
    heapq.heapify(heap)
    lengths = [0] * len(weights)
    tie = len(weights)
    while len(heap) > 1:
        w1, _, a = heapq.heappop(heap)
        w2, _, b = heapq.heappop(heap)
        for s in a + b:
            lengths[s] += 1
        heapq.heappush(heap, (w1 + w2, tie, a + b))
        tie += 1
    return lengths


class Dictionary:
    """Symbols (bytes) with their codes. Longer codes are smaller numbers; symbols are numbered by
    their code's length, then from the largest code down, so that a symbol's number is its length's
    stored maximum minus its code. Composite symbols are strings of other symbols, compressed."""

    def __init__(self, symbols, weights, composites):
        # Rare symbols of their own make the longest code at least 8 bits: the zero bits that pad a
        # compressed string to a whole byte must never complete a code.
        self.symbols = list(symbols) + [b""] * 10
        weights = list(weights) + [1e-9 / 4 ** k for k in range(10)]
        self.composites = composites  # symbol index -> list of symbol indexes
        lengths = huffman_lengths(weights)
        assert max(lengths) <= 32 and max(lengths) >= 8
        by_length = {}
        for s, length in enumerate(lengths):
            by_length.setdefault(length, []).append(s)
        self.start, self.count, self.stored_max = {}, {}, {}
        self.code = {}
        following = 0
        for length in range(max(lengths), 0, -1):
            start = (following + 1) >> 1 if length < max(lengths) else 0
            members = by_length.get(length, [])
            self.start[length], self.count[length] = start, len(members)
            for k, s in enumerate(members):
                self.code[s] = (start + k, length)
            following = start + len(members)
        assert following == 2, "the code is complete"
        self.order = []  # symbol numbers: by length, then from the largest code down
        for length in range(1, max(lengths) + 1):
            members = sorted(by_length.get(length, []), key=lambda s: -self.code[s][0])
            base = len(self.order)
            if members:
                self.stored_max[length] = base + self.start[length] + self.count[length] - 1
            self.order += members
        self.longest = max(lengths)

    def bits(self, symbols):
        out, value, have = bytearray(), 0, 0
        for s in symbols:
            code, length = self.code[s]
            value = (value << length) | code
            have += length
            while have >= 8:
                have -= 8
                out.append((value >> have) & 0xFF)
            value &= (1 << have) - 1
        if have:
            out.append((value << (8 - have)) & 0xFF)
        return bytes(out)

    def huff_record(self):
        table = []
        for prefix in range(256):
            word = None
            for length in range(1, 9):
                code = prefix >> (8 - length)
                if self.count.get(length) and self.start[length] <= code < self.start[length] + self.count[length]:
                    word = length | 0x80 | (self.stored_max[length] << 8)
                    break
            if word is None:
                for length in range(9, self.longest + 1):
                    low, high = prefix << (length - 8), (prefix + 1) << (length - 8)
                    if self.count.get(length) and self.start[length] < high and \
                            low < self.start[length] + self.count[length]:
                        word = length
                        break
            table.append(word)
        pairs = []
        for length in range(1, 33):
            pairs += [self.start.get(length, 0), self.stored_max.get(length, 0)]
        head = b"HUFF" + struct.pack(">IIIII", 24, 24, 24 + 1024, 24 + 1024 + 256, 24 + 1024 + 256 + 1024)
        return (head + struct.pack(">256I", *table) + struct.pack(">64I", *pairs) +
                struct.pack("<256I", *table) + struct.pack("<64I", *pairs))

    def cdic_records(self, bits):
        records = []
        per_record = 1 << bits
        for first in range(0, len(self.order), per_record):
            numbers = self.order[first:first + per_record]
            offsets, body = [], b""
            for s in numbers:
                offsets.append(2 * len(numbers) + len(body))
                if s in self.composites:
                    data = self.bits(self.composites[s])
                    body += struct.pack(">H", len(data)) + data
                else:
                    body += struct.pack(">H", 0x8000 | len(self.symbols[s])) + self.symbols[s]
            assert max(offsets) < 0x10000
            records.append(b"CDIC" + struct.pack(">III", 16, len(self.order), bits) +
                           struct.pack(">%dH" % len(offsets), *offsets) + body)
        return records


TOKEN = re.compile(rb"[A-Za-z\x80-\xff]+|.", re.S)


def huff_compress(chunks, bits=10, composite_pairs=24):
    """Dictionary and compressed text records for these chunks of text. Words and single bytes are
    plain symbols; the most frequent pairs of symbols, and pairs of those with a further symbol,
    are composite symbols that decode to their parts."""
    tokens = [TOKEN.findall(chunk) for chunk in chunks]
    pair_counts = {}
    for line in tokens:
        for a, b in zip(line, line[1:]):
            pair_counts[(a, b)] = pair_counts.get((a, b), 0) + 1
    pairs = sorted(pair_counts, key=lambda p: -pair_counts[p])[:composite_pairs]
    symbols = sorted({t for line in tokens for t in line} | {t for p in pairs for t in p})
    index = {s: i for i, s in enumerate(symbols)}
    composites = {}
    joined = {}
    for a, b in pairs:
        composites[len(symbols)] = [index[a], index[b]]
        joined[(a, b)] = len(symbols)
        symbols.append(a + b)
    # Two levels deep: the first composite followed by each byte that follows it.
    deep = {}
    if pairs:
        first = joined[pairs[0]]
        for follower in (b" ", b".", b","):
            if follower in index:
                composites[len(symbols)] = [first, index[follower]]
                deep[follower] = len(symbols)
                symbols.append(pairs[0][0] + pairs[0][1] + follower)
    encoded = []
    weights = [1] * len(symbols)
    for line in tokens:
        out, i = [], 0
        while i < len(line):
            if i + 1 < len(line) and (line[i], line[i + 1]) in joined:
                s = joined[(line[i], line[i + 1])]
                i += 2
                if pairs and s == joined[pairs[0]] and i < len(line) and line[i] in deep:
                    s = deep[line[i]]
                    i += 1
            else:
                s = index[line[i]]
                i += 1
            out.append(s)
            weights[s] += 1
        encoded.append(out)
    plain = [b"" if i in composites else s for i, s in enumerate(symbols)]
    dictionary = Dictionary(plain, weights, composites)
    return dictionary, [dictionary.bits(line) for line in encoded], dictionary.cdic_records(bits)


# ------------------------------------------------------------------ the book
def exth_block(records):
    body = b"".join(struct.pack(">II", t, 8 + len(d)) + d for t, d in records)
    block = b"EXTH" + struct.pack(">II", 12 + len(body), len(records)) + body
    return block + b"\0" * (-len(block) % 4)


def split_text(text, utf8, multibyte):
    """Records of RECORD_SIZE bytes, cut anywhere; with the multibyte flag, each record's overlap is
    the rest of the UTF-8 character its last byte begins (the bytes that open the next record)."""
    chunks, overlaps = [], []
    for start in range(0, len(text), RECORD_SIZE):
        chunk = text[start:start + RECORD_SIZE]
        after = start + len(chunk)
        overlap = b""
        if multibyte and utf8:
            while after + len(overlap) < len(text) and len(overlap) < 3 and \
                    text[after + len(overlap)] & 0xC0 == 0x80:
                overlap += text[after + len(overlap):after + len(overlap) + 1]
        chunks.append(chunk)
        overlaps.append(overlap)
    return chunks, overlaps


def book(text, title, compression=PALMDOC, encoding=65001, extra_flags=0, exth=(), images=(), encryption=0,
         type_="BOOK", creator="MOBI", version=6, cdic_bits=10, huff_override=None):
    """A whole book file. `text` is the markup in the book's code page; `images` whole image files.
    `huff_override(records, texts)` may put another dictionary in (the bad-input books)."""
    chunks, overlaps = split_text(text, encoding == 65001, extra_flags & 1)
    huff_records = []
    if compression == HUFF_CDIC:
        dictionary, texts, cdics = huff_compress(chunks, cdic_bits)
        huff_records = [dictionary.huff_record()] + cdics
        if huff_override:
            huff_records, texts = huff_override(huff_records, texts)
    elif compression == PALMDOC:
        texts = [palmdoc_compress(c) for c in chunks]
    else:
        texts = list(chunks)
    records = [t + trailing_entries(extra_flags, o, i) for i, (t, o) in enumerate(zip(texts, overlaps))]
    first_after_text = 1 + len(records)
    huff_at = first_after_text if huff_records else 0
    first_image = first_after_text + len(huff_records)
    name = title.encode("utf-8" if encoding == 65001 else "cp1252")
    exth_bytes = exth_block(list(exth)) if exth else b""
    mobi = struct.pack(">4sIIIII", b"MOBI", 232, 2, encoding, 0x1234, version) + b"\xff" * 40
    mobi += struct.pack(">IIIIIIIIIIIII", first_after_text, 248 + len(exth_bytes), len(name), 9, 0, 0, version,
                        first_image, huff_at, len(huff_records), 0, 0, 0x50 if exth else 0)
    mobi += b"\0" * 32 + struct.pack(">IIIII", 0xFFFFFFFF, 0xFFFFFFFF, 0, 0, 0) + b"\0" * 8
    mobi += struct.pack(">HHIIIIII", 1, len(records), 1, 0xFFFFFFFF, 0, 0xFFFFFFFF, 0, 0) + b"\0" * 4
    mobi += struct.pack(">IIIIHHI", 0xFFFFFFFF, 0, 0xFFFFFFFF, 0xFFFFFFFF, 0, extra_flags, 0xFFFFFFFF)
    assert len(mobi) == 232, len(mobi)
    palmdoc = struct.pack(">HHIHHHH", compression, 0, len(text), len(records), RECORD_SIZE, encryption, 0)
    record0 = palmdoc + mobi + exth_bytes + name + b"\0\0"
    record0 += b"\0" * (-len(record0) % 4)
    all_records = [record0] + records + huff_records + list(images) + [b"\xe9\x8e\r\n"]
    return database(title.encode("ascii", "replace").decode()[:31], type_, creator, all_records)


# ------------------------------------------------------------------ the first books: PalmDOC without a MOBI header
def palmdoc_book(text, title, compression=PALMDOC, position=0, encryption=None, extra=b"", after=()):
    """A TEXt/REAd database as Mobipocket's first books and plain PalmDOC documents are: record 0 the
    16-byte PalmDOC header (compression, 0, text length, record count, record size, then a 4-byte reading
    position), `extra` bytes after it (Mobipocket's longer record 0); with `encryption`, bytes 12-13 hold
    it instead of the position's high half (the key data are `extra`). `after`: records after the text."""
    chunks = [text[start:start + RECORD_SIZE] for start in range(0, len(text), RECORD_SIZE)]
    texts = [palmdoc_compress(c) for c in chunks] if compression == PALMDOC else chunks
    record0 = struct.pack(">HHIHHI", compression, 0, len(text), len(texts), RECORD_SIZE, position)
    if encryption is not None:
        record0 = record0[:12] + struct.pack(">H", encryption) + record0[14:]
    return database(title[:31], "TEXt", "REAd", [record0 + extra] + texts + list(after))
