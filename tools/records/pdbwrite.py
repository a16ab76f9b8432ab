# The container of a Palm OS record database, written from the format's
# description for the fixture writers beside this file: the 78-byte header, the
# record list, the AppInfo block and the records. No code of corvelle's.
import struct

CATEGORY_BLOCK_SIZE = 276  # renamed flags, 16 labels, 16 IDs, the last ID, a pad byte


def category_block(labels, encoding="cp1252"):
    """The standard category block: up to 16 labels, unique IDs 0-15."""
    block = struct.pack(">H", 0)
    for i in range(16):
        block += (labels[i] if i < len(labels) else "").encode(encoding)[:15].ljust(16, b"\0")
    return block + bytes(range(16)) + bytes([15, 0])


def database(name, type_, creator, records, app_info=b"", created=0xBA000000, modified=0xBB000000):
    """The whole file. `records` holds (attributes, unique ID, bytes) triples."""
    count = len(records)
    first = 78 + 8 * count + 2
    app_at = first if app_info else 0
    header = name.encode("ascii")[:31].ljust(32, b"\0")
    header += struct.pack(">HHIIIIII", 0x0008, 0, created, modified, 0, 1, app_at, 0)
    header += type_.encode("ascii") + creator.encode("ascii") + struct.pack(">IIH", 0, 0, count)
    at = first + len(app_info)
    entries = b""
    for attributes, unique_id, data in records:
        entries += struct.pack(">I", at) + bytes([attributes]) + unique_id.to_bytes(3, "big")
        at += len(data)
    return header + entries + b"\0\0" + app_info + b"".join(data for _, _, data in records)


def packed_date(year, month, day):
    return ((year - 1904) << 9) | (month << 5) | day
