#!/usr/bin/python3
# Writes Photos databases (Foto/Foto) byte by byte from the layout of the
# Zire's Photos application, with no code of corvelle's: the album
# "PhotosDB-Foto" (a record per picture: 40 bytes of sizes and dates, the
# thumbnail, then the name) and each picture's own database, its JPEG file cut
# into "DBLK" blocks of 4096 bytes, each after an 8-byte header. The JPEG
# files are made by netpbm's pnmtojpeg. Also a picture with a block missing and
# one with its blocks out of order, an album record cut short, a deleted one.
#   write-photos-databases.py DIR    DIR/album.pdb, DIR/sunset.pdb, DIR/missing.pdb, DIR/shuffled.pdb
# check-records.py imports this file for ALBUM, PICTURES and jpeg().
import os, struct, subprocess, sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pdbwrite  # noqa: E402

BLOCK = 4096
PALM_2004 = 3159000000  # seconds since 1904: in 2004


def jpeg(width, height, seed):
    """A gradient with a disc and some grain, as pnmtojpeg writes it."""
    pixels = bytearray()
    grain = seed
    for y in range(height):
        for x in range(width):
            grain = (grain * 1103515245 + 12345) % 2 ** 31
            disc = (x - width // 2) ** 2 + (y - height // 2) ** 2 < (min(width, height) // 3) ** 2
            base = (255, 200, 40) if disc else ((x * 255 // width + seed * 40) % 256, y * 255 // height, 120)
            pixels += bytes(min(255, c + grain % 24) for c in base)
    ppm = f"P6 {width} {height} 255\n".encode() + bytes(pixels)
    return subprocess.run(["pnmtojpeg", "-quality=90"], input=ppm, capture_output=True, check=True).stdout


def album_record(name, width, height, size, modified, created, thumbnail):
    name_bytes = name.encode("ascii") + b"\0"
    fixed = bytearray(40)
    struct.pack_into(">HHIIxxxxB", fixed, 4, width, height, modified, size, 0)
    struct.pack_into(">H", fixed, 21, len(name_bytes))  # the name's size lies at an odd offset
    struct.pack_into(">I", fixed, 28, created)
    struct.pack_into(">I", fixed, 36, len(thumbnail))
    return bytes(fixed) + thumbnail + name_bytes


SUNSET = jpeg(320, 240, 1)
ALBUM = [
    dict(name="Sunset", width=320, height=240, size=len(SUNSET), modified=PALM_2004 + 3600,
         created=PALM_2004, thumbnail=jpeg(80, 60, 1), attributes=0x40, cut=None),
    dict(name="Harbour at dawn", width=640, height=480, size=123456, modified=PALM_2004 + 86400,
         created=PALM_2004 + 7200, thumbnail=jpeg(84, 63, 2), attributes=0x40, cut=None),
    dict(name="Cut", width=10, height=10, size=100, modified=0, created=0, thumbnail=jpeg(8, 8, 3),
         attributes=0x40, cut=60),  # the record ends inside its thumbnail
]
# name: (blocks in the order stored, with None for a deleted one)
PICTURES = {"sunset.pdb": "in order", "missing.pdb": "block 2 deleted", "shuffled.pdb": "blocks 1 and 2 swapped"}


def blocks(data):
    return [b"DBLK" + struct.pack(">I", len(data[i:i + BLOCK])) + data[i:i + BLOCK] for i in range(0, len(data), BLOCK)]


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: write-photos-databases.py DIR")
    folder = sys.argv[1]
    records = []
    for i, a in enumerate(ALBUM):
        data = album_record(a["name"], a["width"], a["height"], a["size"], a["modified"], a["created"], a["thumbnail"])
        records.append((a["attributes"], 0x700001 + i, data[:a["cut"]] if a["cut"] else data))
    records.append((0x20 | 0x40, 0x700009, b""))  # deleted, without data, as Photos leaves them
    with open(os.path.join(folder, "album.pdb"), "wb") as out:
        out.write(pdbwrite.database("PhotosDB-Foto", "Foto", "Foto", records,
                                    pdbwrite.category_block(["Unfiled", "Holiday"])))
    pieces = blocks(SUNSET)
    assert len(pieces) >= 3, "the picture must need three blocks"
    layouts = {"sunset.pdb": [(0x40, p) for p in pieces],
               "missing.pdb": [(0x40 | (0x20 if i == 1 else 0), p if i != 1 else b"") for i, p in enumerate(pieces)],
               "shuffled.pdb": [(0x40, p) for p in [pieces[1], pieces[0]] + pieces[2:]]}
    for file, layout in layouts.items():
        with open(os.path.join(folder, file), "wb") as out:
            out.write(pdbwrite.database("Sunset.jpg", "Foto", "Foto",
                                        [(a, 0x710001 + i, d) for i, (a, d) in enumerate(layout)]))


if __name__ == "__main__":
    main()
