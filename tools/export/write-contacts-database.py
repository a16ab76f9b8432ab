#!/usr/bin/python3
# Writes Contacts databases (DATA/PAdd) byte by byte from the layout of the
# Palm OS 5 address book, with no code of corvelle's: no packaged tool writes
# them. Every field, label code (named and beyond), flag and blob kind occurs,
# and the records that stop early (a cut text, a blob leaving the record, a
# picture that is no JPEG image, a short anniversary). The picture is a JPEG
# image made by netpbm's pnmtojpeg.
#   write-contacts-database.py DIR      DIR/contacts.pdb (a 1156-byte AppInfo block), DIR/contacts-1092.pdb
# check-contacts.py imports this file for CONTACTS and the layout words it expects.
import math, os, struct, subprocess, sys

ENCODING = "cp1252"
PHONE_WORDS = ["Work", "Home", "Fax", "Other", "E-mail", "Main", "Pager", "Mobile"]
ADDRESS_WORDS = ["Work", "Home", "Other"]
IM_WORDS = ["IM", "AIM", "MSN", "Yahoo", "ICQ"]
# Fields 0-38, in the order the record stores them.
LAST, FIRST, COMPANY, TITLE, PHONE1, IM1, WEBSITE, CUSTOM1, ADDRESS1, NOTE = 0, 1, 2, 3, 4, 11, 13, 14, 23, 38


def face_jpeg():
    """A 48 x 48 face on a gradient, as pnmtojpeg writes it."""
    pixels = bytearray()
    for y in range(48):
        for x in range(48):
            dx, dy = x - 23.5, y - 23.5
            colour = (40 + 3 * x, 90 + 2 * y, 200 - 2 * x)
            if math.hypot(dx, dy) < 20:
                colour = (235, 190, 150)
                if abs(abs(dx) - 7) < 3 and abs(dy + 5) < 3:
                    colour = (40, 40, 90)
                if 6 < dy < 10 and abs(dx) < 9:
                    colour = (190, 40, 50)
            pixels += bytes(colour)
    ppm = b"P6 48 48 255\n" + bytes(pixels)
    return subprocess.run(["pnmtojpeg", "-quality=75"], input=ppm, capture_output=True, check=True).stdout


def packed_date(year, month, day):
    return ((year - 1904) << 9) | (month << 5) | day


def contact(**kw):
    """A record as written: labels, texts by field number, birthday parts, blobs, and how it is cut."""
    record = dict(attributes=0x40, phone_labels=[0] * 7, shown=0, address_labels=[0, 1, 2], im_labels=[0, 0],
                  fields={}, birthday=None, birthday_flags=None, reminder_days=None, blobs=[], cut=None)
    record.update(kw)
    return record


JPEG = face_jpeg()
ALL_FIELDS = {LAST: "Doe", FIRST: "Zoë", COMPANY: "Acme; Café, Inc.", TITLE: "Engineer",
              IM1: "zoe.aim", IM1 + 1: "zoe@msn.example", WEBSITE: "http://example.com/zoe",
              NOTE: "Met at the fair,\nlikes tea; €5 a cup"}
ALL_FIELDS.update({PHONE1 + i: f"555-010{i}" for i in range(7)})
ALL_FIELDS[PHONE1 + 4] = "zoe@example.com"  # under the E-mail label
ALL_FIELDS.update({CUSTOM1 + i: f"custom value {i + 1}" for i in range(9)})
for a, place in enumerate(("Work", "Home", "Other")):
    for p, part in enumerate(("1 Main St", "Springfield", "IL", "62701", "USA")):
        ALL_FIELDS[ADDRESS1 + 5 * a + p] = f"{place} {part}"

CONTACTS = [
    # Everything: phones under labels 0-5 and 7 (Mobile shown), AIM and MSN, three addresses, a birthday with a
    # reminder, the picture, an anniversary with a reminder (and bytes after its five), a blob of no known kind.
    contact(attributes=0x41, phone_labels=[0, 1, 2, 3, 4, 5, 7], shown=6, im_labels=[1, 2], fields=ALL_FIELDS,
            birthday=packed_date(1970, 3, 14), birthday_flags=1, reminder_days=3,
            blobs=[(b"Bd00", b"\x00\x01" + JPEG),
                   (b"Bd01", struct.pack(">HHB", packed_date(1995, 6, 10), 1, 1) + b"xy"), (b"Xtra", b"12345")]),
    # A company alone in the list; Pager and codes beyond the named ones (Phone, Address); Yahoo and ICQ; a
    # birthday without flags; private; a 10-byte JPEG image, so that its base64 ends in "==" (record 8's in "=").
    contact(attributes=0x12, phone_labels=[6, 9, 15, 0, 0, 0, 0], shown=1, address_labels=[5, 0, 0], im_labels=[3, 4],
            fields={COMPANY: "Globex", PHONE1: "555-0200", PHONE1 + 1: "555-0201", PHONE1 + 2: "555-0202",
                    IM1: "globex_y", IM1 + 1: "123456", ADDRESS1 + 1: "Cypress Creek"},
            birthday=packed_date(1980, 1, 1), blobs=[(b"Bd00", b"\x00\x00\xff\xd8\xff\xd9abcdef")]),
    # A first name alone; a plain IM and one beyond the named codes; custom 1 and 9 with nothing renamed for 9;
    # a birthday with a reminder of one day but no date; an anniversary without a reminder; an empty blob.
    contact(attributes=0x03, im_labels=[0, 7],
            fields={FIRST: "Solo", IM1: "solo-im", IM1 + 1: "solo-other", WEBSITE: "solo.example",
                    CUSTOM1: "first custom", CUSTOM1 + 8: "ninth custom", ADDRESS1 + 10: "Far away"},
            birthday_flags=1, reminder_days=1,
            blobs=[(b"Bd01", struct.pack(">HHB", packed_date(2010, 12, 31), 0, 0)), (b"\x01Bd\xff", b"")]),
    # A picture that is no JPEG image stops the decoding there: the anniversary after it is not read.
    contact(fields={LAST: "Broken"},
            blobs=[(b"Bd00", b"\x00\x00GIF89a"), (b"Bd01", struct.pack(">HHB", packed_date(2000, 1, 1), 1, 7))]),
    # Deleted: in the JSON only.
    contact(attributes=0x20, fields={LAST: "Gone"}),
    # The record ends inside the first name.
    contact(fields={LAST: "Cut", FIRST: "Janet", NOTE: "never read"}, cut=("inside", FIRST, 2)),
    # An anniversary of three bytes: its date, then the stop.
    contact(fields={LAST: "Short"}, blobs=[(b"Bd01", struct.pack(">H", packed_date(2001, 2, 3)) + b"\x00")]),
    # A picture blob whose size leaves the record.
    contact(fields={LAST: "Leaving"}, blobs=[(b"Bd00", b"\x00\x00\xff\xd8" + b"\x00" * 496)], cut=("blob", 10)),
    # A JPEG image's start with nothing decodable after it (a viewer shows no picture; the vCard keeps it), and a
    # birthday on no day of the calendar (the vCard leaves it out).
    contact(fields={LAST: "Blurred", FIRST: "Bea"}, blobs=[(b"Bd00", b"\x00\x00\xff\xd8\xff\xe0garbage")],
            birthday=packed_date(2003, 2, 31)),
]

# Labels 14-22 name custom 1-9: some renamed, some empty (shown as "Custom N").
LABELS_1156 = [f"Label {i}" for i in range(53)]
for i, name in zip(range(14, 23), ["Spouse", "", "Kids", "Hobby", "", "Pet", "Car", "Club", ""]):
    LABELS_1156[i] = name
LABELS_1092 = [f"L{i}" for i in range(49)]
LABELS_1092[14:23] = [f"Extra {i}" for i in range(1, 10)]
CONTACTS_1092 = [contact(fields={LAST: "Sorted", **{CUSTOM1 + i: f"c{i + 1}" for i in range(9)}})]
DATABASES = {
    "contacts.pdb": dict(labels=LABELS_1156, country=22, options=0x00, records=CONTACTS),
    "contacts-1092.pdb": dict(labels=LABELS_1092, country=5, options=0x01, records=CONTACTS_1092),
}
CATEGORIES = ["Unfiled", "Business", "Personal"]


def text(value):
    return value.encode(ENCODING) + b"\0"


def record_bytes(record):
    """The record as the device stores it; with the offsets of its parts for the cut and stop lines."""
    labels = sum(code << (4 * i) for i, code in enumerate(record["phone_labels"])) | record["shown"] << 28
    addresses = sum(code << (4 * i) for i, code in enumerate(record["address_labels"]))
    ims = sum(code << (4 * i) for i, code in enumerate(record["im_labels"]))
    fields = record["fields"]
    flags1 = sum(1 << f for f in fields if f < 28)
    flags2 = sum(1 << (f - 28) for f in fields if f >= 28)
    flags2 |= (0x0800 if record["birthday"] is not None else 0) | (0x1000 if record["birthday_flags"] is not None
                                                                    else 0) | (0x2000 if record["reminder_days"]
                                                                               is not None else 0)
    texts, starts = b"", {}
    for f in sorted(fields):
        starts[f] = len(texts)
        texts += text(fields[f])
    company = starts.get(COMPANY, 0) if COMPANY in fields else 0
    data = struct.pack(">IHHIIB", labels, addresses, ims, flags1, flags2, min(company, 255))
    starts = {f: len(data) + at for f, at in starts.items()}
    data += texts
    if record["birthday"] is not None:
        data += struct.pack(">H", record["birthday"])
    if record["birthday_flags"] is not None:
        data += struct.pack(">H", record["birthday_flags"])
    if record["reminder_days"] is not None:
        data += struct.pack(">B", record["reminder_days"])
    blob_at = []
    for blob_id, payload in record["blobs"]:
        blob_at.append(len(data))
        data += blob_id + struct.pack(">H", len(payload)) + payload
    cut = record["cut"]
    if cut and cut[0] == "inside":  # inside a text: its first bytes, no zero byte
        data = data[:starts[cut[1]] + cut[2]]
    elif cut and cut[0] == "blob":  # inside the last blob
        data = data[:blob_at[-1] + cut[1]]
    return data, blob_at


def category_block():
    block = struct.pack(">H", 0)
    for i in range(16):
        block += (CATEGORIES[i] if i < len(CATEGORIES) else "").encode(ENCODING).ljust(16, b"\0")
    block += bytes(range(16)) + bytes([15, 0])
    return block + struct.pack(">H", 0) + bytes(16)  # colour flags, 16 colours: 294 bytes


def app_info(database):
    block = category_block() + bytes(2) + b"\x00\x00\x00\x00\x00\x04\x00\x00"  # reserved, renamed-label flags
    for label in database["labels"]:
        block += label.encode(ENCODING)[:15].ljust(16, b"\0")
    return block + bytes([database["country"], 0, database["options"], 0])


def database_bytes(name, database):
    records = [record_bytes(r)[0] for r in database["records"]]
    info = app_info(database)
    count = len(records)
    first = 78 + 8 * count + 2
    header = name.encode("ascii").ljust(32, b"\0")
    header += struct.pack(">HHIIIIII", 0x0008, 1, 0xC0000000, 0xC1000000, 0, 7, first, 0)
    header += b"DATAPAdd" + struct.pack(">IIH", 0, 0, count)
    at = first + len(info)
    entries = b""
    for i, (data, record) in enumerate(zip(records, database["records"])):
        entries += struct.pack(">I", at) + bytes([record["attributes"]]) + (0x500001 + i).to_bytes(3, "big")
        at += len(data)
    return header + entries + b"\0\0" + info + b"".join(records)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: write-contacts-database.py DIR")
    for file, database in DATABASES.items():
        with open(os.path.join(sys.argv[1], file), "wb") as out:
            out.write(database_bytes(file.split(".")[0], database))


if __name__ == "__main__":
    main()
