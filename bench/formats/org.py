"""endo("org") in the format table, beside pandoc's Org reader and
uniorg-parse (parse only, in a Node.js loop)."""

import inputs

FORMAT = "org"
EXTENSION = ".org"
APT_PACKAGES = ("pandoc",)
NPM_PACKAGES = ("uniorg-parse", "unified")
TARGETS = {"pandoc": 30.0, "uniorg-parse": 3.0}


class OrgWriter:
    """Org of the subset the importer reads: a title, headings, paragraphs
    with the emphasis family, verbatim, code, bracket links and footnote
    references, footnote definitions, bullet, description and numbered
    items with continuation lines, tables, and SRC, EXAMPLE, QUOTE and
    VERSE blocks."""

    def __init__(self, rng):
        self.rng = rng
        self.script = inputs.Script(rng, devanagari=False)
        self.footnote = 0

    def inline_sentence(self, footnotes):
        rng, script = self.rng, self.script
        parts = []
        for _ in range(rng.randint(6, 14)):
            roll = rng.random()
            if roll < 0.03:
                parts.append(f"*{script.words(1, 3)}*")
            elif roll < 0.05:
                parts.append(f"/{script.word()}/")
            elif roll < 0.06:
                parts.append(f"_{script.word()}_")
            elif roll < 0.065:
                parts.append(f"+{script.word()}+")
            elif roll < 0.08:
                parts.append(self.rng.choice(("=", "~")).join(("", f"{script.word()}.{script.word()}()", "")))
            elif roll < 0.09:
                parts.append(f"[[https://example.org/{script.word()}/{rng.randint(1, 999)}][{script.words(1, 3)}]]")
            elif roll < 0.095:
                parts.append(f"[[file:{script.word()}.org]]")
            elif roll < 0.10:
                self.footnote += 1
                parts.append(f"{script.word()}[fn:{self.footnote}]")
                footnotes.append(self.footnote)
            else:
                parts.append(script.word())
        sentence = " ".join(parts)
        return sentence[0].upper() + sentence[1:] + "."

    def paragraph(self, out):
        footnotes = []
        out.extend(inputs.wrap(" ".join(self.inline_sentence(footnotes) for _ in range(self.rng.randint(2, 6)))))
        out.append("")
        for number in footnotes:
            lines = inputs.wrap(f"[fn:{number}] {self.script.words(6, 30)}.")
            out.extend([lines[0], *(f"  {line}" for line in lines[1:]), ""])

    def item_lines(self, first, indent):
        lines = inputs.wrap(first, 70)
        return [lines[0], *(f"{indent}{line}" for line in lines[1:])]

    def bullet_list(self, out):
        for _ in range(self.rng.randint(2, 6)):
            if self.rng.random() < 0.3:
                text = f"{self.script.words(1, 3)} :: {self.inline_sentence([])}"
            else:
                text = self.inline_sentence([])
            out.extend(self.item_lines(f"- {text}", "  "))
        out.append("")

    def ordered_list(self, out):
        for number in range(1, self.rng.randint(3, 8)):
            out.extend(self.item_lines(f"{number}. {self.inline_sentence([])}", "   "))
        out.append("")

    def table(self, out):
        columns = self.rng.randint(2, 5)
        out.append("| " + " | ".join(self.script.title() for _ in range(columns)) + " |")
        out.append("|" + "+".join("---" for _ in range(columns)) + "|")
        for _ in range(self.rng.randint(2, 8)):
            out.append("| " + " | ".join(self.script.words(1, 3) for _ in range(columns)) + " |")
        out.append("")

    def source_block(self, out):
        kind = self.rng.choice(("SRC python", "src sh", "EXAMPLE"))
        out.append(f"#+BEGIN_{kind}")
        for _ in range(self.rng.randint(3, 12)):
            out.append(inputs.code_line(self.rng, self.script))
        out.extend([f"#+END_{kind.split()[0]}", ""])

    def quote_block(self, out):
        out.append("#+BEGIN_QUOTE")
        out.extend(inputs.wrap(self.inline_sentence([]) + " " + self.inline_sentence([]), 70))
        out.extend(["#+END_QUOTE", ""])

    def verse_block(self, out):
        out.append("#+BEGIN_VERSE")
        for stanza in range(self.rng.randint(1, 3)):
            if stanza:
                out.append("")
            out.extend(("  " if self.rng.random() < 0.3 else "") + self.script.words(3, 8) for _ in range(4))
        out.extend(["#+END_VERSE", ""])

    def chapter(self, out, number):
        inputs.light_chapter(self, out, number, "*", 0.6,
                             (self.bullet_list, self.ordered_list, self.table, self.source_block,
                              self.quote_block, self.verse_block))


def generate(rng, size):
    writer = OrgWriter(rng)
    return inputs.grown_text([f"#+TITLE: {writer.script.title()}", "#+AUTHOR: Bench", ""], size, writer.chapter)


def peers(tools):
    return [tools.pandoc("org"), tools.node("uniorg-parse", "uniorg-parse", "org_peer.mjs")]
