"""endo("html") in the format table, beside pandoc's HTML reader and lxml's
HTML parser (parse only)."""

import importlib.util
import os
import random
import sys

FORMAT = "html"
EXTENSION = ".html"
APT_PACKAGES = ("pandoc", "python3-lxml")
NPM_PACKAGES = ()
TARGETS = {"pandoc": 30.0, "lxml": 0.5}

# Debian installs python3-lxml for its own interpreter; an interpreter of
# another prefix (a pyenv build, say) finds it only when told where it lies.
DEBIAN_DIST_PACKAGES = "/usr/lib/python3/dist-packages"
if importlib.util.find_spec("lxml") is None and os.path.isdir(DEBIAN_DIST_PACKAGES):
    sys.path.append(DEBIAN_DIST_PACKAGES)

WORDS = ("the of and to in a is that for it as was with be by on not he this are or his from at which but "
         "have an they you were her she there been one all we their has would when if so no will more out up "
         "into do any your what time could about than them only other new some these two may first then years "
         "very through also where much before right too means old same tell boy follow came want show around "
         "form three small set put end does another well large").split()
# Words whose letters are not ASCII, as references and as they stand: with
# them the written text is not ASCII either.
ACCENTED = ["caf&#233;", "na&#239;ve", "&#252;ber", "d\u00e9j\u00e0", "stra\u00dfe", "\u00e9t\u00e9"]


class Document:
    """A document of the subset the importer reads, laid out as an editor
    writes it: one block per line or more, list items and verse lines
    indented."""

    def __init__(self, rng, words):
        self.rng = rng
        self.vocabulary = words

    def words(self, low, high):
        return " ".join(self.rng.choice(self.vocabulary) for _ in range(self.rng.randint(low, high)))

    def running_text(self):
        rng = self.rng
        parts = []
        for _ in range(rng.randint(3, 8)):
            parts.append(self.words(3, 12))
            r = rng.random()
            if r < 0.2:
                parts.append(f"<em>{self.words(1, 3)}</em>")
            elif r < 0.35:
                parts.append(f"<strong>{self.words(1, 3)}</strong>")
            elif r < 0.45:
                parts.append(f'<span class="term">{self.words(2, 2)}</span>')
            elif r < 0.55:
                parts.append(f'<a href="https://example.org/{rng.randint(1, 999)}">{self.words(2, 2)}</a>')
            elif r < 0.62:
                parts.append(f"<code>x &lt; {rng.randint(1, 99)}</code>")
            elif r < 0.66:
                parts.append("&amp;")
        return "\n".join(parts)

    def block(self):
        rng = self.rng
        r = rng.random()
        if r < 0.08:
            level = rng.randint(1, 4)
            return f"<h{level}>{self.words(2, 6)}</h{level}>"
        if r < 0.55:
            return f"<p>{self.running_text()}</p>"
        if r < 0.68:
            tag = rng.choice(["ul", "ol"])
            items = "".join(f"  <li>{self.running_text()}</li>\n" for _ in range(rng.randint(2, 5)))
            return f"<{tag}>\n{items}</{tag}>"
        if r < 0.76:
            return f"<blockquote>\n  <p>{self.running_text()}</p>\n</blockquote>"
        if r < 0.84:
            return f'<div class="section note">\n  <h3>{self.words(3, 3)}</h3>\n  <p>{self.running_text()}</p>\n</div>'
        if r < 0.91:
            strophes = "".join(
                '  <p class="strophe">\n' + "".join(f"    {self.words(4, 8)}<br/>\n" for _ in range(4)) + "  </p>\n"
                for _ in range(2))
            return (f'<div class="verse" data-taxis="{rng.randint(1, 50)}">\n'
                    f'  <p class="verse-title">{self.words(3, 3)}</p>\n{strophes}</div>')
        if r < 0.96:
            code = "\n".join(f"    x{i} = f(x{i - 1}) &lt; {rng.randint(1, 9)}" for i in range(1, rng.randint(3, 7)))
            return f"<pre><code>{code}\n</code></pre>"
        return f'<img src="images/figure {rng.randint(1, 99)}.png" alt="{self.words(2, 2)}">'


def document(rng, size, words):
    document = Document(rng, words)
    out = ['<!DOCTYPE html>\n<html>\n<head>\n<meta charset="utf-8">\n<title>Generated</title>\n</head>\n<body>\n']
    total = len(out[0])
    while total < size:
        block = document.block() + "\n"
        out.append(block)
        total += len(block)
    out.append("</body>\n</html>\n")
    return "".join(out)


def generate(rng, size):
    seed = rng.random()
    return {"ascii": document(random.Random(seed), size, WORDS),
            "accented": document(random.Random(seed), size, WORDS + ACCENTED)}


def lxml_parse(text):
    from lxml import etree
    etree.fromstring(text, etree.HTMLParser())


def peers(tools):
    return [tools.pandoc("html"), tools.python("lxml", "lxml", "formats.html", "lxml_parse")]
