"""endo("docbook") beside pandoc's DocBook reader and lxml's XML parser.

The input is one article of the subset the importer reads: an info title,
top-level sections with nested sections, paragraphs with emphasis, strong,
quotations, code, links and footnotes, admonitions, block quotations, lists
and program listings."""

from formats._xml_peer import lxml_peer

FORMAT = "docbook"
EXTENSION = ".xml"
APT_PACKAGES = ("pandoc", "python3-lxml")
NPM_PACKAGES = ()
TARGETS = {"pandoc": 30.0, "lxml": 1 / 3}

WORDS = ("the", "of", "and", "a", "document", "import", "section", "reader", "value", "text", "tree",
         "element", "format", "writer", "parse", "list", "note", "quote", "link", "title", "entry", "naive")


def _words(rng, low, high):
    return " ".join(rng.choice(WORDS) for _ in range(rng.randint(low, high)))


def _inline(rng, footnotes):
    kind = rng.randrange(9)
    if kind == 0:
        return f"<emphasis>{_words(rng, 1, 3)}</emphasis>"
    if kind == 1:
        return f'<emphasis role="strong">{_words(rng, 1, 3)}</emphasis>'
    if kind == 2:
        return f"<quote>{_words(rng, 2, 5)}</quote>"
    if kind == 3:
        return f"<code>x &lt; {rng.randrange(100)}</code>"
    if kind == 4:
        url = f"https://example.org/{rng.choice(WORDS)}/{rng.randrange(1000)}"
        return f'<link xlink:href="{url}">{_words(rng, 1, 3)}</link>'
    if kind == 5 and footnotes:
        return f"<footnote><para>{_words(rng, 4, 12)}</para></footnote>"
    return _words(rng, 3, 8) + " &amp;"


def _para(rng):
    pieces = [_words(rng, 5, 15)]
    for _ in range(rng.randint(1, 4)):
        pieces.append(_inline(rng, rng.random() < 0.3))
        pieces.append(_words(rng, 4, 14) + ".")
    return "<para>" + " ".join(pieces) + "</para>\n"


def _block(rng):
    kind = rng.randrange(10)
    if kind == 0:
        tag = rng.choice(("note", "warning", "blockquote"))
        return f"<{tag}>\n{_para(rng)}</{tag}>\n"
    if kind == 1:
        tag = rng.choice(("itemizedlist", "orderedlist"))
        items = "".join(f"<listitem>{_para(rng)}</listitem>\n" for _ in range(rng.randint(2, 5)))
        return f"<{tag}>\n{items}</{tag}>\n"
    if kind == 2:
        lines = "\n".join(f"    call({rng.randrange(100)}) && x < y;" for _ in range(rng.randint(2, 8)))
        return f'<programlisting language="c"><![CDATA[int main() {{\n{lines}\n}}]]></programlisting>\n'
    return _para(rng)


def _section(rng, number, depth):
    out = [f'<section xml:id="s{number}-{depth}">\n<title>{_words(rng, 2, 6).capitalize()}</title>\n']
    out += [_block(rng) for _ in range(rng.randint(3, 8))]
    if depth < 3 and rng.random() < 0.5:
        out += [_section(rng, f"{number}-{k}", depth + 1) for k in range(rng.randint(1, 3))]
    out.append("</section>\n")
    return "".join(out)


def generate(rng, size):
    out = ['<?xml version="1.0" encoding="utf-8"?>\n',
           '<article xmlns="http://docbook.org/ns/docbook" xmlns:xlink="http://www.w3.org/1999/xlink"'
           ' version="5.0">\n<info><title>A generated article</title><author>ilvex</author></info>\n']
    length = sum(len(piece) for piece in out)
    number = 0
    while length < size:
        number += 1
        section = _section(rng, number, 1)
        out.append(section)
        length += len(section)
    out.append("</article>\n")
    return "".join(out)


# pandoc's DocBook reader refuses an empty file, on which the suite times a
# peer's start-up: that run does nothing, through the same shell.
PANDOC_SCRIPT = 'test -s "$1" || exit 0; exec pandoc -f docbook -t html -o /dev/null "$1"'


def peers(tools):
    pandoc = tools.command("pandoc", "pandoc", lambda path: [])
    if pandoc.installed:
        pandoc = tools.command("pandoc", "sh", lambda path: ["-c", PANDOC_SCRIPT, "sh", str(path)])
    return [pandoc, lxml_peer(tools)]
