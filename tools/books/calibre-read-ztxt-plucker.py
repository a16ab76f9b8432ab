"""calibre's own reading of a zTXT or Plucker book, as JSON on standard output:
for zTXT, record 0 as calibre reads it and each data record's inflated bytes
(calibre's zTXT reader, which takes random-access books of version 1.40 on
only); for Plucker, each text record's decompressed bytes and the HTML
calibre makes of it (its reader ignores the book's character set), keyed by
the record's number in the file. A book calibre refuses says why. Bytes are
given as hex, and for a record of more than 16 KB as its length, SHA-256 and
first 4096 bytes (its HTML as its length and first 4096 characters). Run with calibre's interpreter:
    calibre-debug tools/books/calibre-read-ztxt-plucker.py BOOK.pdb
"""
import hashlib
import json
import sys

from calibre.ebooks.pdb.header import PdbHeaderReader
from calibre.utils.logging import default_log


class Options:
    input_encoding = None


def raw(data):
    if len(data) <= 16384:
        return {'hex': data.hex()}
    return {'length': len(data), 'sha256': hashlib.sha256(data).hexdigest(), 'head': data[:4096].hex()}


def read_ztxt(header, stream, result):
    from calibre.ebooks.pdb.ztxt.reader import Reader
    try:
        reader = Reader(header, stream, default_log, Options())
    except Exception as error:  # calibre's zTXTError, or zlib's on record 1
        result['refused'] = f'{type(error).__name__}: {error}'
        return
    record0 = reader.header_record
    result['header'] = {'version': record0.version, 'dataRecords': record0.num_records, 'textLength': record0.size,
                        'recordSize': record0.record_size, 'flags': record0.flags}
    for number in range(1, record0.num_records + 1):
        try:
            result['records'][str(number)] = raw(reader.decompress_text(number))
        except Exception as error:
            result['records'][str(number)] = {'error': f'{type(error).__name__}: {error}'}


def read_plucker(header, stream, result):
    from calibre.ebooks.pdb.plucker.reader import Reader, DATATYPE_PHTML_COMPRESSED
    reader = Reader(header, stream, default_log, Options())
    result['compression'] = reader.header_record.compression
    numbers = {}
    for i in range(1, header.num_sections):
        uid = int.from_bytes(header.section_data(i)[:2], 'big')
        numbers.setdefault(uid, i)
    for uid, section in reader.uid_text_secion_number.items():
        section_header, text = reader.sections[section]
        entry = {}
        try:
            data = reader.decompress_phtml(text.data) if section_header.type == DATATYPE_PHTML_COMPRESSED \
                else text.data
            entry.update(raw(data))
            html = reader.process_phtml(data, text.header.paragraph_offsets)
            entry.update({'html': html} if len(html) <= 16384 else {'htmlLength': len(html), 'htmlHead': html[:4096]})
        except NotImplementedError:
            entry['refused'] = 'NotImplementedError (an owner ID keys the book)'
        result['records'][str(numbers[uid])] = entry


def main(path):
    with open(path, 'rb') as stream:
        header = PdbHeaderReader(stream)
        kind = header.ident
        result = {'file': path.rsplit('/', 1)[-1], 'ident': kind, 'records': {}}
        if kind == 'zTXTGPlm':
            read_ztxt(header, stream, result)
        elif kind == 'DataPlkr':
            read_plucker(header, stream, result)
    print(json.dumps(result, indent=1, ensure_ascii=False))


main(sys.argv[1])
