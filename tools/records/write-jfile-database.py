#!/usr/bin/python3
# Writes JFile databases (JbDb/JBas) byte by byte from the layout of JFile's
# files (the AppInfo block: 50 field names of 21 bytes, 50 type words, the
# field count, a version word, the data width and 50 column widths; a record: a
# length word per field, its text's length with the zero byte, then the
# texts), with no code of corvelle's. Every field type and one beyond them, an
# unnamed field, texts CSV must quote, a deleted record and records cut short.
#   write-jfile-database.py DIR      DIR/jfile.pdb, DIR/jfile-short-appinfo.pdb
# check-records.py imports this file for FIELDS and RECORDS.
import os, struct, sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pdbwrite  # noqa: E402

ENCODING = "cp1252"
TYPE_WORDS = {1: "text", 2: "check box", 4: "date", 8: "integer", 16: "number", 32: "time"}
# (name, type, column width)
FIELDS = [("Title", 1, 60), ("Read", 2, 12), ("Bought", 4, 40), ("Pages", 8, 24), ("Price", 16, 30),
          ("At", 32, 30), ("Notes, misc", 1, 80), ("", 1, 20), ("Rating", 64, 16)]


def record(values, attributes=0x40, cut=None):
    return dict(values=values, attributes=attributes, cut=cut)


RECORDS = [
    record(["Dune", "1", "1999/3/14", "412", "7.99", "13:45", "Sand, worms\nand spice", "x", "5"]),
    record(["Café \"Noir\"", "0", "", "", "", "", " leading and trailing ", "", ""]),
    record(["", "", "", "", "", "", "", "", ""]),
    record(["Gone", "1", "", "", "", "", "", "", ""], attributes=0x20 | 0x40),
    # The record ends inside field 3 (its length says 10 bytes, 4 are there).
    record(["Cut", "1", "2001/1/1X", "9", "", "", "", "", ""], cut=("inside", 2, 4)),
    # Too short for its length words.
    record(["Short"] + [""] * 8, cut=("lengths", 5)),
]


def record_bytes(r):
    texts = [v.encode(ENCODING) + b"\0" for v in r["values"]]
    data = b"".join(struct.pack(">H", len(t)) for t in texts)
    starts = []
    for t in texts:
        starts.append(len(data))
        data += t
    cut = r["cut"]
    if cut and cut[0] == "inside":
        data = data[:starts[cut[1]] + cut[2]]
    elif cut:
        data = data[:cut[1]]
    return data


def app_info():
    block = b""
    for i in range(50):
        name = FIELDS[i][0] if i < len(FIELDS) else ""
        block += name.encode(ENCODING)[:20].ljust(21, b"\0")
    block += b"".join(struct.pack(">H", FIELDS[i][1] if i < len(FIELDS) else 1) for i in range(50))
    block += struct.pack(">HHH", len(FIELDS), 576, 80)
    block += b"".join(struct.pack(">H", FIELDS[i][2] if i < len(FIELDS) else 80) for i in range(50))
    return block + bytes(450)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: write-jfile-database.py DIR")
    records = [(r["attributes"], 0x400001 + i, record_bytes(r)) for i, r in enumerate(RECORDS)]
    with open(os.path.join(sys.argv[1], "jfile.pdb"), "wb") as out:
        out.write(pdbwrite.database("Books", "JbDb", "JBas", records, app_info()))
    # A block that ends inside its column widths: no field list, the records shown as bytes.
    with open(os.path.join(sys.argv[1], "jfile-short-appinfo.pdb"), "wb") as out:
        out.write(pdbwrite.database("Short", "JbDb", "JBas", records[:2], app_info()[:1160]))


if __name__ == "__main__":
    main()
