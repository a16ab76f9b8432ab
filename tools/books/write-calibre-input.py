#!/usr/bin/python3
"""Writes the inputs that calibre turns into eReader books for the fixtures:
rich.html (chapters, italics, bold, underline, strike, non-Latin letters, an
image, a link) with dot.png beside it, and long.html (two chapters of
paragraphs long enough for three text records; with this seed calibre cuts
the second record inside \\a239). The same files on every run.
Usage: write-calibre-input.py FOLDER
"""
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
books = __import__('write-books')

RICH = '''<html><head><title>Rich</title></head><body>
<h1>Chapter One</h1>
<p>It was a <i>dark</i> and <b>stormy</b> night; caf&eacute; &ldquo;quoted&rdquo; &alpha;&beta; &#x4E2D;.</p>
<p><u>Underlined</u> and <s>struck</s> text with a backslash \\ here.</p>
<p><img src="dot.png" alt="dot"/></p>
<p>See <a href="#end">the end</a>.</p>
<h2>Part Two</h2>
<p id="end">The end.</p>
</body></html>
'''


def long_html():
    rng = random.Random(8)
    words = 'alpha beta gamma delta epsilon zeta eta theta iota kappa lambda café naïve “quote” résumé'.split()
    out = ['<html><body>']
    for chapter in range(1, 3):
        out.append('<h1>Chapter %d</h1>' % chapter)
        for _ in range(24):
            sentence = []
            for _ in range(rng.randint(20, 60)):
                word = rng.choice(words)
                roll = rng.random()
                if roll < 0.1:
                    word = '<i>%s</i>' % word
                elif roll < 0.15:
                    word = '<b>%s</b>' % word
                sentence.append(word)
            out.append('<p>' + ' '.join(sentence) + '.</p>')
    out.append('</body></html>')
    return '\n'.join(out) + '\n'


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, 'rich.html'), 'w', encoding='utf-8') as out:
        out.write(RICH)
    with open(os.path.join(folder, 'long.html'), 'w', encoding='utf-8') as out:
        out.write(long_html())
    with open(os.path.join(folder, 'dot.png'), 'wb') as out:
        out.write(books.png_2x2())


if __name__ == '__main__':
    main()
