"""endo("usx") in the format table, beside lxml's parse alone, with the time
the versification scheme pass adds."""

from formats._xml_peer import lxml_peer
from formats.usfm import BOOKS, WORDS, words

FORMAT = "usx"
EXTENSION = ".usx"
APT_PACKAGES = ("python3-lxml",)
NPM_PACKAGES = ()
TARGETS = {"lxml": 1 / 3}
SCHEME = "vers"


def verse_content(rng, chapter, verse):
    parts = [f'<verse number="{verse}" style="v" sid="{chapter}:{verse}"/>{words(rng, 6, 14)}']
    roll = rng.random()
    if roll < 0.15:
        parts.append(f'<char style="nd">{rng.choice(WORDS)}</char>')
    elif roll < 0.25:
        parts.append(f'<char style="add">{words(rng, 1, 3)}</char>')
    elif roll < 0.35:
        parts.append(f'<char style="w" strong="H{rng.randint(1, 8000)}">{rng.choice(WORDS)}</char>')
    elif roll < 0.40:
        parts.append(f'<char style="wj">{words(rng, 3, 8)} <char style="+nd">{rng.choice(WORDS)}</char></char>')
    parts.append(words(rng, 2, 10) + ".")
    roll = rng.random()
    if roll < 0.10:
        parts.append(f'<note caller="+" style="f"><char style="fr">{chapter}.{verse} </char>'
                     f'<char style="ft">Or, </char><char style="fq">{rng.choice(WORDS)}</char> {words(rng, 2, 6)}</note>')
    elif roll < 0.15:
        parts.append(f'<note caller="-" style="x"><char style="xo">{chapter}.{verse} </char><char style="xt">'
                     f'<ref loc="GEN {rng.randint(1, 50)}:{rng.randint(1, 30)}">Gen {rng.randint(1, 50)}.'
                     f'{rng.randint(1, 30)}</ref></char></note>')
    parts.append(f'<verse eid="{chapter}:{verse}"/>')
    return " ".join(parts)


def book(rng, code, size):
    lines = [f'<book code="{code}" style="id">generated text</book>', f'<para style="h">{code.title()}</para>',
             f'<para style="toc1">The Book of {code.title()}</para>', f'<para style="mt1">{code.title()}</para>']
    length = sum(len(line) + 1 for line in lines)
    chapter = 0
    while length < size:
        chapter += 1
        chapter_lines = [f'<chapter number="{chapter}" style="c" sid="{code} {chapter}"/>',
                         f'<para style="s1">{words(rng, 2, 5).title()}</para>']
        poetry = rng.random() < 0.3
        verse = 0
        for _ in range(rng.randint(2, 5)):
            if poetry:
                for _ in range(rng.randint(2, 4)):
                    verse += 1
                    chapter_lines.append(f'<para style="q1"><verse number="{verse}" style="v"/>{words(rng, 4, 9)}</para>')
                    chapter_lines.append(f'<para style="q2">{words(rng, 3, 8)}</para>')
                chapter_lines.append('<para style="b" />')
            else:
                content = "\n  ".join(verse_content(rng, chapter, verse + i + 1) for i in range(rng.randint(3, 8)))
                verse = int(content.rsplit('number="', 1)[1].split('"', 1)[0])
                chapter_lines.append(f'<para style="{rng.choice(["p", "p", "p", "m"])}">\n  {content}\n</para>')
        chapter_lines.append(f'<chapter eid="{code} {chapter}"/>')
        lines.extend(chapter_lines)
        length += sum(len(line) + 1 for line in chapter_lines)
    return "\n".join(lines) + "\n"


def generate(rng, size):
    # One USX file holds one book: several MB make one long book.
    return '<?xml version="1.0" encoding="utf-8"?>\n<usx version="3.0">\n' + book(rng, rng.choice(BOOKS), size) + "</usx>\n"


def peers(tools):
    return [lxml_peer(tools)]
