"""zTXT and Plucker books read by corvelle-dump and compared with calibre's reading of them, kept beside each
book in tests/data/books/ (tools/books/make-ztxt-plucker.sh makes both where calibre is installed), and with
what tools/books/ztxtplucker.py wrote into them:
  - zTXT: each data record's text byte for byte (--record N) and as JSON against calibre's inflated bytes; a
    record calibre cannot inflate (after a damaged one) against the written text; the bomb's record cut at
    the record size; the one-stream book calibre refuses against the written text; record 0, the bookmarks
    and the annotations against what was written;
  - Plucker: each text record's words against those of calibre's HTML (both keep a Unicode character's
    alternate text); the readable JSON text against what was written; the character sets; the owner-ID book
    that calibre refuses shows no text; the bomb cut at its stated size.
Usage: check-ztxt-plucker.py CORVELLE-DUMP
"""
import importlib
import json
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
BOOKS = os.path.join(HERE, '..', '..', 'tests', 'data', 'books')
sys.path.insert(0, HERE)  # the writer beside this check, imported by its file name
writer = importlib.import_module("ztxtplucker")

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def dump(*args):
    return subprocess.run([sys.argv[1], *args], stdout=subprocess.PIPE, stderr=subprocess.PIPE, check=True).stdout


def entries(path):
    return {e['index']: e['fields'] for e in json.loads(dump('--export', 'json', path))['entries']}


def field(path, index, label):
    """A field's bytes from --record N: its line and the TAB-led lines that go on with it."""
    out = dump('--record', str(index), path)
    match = re.search(rb'^' + re.escape(label.encode()) + rb':\t(.*?)\n(?!\t)', out, re.S | re.M)
    return match.group(1).replace(b'\n\t', b'\n') if match else None


def calibre(name):
    with open(os.path.join(BOOKS, name + '.calibre.json'), encoding='utf-8') as stream:
        return json.load(stream)


def words(text):
    return re.findall(r'\w+', text)


def whole(entry):
    """calibre's bytes of a record, or its first 4096 for a long one."""
    return bytes.fromhex(entry['hex'] if 'hex' in entry else entry['head'])


def check_ztxt(name, text, record_size, damaged=()):
    path = os.path.join(BOOKS, name)
    fields = entries(path)
    oracle = calibre(name)
    header = fields[0]
    for key, value in oracle.get('header', {}).items():
        if key == 'version':  # calibre keeps the number, 012Ch; we show 1.44
            value = f'{value >> 8}.{value & 0xFF:02}'
        check(header[key] == value, f'{name}: record 0 {key} {header[key]} != calibre {value}')
    for number in range(1, header['dataRecords'] + 1):
        ours = fields[number]
        given = oracle['records'].get(str(number), {})
        written = text[(number - 1) * record_size:number * record_size]
        if number in damaged:
            check('error' in given and ours.get('stopped', '').startswith('its bytes are damaged'),
                  f'{name} {number}: a damaged record reads')
            continue
        if 'error' in given:
            # calibre's one inflater is lost after a damaged record; a random-access book's are not.
            check('stopped' not in ours and ours['text'] == written.decode('cp1252', 'replace'),
                  f'{name} {number}: not the written text')
            continue
        raw = whole(given)
        if 'length' in given:
            check(ours.get('stopped', '').startswith('it inflates to more than the record size'),
                  f'{name} {number}: the bomb does not stop')
            check(ours['text'].encode('cp1252', 'replace') == raw[:record_size], f'{name} {number}: bomb prefix')
            continue
        check(ours['text'] == raw.decode('cp1252', 'replace'), f'{name} {number}: JSON text != calibre')
        check(field(path, number, 'Text') == raw.rstrip(b'\n') or field(path, number, 'Text') == raw,
              f'{name} {number}: --record bytes != calibre')
        check(not text or raw == written, f'{name} {number}: calibre != the written text')


def check_ztxt_marks():
    name = 'ztxt-random.pdb'
    fields = entries(os.path.join(BOOKS, name))
    header = fields[0]
    check(header['crcMatches'] is True and header['randomAccess'] is True, f'{name}: CRC or flags')
    check(fields[header['bookmarkRecord']]['bookmarks'] == [{'offset': 0, 'title': 'Start'},
                                                            {'offset': 2048, 'title': 'Middle part'}],
          f'{name}: bookmarks')
    index = header['annotationRecord']
    check([a['title'] for a in fields[index]['annotations']] == ['A note', 'Another'], f'{name}: annotations')
    check(fields[index + 2]['text'] == 'Second note, caf\u00e9.', f'{name}: annotation text')
    damaged = entries(os.path.join(BOOKS, 'ztxt-damaged.pdb'))[0]
    check(damaged['crcMatches'] is False, 'ztxt-damaged.pdb: the CRC-32 should not match')


def check_ztxt_stream():
    name = 'ztxt-stream.pdb'
    check('refused' in calibre(name), f'{name}: calibre read a one-stream book')
    text = dump('--export', 'text', os.path.join(BOOKS, name)).decode('utf-8')
    check(text == writer.ZTXT_TEXT.decode('cp1252'), f'{name}: the text export is not the written text')


def check_plucker(name, readable=None):
    path = os.path.join(BOOKS, name)
    fields = entries(path)
    oracle = calibre(name)
    for number, given in oracle['records'].items():
        number = int(number)
        if 'refused' in given:
            check(fields[number].get('protected') is True and 'text' not in fields[number],
                  f'{name} {number}: an owner-ID book shows text')
            continue
        ours = field(path, number, 'Text')
        html = given.get('html', given.get('htmlHead', ''))
        theirs = re.sub(r'<[^>]*>', ' ', html).replace('&nbsp;', ' ')
        if 'length' in given:
            check(ours == whole(given)[:len(ours)] and 'stopped' in fields[number], f'{name} {number}: bomb')
            continue
        check(words(ours.decode('latin-1')) == words(theirs), f'{name} {number}: words != calibre\'s')
    for number, text in (readable or {}).items():
        check(fields[number]['text'] == text, f'{name} {number}: readable text {fields[number]["text"]!r}')


def main():
    record_size = 1024
    check_ztxt('ztxt-random.pdb', writer.ZTXT_TEXT, record_size)
    check_ztxt('ztxt-damaged.pdb', writer.ZTXT_TEXT, record_size, damaged={3})
    check_ztxt('ztxt-bomb.pdb', b'', record_size)
    check_ztxt_marks()
    check_ztxt_stream()
    check_plucker('plucker-rich.pdb', {1: writer.HOME_READ.rstrip('\n'), 2: writer.SECOND_READ.rstrip('\n')})
    check_plucker('plucker-doc.pdb')
    cyrillic = '\n'.join(p.decode('cp1251') for p in writer.CYRILLIC)
    check_plucker('plucker-cp1251.pdb', {1: cyrillic, 2: writer.LATIN_EXCEPTION[0].decode('cp1252')})
    check_plucker('plucker-owner.pdb')
    check_plucker('plucker-bomb.pdb')
    header = entries(os.path.join(BOOKS, 'plucker-rich.pdb'))[0]
    check((header['title'], header['author'], header['encoding']) == ('The Plucker Test Book', 'Ann Author', 'cp1252'),
          f'plucker-rich.pdb: metadata {header}')
    check(entries(os.path.join(BOOKS, 'plucker-owner.pdb'))[0]['protected'] is True, 'plucker-owner.pdb: protected')
    cp1251 = entries(os.path.join(BOOKS, 'plucker-cp1251.pdb'))
    check(cp1251[0]['title'] == cp1251[3]['title'] == b'\xca\xed\xe8\xe3\xe0'.decode('cp1251'),
          'plucker-cp1251.pdb: the title is not read in the book\'s character set')
    for failure in failures:
        print('FAIL', failure)
    print(f'{len(failures)} failures')
    return 1 if failures else 0


sys.exit(main())
