"""endo("osis") in the format table, beside lxml's parse alone, with the time
the versification scheme pass adds."""

from formats._xml_peer import lxml_peer
from formats.usfm import BOOK_SIZE, WORDS, books_text, words

FORMAT = "osis"
EXTENSION = ".osis"
APT_PACKAGES = ("python3-lxml",)
NPM_PACKAGES = ()
TARGETS = {"lxml": 1 / 3}
SCHEME = "vers"


def verse_content(rng, book_id, chapter, verse):
    osis_id = f"{book_id}.{chapter}.{verse}"
    parts = [f'<verse osisID="{osis_id}" sID="{osis_id}"/>{words(rng, 6, 14)}']
    roll = rng.random()
    if roll < 0.15:
        parts.append(f"<divineName>{rng.choice(WORDS)}</divineName>")
    elif roll < 0.25:
        parts.append(f'<transChange type="added">{words(rng, 1, 3)}</transChange>')
    elif roll < 0.35:
        parts.append(f'<w lemma="strong:H{rng.randint(1, 8000)}" morph="x">{rng.choice(WORDS)}</w>')
    elif roll < 0.40:
        parts.append(f'<q who="Jesus" marker="">{words(rng, 3, 8)} <hi type="italic">{rng.choice(WORDS)}</hi></q>')
    parts.append(words(rng, 2, 10) + ".")
    roll = rng.random()
    if roll < 0.10:
        parts.append(f'<note placement="foot"><reference>{chapter}.{verse}</reference> Or, '
                     f"<catchWord>{rng.choice(WORDS)}</catchWord> {words(rng, 2, 6)}</note>")
    elif roll < 0.15:
        parts.append(f'<note type="crossReference"><reference osisRef="Gen.{rng.randint(1, 50)}.{rng.randint(1, 30)}">'
                     f"Gen {rng.randint(1, 50)}.{rng.randint(1, 30)}</reference></note>")
    parts.append(f'<verse eID="{osis_id}"/>')
    return " ".join(parts)


def book(rng, code, size):
    book_id = code.title()
    lines = [f'<div type="book" osisID="{book_id}">',
             f'<title type="main" short="{book_id}">The Book of {book_id}</title>']
    length = sum(len(line) + 1 for line in lines)
    chapter = 0
    while length < size:
        chapter += 1
        chapter_lines = [f'<chapter osisID="{book_id}.{chapter}">',
                         f'<div type="section"><title>{words(rng, 2, 5).title()}</title>']
        poetry = rng.random() < 0.3
        verse = 0
        for _ in range(rng.randint(2, 5)):
            if poetry:
                group = []
                for _ in range(rng.randint(2, 4)):
                    verse += 1
                    group.append(f'<l level="1"><verse osisID="{book_id}.{chapter}.{verse}"/>{words(rng, 4, 9)}</l>')
                    group.append(f'<l level="2">{words(rng, 3, 8)}</l>')
                chapter_lines.append("<lg>" + "\n".join(group) + "</lg>")
            else:
                count = rng.randint(3, 8)
                content = "\n".join(verse_content(rng, book_id, chapter, verse + i + 1) for i in range(count))
                verse += count
                chapter_lines.append(f"<p>\n{content}\n</p>")
        chapter_lines.append("</div></chapter>")
        lines.extend(chapter_lines)
        length += sum(len(line) + 1 for line in chapter_lines)
    return "\n".join(lines) + "\n</div>\n"


def generate(rng, size):
    return ('<?xml version="1.0" encoding="UTF-8"?>\n<osis xmlns="http://www.bibletechnologies.net/2003/OSIS/namespace">\n'
            '<osisText osisIDWork="Gen" xml:lang="en"><header><work osisWork="Gen"><title>Generated</title></work>'
            "</header>\n" + books_text(rng, size, book, BOOK_SIZE * 4) + "</osisText>\n</osis>\n")


def peers(tools):
    return [lxml_peer(tools)]
