#!/usr/bin/python3
"""The books of tests/data/books/ read by corvelle-dump and by readers that no
one here wrote:

  ereader  calibre's eReader reader, kept beside each book (NAME.pdb.calibre.json, made by
           make-books.sh where calibre is installed): every text, footnote and sidebar record's
           decoded text byte for byte (--record N), the title and author, a protected book
           refused, and the words of --export text, in order, against calibre's text once
           its PML is removed
  tealdoc  mobitool -d and txt2pdbdoc -d -D, run here: the text records joined byte for byte,
           the words of --export text against theirs once the tags are read, and the
           bookmarks (which txt2pdbdoc appends to the text)
  isilo    named as iSilo, its records shown as bytes

Usage: check-books.py ereader|tealdoc|isilo CORVELLE-DUMP
"""
import glob
import json
import os
import re
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
BOOKS = os.path.join(HERE, '..', '..', 'tests', 'data', 'books')
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print('FAIL:', what)


def dump(*args):
    return subprocess.run([DUMP, *args], check=True, stdout=subprocess.PIPE).stdout


def field(record_text, label):
    """The value of a "Label:<TAB>value" field of --record N, its continuation lines joined; None without it."""
    lines = record_text.split(b'\n')
    for i, line in enumerate(lines):
        if line.startswith(label + b':\t'):
            value = [line[len(label) + 2:]]
            for more in lines[i + 1:]:
                if not more.startswith(b'\t'):
                    break
                value.append(more[1:])
            return b'\n'.join(value)
    return None


# PML removed the plain way: commands that begin a block split words, \a and \U become their
# characters, an image is "[image]" as the text export writes it.
PML_SPLITTING = re.compile(r'\\(?:p|x|X\d?|w="[^"]*"|T="[^"]*"|c|r|t)')
PML_DROPPED = re.compile(r'\\v.*?\\v|\\C\d?="[^"]*"|\\Q="[^"]*"|\\(?:q|Sd|Fn)(?:="[^"]*")?|\\S[pb]|\\[iuobsBlknI-]',
                         re.S)


def strip_pml(text):
    text = re.sub(r'\\\\', '\0', text)
    text = PML_DROPPED.sub('', text)
    text = re.sub(r'\\m="[^"]*"', ' [image] ', text)
    text = PML_SPLITTING.sub(' ', text)
    text = re.sub(r'\\a(\d{3})', lambda m: bytes([int(m.group(1))]).decode('cp1252', 'replace'), text)
    text = re.sub(r'\\U([0-9A-Fa-f]{4})', lambda m: chr(int(m.group(1), 16)), text)
    return text.replace('\0', '\\')


def cp1252_only(words):
    """What cp1252 cannot hold as '?', as the text export of chosen records writes it today."""
    return [word.encode('cp1252', 'replace').decode('cp1252') for word in words]


def check_ereader():
    readings = sorted(glob.glob(os.path.join(BOOKS, '*.pdb.calibre.json')))
    check(len(readings) >= 5, 'calibre readings of at least five eReader books')
    for reading_path in readings:
        with open(reading_path, encoding='utf-8') as f:
            reading = json.load(f)
        book = reading_path[:-len('.calibre.json')]
        name = reading['file']
        exported = dump('--export', 'text', book).decode('utf-8')
        if 'refused' in reading:
            row = dump('--records', book).split(b'\n')[1]
            check(b'protected' in row, name + ': the header row says the book is protected')
            check(exported == '', name + ': no text exported for a protected book')
            continue
        header = dump('--record', '0', book)
        if 'metadata' in reading:
            check(field(header, b'Title') == reading['metadata'][0].encode('cp1252'), name + ': title')
            check(field(header, b'Author') == reading['metadata'][1].encode('cp1252'), name + ': author')
        for number, text in reading['records'].items():
            ours = field(dump('--record', number, book), b'Text')
            check(ours is not None and ours.decode('cp1252', 'replace') == text,
                  '%s: record %s byte for byte' % (name, number))
        expected = strip_pml(''.join(reading['records'][str(n)] for n in reading['textRecords'])).split()
        words = exported.split()
        check(cp1252_only(words[:len(expected)]) == cp1252_only(expected),
              name + ': the words of the text export, in order')
        print('%s: %d records, %d words' % (name, len(reading['records']), len(expected)))


TEALDOC_TAG = re.compile(r'<(HEADER|HRULE|LINK|LABEL|BOOKMARK)(?:\s[^>]*)?>')


def strip_tealdoc(text):
    def replace(match):
        if match.group(1) in ('HEADER', 'LINK'):
            value = re.search(r'TEXT="([^"]*)"', match.group(0))
            return ' %s ' % value.group(1) if value else ' '
        return ' '
    return TEALDOC_TAG.sub(replace, text)


def check_tealdoc():
    book = os.path.join(BOOKS, 'tealdoc.pdb')
    with open(book, 'rb') as f:
        data = f.read()
    count = struct.unpack_from('>H', data, 76)[0]
    offsets = [struct.unpack_from('>I', data, 78 + 8 * i)[0] for i in range(count)] + [len(data)]
    text_length, text_records = struct.unpack_from('>IH', data, offsets[0] + 4)
    with tempfile.TemporaryDirectory() as work:
        subprocess.run(['mobitool', '-d', '-o', work, book], check=True, stdout=subprocess.DEVNULL)
        with open(os.path.join(work, 'tealdoc.rawml'), 'rb') as f:
            mobitool = f.read()
        decoded = os.path.join(work, 'txt2pdbdoc.txt')
        subprocess.run(['txt2pdbdoc', '-d', '-D', book, decoded], check=True)
        with open(decoded, 'rb') as f:
            txt2pdbdoc = f.read()
    # txt2pdbdoc reads the bookmark records as text too (decompressed as PalmDOC, which
    # mangles their offsets): they follow the text, their names in the clear.
    check(txt2pdbdoc[:text_length] == mobitool, 'tealdoc: mobitool and txt2pdbdoc read the same text')
    appended = txt2pdbdoc[text_length:]
    joined = b''.join(field(dump('--record', str(i), book), b'Text') for i in range(1, text_records + 1))
    check(joined == mobitool, 'tealdoc: the text records, joined, byte for byte')
    expected = strip_tealdoc(mobitool.decode('cp1252')).split()
    words = dump('--export', 'text', book).decode('utf-8').split()
    check(words == expected, 'tealdoc: the words of the text export, in order')
    names = [field(dump('--record', str(i), book), b'Bookmark') for i in range(text_records + 1, count)]
    check(len(names) == 2 and all(names), 'tealdoc: the records after the text are bookmarks')
    at = 0
    for name in names:
        found = appended.find(name or b'?', at)
        check(found >= 0, 'tealdoc: bookmark %r named as txt2pdbdoc reads it, in order' % name)
        at = found + len(name or b'')
    print('tealdoc: %d text records, %d words' % (text_records, len(expected)))


def check_isilo():
    book = os.path.join(BOOKS, 'isilo.pdb')
    rows = dump('--records', book).split(b'\n')
    check(rows[1].endswith(b'\tiSilo document'), 'isilo: the first record is named')
    check(field(dump('--record', '0', book), b'Format') == b'iSilo document', 'isilo: its fields say so')
    check(field(dump('--record', '1', book), b'Format') is None, 'isilo: the other records are bytes')
    check(json.loads(dump('--export', 'json', book))['header']['contents'] == 'isilo', 'isilo: JSON contents')


if __name__ == '__main__':
    mode, DUMP = sys.argv[1], sys.argv[2]
    {'ereader': check_ereader, 'tealdoc': check_tealdoc, 'isilo': check_isilo}[mode]()
    if failures:
        print('%d checks failed' % len(failures))
        sys.exit(1)
    print('all checks passed')
