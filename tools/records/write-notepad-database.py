#!/usr/bin/python3
# Writes a Note Pad database (DATA/npad) byte by byte from the layout of the
# Palm OS Note Pad (two times of seven words, a flags word, the alarm and the
# title where the flags say so, the title padded to a word; the drawing's
# length, width, height, a reserved word, its kind and its data's length, then
# the data: bits in rows padded to 16-bit words, the same in runs of (count,
# byte), or a PNG file made by netpbm's pnmtopng), with no code of corvelle's.
# Drawings of each kind, odd and even titles, an alarm, a deleted note, notes
# cut short and bombs (a stated size far past the data).
#   write-notepad-database.py DIR      DIR/notepad.pdb
# check-records.py imports this file for NOTES and draw().
import os, struct, subprocess, sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pdbwrite  # noqa: E402

ENCODING = "cp1252"
FLAG_DRAWING, FLAG_TITLE, FLAG_ALARM = 0x01, 0x02, 0x04


def draw(width, height, seed):
    """A picture as rows of 0 (white) and 1 (black): a frame, a diagonal and a blot that `seed` moves."""
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            frame = x == 0 or y == 0 or x == width - 1 or y == height - 1
            diagonal = abs(x * height - y * width) < max(width, height)
            blot = (x - seed * 7 % width) ** 2 + (y - seed * 5 % height) ** 2 < 40
            row.append(1 if frame or diagonal or blot else 0)
        rows.append(row)
    return rows


def packed_bits(rows, width):
    """Rows of bits, most significant first, each padded to a 16-bit word with white."""
    row_bytes = (width + 15) // 16 * 2
    out = bytearray()
    for row in rows:
        padded = row + [0] * (row_bytes * 8 - width)
        for i in range(0, len(padded), 8):
            out.append(sum(bit << (7 - k) for k, bit in enumerate(padded[i:i + 8])))
    return bytes(out)


def runs(data):
    """The bytes as (count, byte) pairs, runs of at most 255."""
    out, i = bytearray(), 0
    while i < len(data):
        j = i
        while j < len(data) and data[j] == data[i] and j - i < 255:
            j += 1
        out += bytes([j - i, data[i]])
        i = j
    return bytes(out)


def png_of(rows, width, height):
    pixels = bytes(0 if bit else 255 for row in rows for bit in row)
    pgm = f"P5 {width} {height} 255\n".encode() + pixels
    return subprocess.run(["pnmtopng"], input=pgm, capture_output=True, check=True).stdout


def note(title=None, alarm=None, drawing=None, attributes=0x40, cut=None, seed=1):
    return dict(title=title, alarm=alarm, drawing=drawing, attributes=attributes, cut=cut, seed=seed,
                created=(12, 34, 9, 29, 2, 2004, 0), changed=(5, 6, 17, 1 + seed, 3, 2004, 1))


NOTES = [
    # The device's own size: 152 wide, so each row holds 160 bits.
    note(title="Map to the cafe", alarm=(0, 30, 8, 2, 3, 2004, 2), drawing=("runs", 152, 140), seed=1),
    note(title="Odd", drawing=("bits", 40, 30), seed=2),  # a title of odd length: no pad byte
    note(drawing=("runs", 16, 16), seed=3),  # no title: the list shows when it was made
    note(title="Later devices", drawing=("png", 64, 48), seed=4),
    note(title="Gone", drawing=("runs", 20, 10), attributes=0x20 | 0x40, seed=5),
    note(title="Words only"),
    # Cut inside the drawing's data: the rows the data gives, the rest said.
    note(title="Cut", drawing=("runs", 152, 140), cut=("data", 300), seed=6),
    # Bombs: the size stated far past the data.
    note(title="Bomb", drawing=("bomb", 2000, 2000), seed=7),
    note(title="Too large", drawing=("bomb", 60000, 60000), seed=8),
    # Cut inside the flags.
    note(title="never", cut=("bytes", 29)),
]


def drawing_data(kind, width, height, seed):
    if kind == "bomb":  # two runs of black: a row and a bit
        return 1, runs(b"\xff" * 300)
    rows = draw(width, height, seed)
    if kind == "png":
        return 2, png_of(rows, width, height)
    bits = packed_bits(rows, width)
    return (1, runs(bits)) if kind == "runs" else (0, bits)


def record_bytes(n):
    flags = (FLAG_DRAWING if n["drawing"] else 0) | (FLAG_TITLE if n["title"] is not None else 0) | \
            (FLAG_ALARM if n["alarm"] else 0)
    data = struct.pack(">7H", *n["created"]) + struct.pack(">7H", *n["changed"]) + struct.pack(">H", flags)
    if n["alarm"]:
        data += struct.pack(">7H", *n["alarm"])
    if n["title"] is not None:
        title = n["title"].encode(ENCODING) + b"\0"
        data += title + (b"\0" if len(title) % 2 else b"")
    if n["drawing"]:
        kind, width, height = n["drawing"]
        code, payload = drawing_data(kind, width, height, n["seed"])
        data += struct.pack(">6I", len(payload) + 24, width, height, 1, code, len(payload)) + payload
    cut = n["cut"]
    if cut and cut[0] == "data":
        data = data[:len(data) - len(payload) + cut[1]]
    elif cut:
        data = data[:cut[1]]
    return data


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: write-notepad-database.py DIR")
    records = [(n["attributes"], 0x600001 + i, record_bytes(n)) for i, n in enumerate(NOTES)]
    app_info = pdbwrite.category_block(["Unfiled", "Maps"]) + struct.pack(">HBB", 0, 0, 0)
    with open(os.path.join(sys.argv[1], "notepad.pdb"), "wb") as out:
        out.write(pdbwrite.database("NotePadDB", "DATA", "npad", records, app_info))


if __name__ == "__main__":
    main()
