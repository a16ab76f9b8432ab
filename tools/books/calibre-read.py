"""calibre's own reading of an eReader book, as JSON on standard output: each
text, footnote and sidebar record's decoded text as calibre's eReader reader
gives it (the PML itself, not converted), the metadata and whether calibre
refuses the book as protected. Run with calibre's interpreter:
    calibre-debug tools/books/calibre-read.py BOOK.pdb
"""
import json
import sys

from calibre.ebooks import DRMError
from calibre.ebooks.pdb.ereader import EreaderError
from calibre.ebooks.pdb.header import PdbHeaderReader
from calibre.ebooks.pdb.ereader.reader132 import Reader132
from calibre.ebooks.pdb.ereader.reader202 import Reader202
from calibre.utils.logging import default_log


class Options:
    input_encoding = None


def main(path):
    with open(path, 'rb') as stream:
        header = PdbHeaderReader(stream)
        size = len(header.section_data(0))
        result = {'file': path.rsplit('/', 1)[-1], 'record0Size': size, 'records': {}}
        try:
            reader = (Reader202 if size in (116, 202) else Reader132)(header, stream, default_log, Options())
        except (DRMError, EreaderError) as error:
            result['refused'] = str(error)
            print(json.dumps(result, indent=1, ensure_ascii=False))
            return
        record0 = reader.header_record
        text_end = record0.non_text_offset
        numbers = list(range(1, text_end))
        if size not in (116, 202):
            for section in ('footnote', 'sidebar'):
                count = getattr(record0, section + '_count')
                first = getattr(record0, section + '_offset')
                numbers += list(range(first + 1, first + count))
            if record0.has_metadata:
                data = reader.section_data(record0.metadata_offset)
                result['metadata'] = [part.decode('cp1252') for part in data.split(b'\0')[:5]]
        for number in numbers:
            result['records'][str(number)] = reader.decompress_text(number)
        result['textRecords'] = list(range(1, text_end))
    print(json.dumps(result, indent=1, ensure_ascii=False))


main(sys.argv[1])
