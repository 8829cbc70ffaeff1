"""Seeded generators of the benchmark inputs.

Every generator takes a `random.Random` and a target size in bytes of UTF-8
and returns a text of at least that size, made of whole units (a section, a
Markdown chapter), so the same seed and size always give the same text.
"""

import unicodedata

# Pseudo-words are built from syllables so that word lengths and letter
# frequencies look like prose, without shipping a corpus.
LATIN_SYLLABLES = (
    "an ar ba be ca co de di el en er es fa ge ha in is ka la le li lo ma me mi mo na ne no "
    "or pa pe po qua ra re ri ro sa se si so ta te ti to tu un ur va ve vi"
).split()

# Devanagari consonants, the three that decompose into a consonant and a nukta
# (U+093C), and dependent vowel signs. The decomposed letters stay decomposed
# in the text, so normalization to NFC has to compose them.
DEVANAGARI_CONSONANTS = list("कखगघचछजझटठडढतथदधनपफबभमयरलवशषसह")
DEVANAGARI_DECOMPOSED = [unicodedata.normalize("NFD", c) for c in "\u0929\u0931\u0934"]
DEVANAGARI_SIGNS = ["", "", "\u093e", "\u093f", "\u0940", "\u0941", "\u0942", "\u0947", "\u0948", "\u094b", "\u0902"]


class Script:
    """Words and sentences in one script."""

    def __init__(self, rng, devanagari):
        self.rng = rng
        self.devanagari = devanagari
        self.full_stop = "\u0964" if devanagari else "."

    def word(self):
        syllables = self.rng.choice((1, 2, 2, 2, 3, 3, 4))
        if not self.devanagari:
            return "".join(self.rng.choice(LATIN_SYLLABLES) for _ in range(syllables))
        out = []
        for _ in range(syllables):
            letters = DEVANAGARI_DECOMPOSED if self.rng.random() < 0.12 else DEVANAGARI_CONSONANTS
            out.append(self.rng.choice(letters) + self.rng.choice(DEVANAGARI_SIGNS))
        return "".join(out)

    def words(self, low, high):
        return " ".join(self.word() for _ in range(self.rng.randint(low, high)))

    def title(self):
        text = self.words(2, 5)
        return text if self.devanagari else text.capitalize()


def wrap(text, width=78):
    """Lines of at most about `width` characters, broken at spaces."""
    lines, line = [], ""
    for word in text.split(" "):
        if line and len(line) + 1 + len(word) > width:
            lines.append(line)
            line = word
        else:
            line = f"{line} {word}" if line else word
    if line:
        lines.append(line)
    return lines


def grown_text(out, size, add):
    """`out`'s lines as a text, after `add(out, number)` has added to them
    for number 1, 2, ... until what it added comes to `size` bytes."""
    length, number = 0, 0
    while length < size:
        start = len(out)
        number += 1
        add(out, number)
        length += sum(len(line.encode()) + 1 for line in out[start:])
    return "\n".join(out) + "\n"


def code_line(rng, script):
    """A line of a code block: an assignment, indented 0 to 2 levels."""
    return "    " * rng.randint(0, 2) + f"{script.word()} = {script.word()}({rng.randint(0, 99)})"


def light_chapter(writer, out, number, heading, prose_share, blocks):
    """A chapter of a light-markup text: its level-1 heading (`heading`
    repeated for the level), then sections of levels 2 to 4, each of
    paragraphs (`prose_share` of them) and blocks drawn from `blocks`."""
    rng, script = writer.rng, writer.script
    out.extend([f"{heading} {number}. {script.title()}", ""])
    for _ in range(rng.randint(2, 4)):
        out.extend([f"{heading * rng.randint(2, 4)} {script.title()}", ""])
        for _ in range(rng.randint(2, 5)):
            if rng.random() < prose_share:
                writer.paragraph(out)
            else:
                rng.choice(blocks)(out)


class KoineWriter:
    """A koine document: front matter, then numbered sections with
    subsections, paragraphs with inline markup, footnotes, lists, definition
    lists, block quotations, verse (anonymous line blocks) and breaks."""

    def __init__(self, rng, devanagari):
        self.rng = rng
        self.script = Script(rng, devanagari)
        self.section = 0
        self.footnote = 0
        self.anchor = 0
        self.page = 0

    def inline_sentence(self, pending_footnotes):
        """One sentence; a few of its words carry markup."""
        rng, script = self.rng, self.script
        parts = []
        for _ in range(rng.randint(6, 14)):
            roll = rng.random()
            if roll < 0.04:
                parts.append(f"@/{script.words(1, 3)}/@")
            elif roll < 0.07:
                parts.append(f"@*{script.word()}*@")
            elif roll < 0.08:
                parts.append(f"@*/{script.words(1, 2)}/*@")
            elif roll < 0.09:
                parts.append(f'@""{script.words(2, 5)}""@.said')
            elif roll < 0.10:
                parts.append(f"@,{script.word()},@.term")
            elif roll < 0.105:
                parts.append(f"@><https://example.org/{script.word() if not script.devanagari else 'p'}/{rng.randint(1, 999)}><@")
            elif roll < 0.11 and self.section > 1:
                parts.append(f"@>(sec{rng.randint(1, self.section - 1)})")
            elif roll < 0.115:
                self.footnote += 1
                parts.append(f"{script.word()}@^(fn{self.footnote})")
                pending_footnotes.append(self.footnote)
            elif roll < 0.118:
                self.page += 1
                parts.append(f'@("page:{self.page}"){script.word()}')
            elif roll < 0.120:
                self.anchor += 1
                parts.append(f"@(a{self.anchor}){script.word()}")
            elif roll < 0.121:
                parts.append("mail\\@example.org")
            else:
                parts.append(script.word())
        sentence = " ".join(parts)
        if not script.devanagari:
            sentence = sentence[0].upper() + sentence[1:]
        return sentence + script.full_stop

    def paragraph(self, out):
        footnotes = []
        text = " ".join(self.inline_sentence(footnotes) for _ in range(self.rng.randint(2, 6)))
        out.extend(wrap(text))
        out.append("")
        for number in footnotes:
            out.extend(["@^", self.script.words(6, 20) + self.script.full_stop, f"^@(fn{number})", ""])

    def unordered_list(self, out):
        out.append("@--")
        for _ in range(self.rng.randint(2, 6)):
            out.extend(["@-", *wrap(self.inline_sentence([])), "-@"])
        out.extend(["--@", ""])

    def ordered_list(self, out):
        out.append("@..")
        for number in range(1, self.rng.randint(3, 7)):
            out.extend([f"@.-({number})", *wrap(self.inline_sentence([])), "-.@"])
        out.extend(["..@", ""])

    def definition_list(self, out):
        out.append("@::;")
        for _ in range(self.rng.randint(2, 4)):
            out.extend([f"@:: {self.script.words(1, 2)}", "@;", *wrap(self.inline_sentence([])), ";@", "::@"])
        out.extend([";::@", ""])

    def block_quotation(self, out):
        out.append('@"')
        out.extend(wrap(" ".join(self.inline_sentence([]) for _ in range(self.rng.randint(1, 3)))))
        out.extend([f'"@ {self.script.title()}', ""])

    def verse(self, out):
        out.append(f"@@@= {self.script.title()}")
        for strophe in range(self.rng.randint(1, 3)):
            if strophe:
                out.append("")
            for line in range(self.rng.randint(2, 4)):
                indent = "  " if line % 2 else ""
                out.append(indent + self.script.words(4, 8))
        out.extend([f"=@@@ {self.script.words(1, 3)}", ""])

    def section_break(self, out):
        out.extend(["@** *** **@", ""])

    def body(self, out, paragraphs):
        extras = (self.unordered_list, self.ordered_list, self.definition_list, self.block_quotation,
                  self.verse, self.section_break)
        for _ in range(paragraphs):
            self.paragraph(out)
            if self.rng.random() < 0.35:
                self.rng.choice(extras)(out)

    def write_section(self, out):
        self.section += 1
        out.extend([f"@#({self.section}) {self.script.title()}", ""])
        self.body(out, self.rng.randint(2, 4))
        for _ in range(self.rng.randint(1, 3)):
            out.extend([f"@## {self.script.title()}", ""])
            self.body(out, self.rng.randint(2, 5))
            if self.rng.random() < 0.4:
                out.extend([f"@### {self.script.title()}", ""])
                self.body(out, self.rng.randint(1, 3))
                out.extend(["###@", ""])
            out.extend(["##@", ""])
        out.extend([f"#@(sec{self.section})", ""])


def koine_document(rng, size, devanagari=False):
    writer = KoineWriter(rng, devanagari)
    out = ["@@@!koine", "", f"@= {writer.script.title()} =@", "", f"@=: {writer.script.title()} :=@", ""]
    return grown_text(out, size, lambda out, number: writer.write_section(out))


class MarkdownWriter:
    """Markdown of the subset the importer reads: ATX headings, paragraphs
    with emphasis, strong, code spans, links, autolinks and footnote
    references, bullet and ordered lists (nested by indentation), block
    quotes, fenced code, image lines and footnote definitions."""

    def __init__(self, rng, structured):
        self.rng = rng
        self.script = Script(rng, devanagari=False)
        self.structured = structured  # lists, quotes and code over prose
        self.footnote = 0

    def inline_sentence(self, footnotes):
        rng, script = self.rng, self.script
        parts = []
        for _ in range(rng.randint(6, 14)):
            roll = rng.random()
            if roll < 0.04:
                parts.append(f"*{script.words(1, 3)}*")
            elif roll < 0.07:
                parts.append(f"**{script.word()}**")
            elif roll < 0.09:
                parts.append(f"`{script.word()}_{script.word()}()`")
            elif roll < 0.10:
                parts.append(f"[{script.words(1, 3)}](https://example.org/{script.word()}/{rng.randint(1, 999)})")
            elif roll < 0.105:
                parts.append(f"<https://example.org/{script.word()}>")
            elif roll < 0.11:
                self.footnote += 1
                parts.append(f"{script.word()}[^n{self.footnote}]")
                footnotes.append(self.footnote)
            else:
                parts.append(script.word())
        sentence = " ".join(parts)
        return sentence[0].upper() + sentence[1:] + "."

    def paragraph(self, out):
        footnotes = []
        out.extend(wrap(" ".join(self.inline_sentence(footnotes) for _ in range(self.rng.randint(2, 6)))))
        out.append("")
        for number in footnotes:
            out.extend([f"[^n{number}]: {self.script.words(6, 20)}.", ""])

    def bullet_list(self, out, indent=""):
        for _ in range(self.rng.randint(2, 6)):
            lines = wrap(self.inline_sentence([]), 70)
            out.append(f"{indent}- {lines[0]}")
            out.extend(f"{indent}  {line}" for line in lines[1:])
            if not indent and self.rng.random() < 0.3:
                self.bullet_list(out, indent + "  ")
        out.append("")

    def ordered_list(self, out):
        for number in range(1, self.rng.randint(3, 8)):
            lines = wrap(self.inline_sentence([]), 70)
            out.append(f"{number}. {lines[0]}")
            out.extend(f"   {line}" for line in lines[1:])
        out.append("")

    def block_quote(self, out):
        out.extend(f"> {line}" for line in wrap(self.inline_sentence([]) + " " + self.inline_sentence([]), 70))
        out.append("")

    def code_block(self, out):
        out.append(self.rng.choice(("```python", "```", "```sh")))
        for _ in range(self.rng.randint(3, 12)):
            out.append(code_line(self.rng, self.script))
        out.extend(["```", ""])

    def image(self, out):
        out.extend([f"![](img/{self.script.word()}.png)", ""])

    def chapter(self, out, number):
        light_chapter(self, out, number, "#", 0.35 if self.structured else 0.75,
                      (self.bullet_list, self.ordered_list, self.block_quote, self.code_block, self.image))


def markdown_document(rng, size, structured=False):
    return grown_text([], size, MarkdownWriter(rng, structured).chapter)


def milestones_on_one_line(count):
    """One paragraph line holding `count` milestones."""
    line = " ".join(f'@("page:{n}")' for n in range(1, count + 1))
    return f"@@@!koine\n\n{line}\n"


def references_never_found(count):
    """`count` deixes, one a line, that the outline cannot locate: each is
    written by a sim name that only the embedded dialektos of an englossis
    knows, so no line spells the reference in a form of the declared one."""
    lines = ["@@@!koine", "", "@@@!(il-poesia)"]
    lines.extend(f"line {n} points at @{{verse}}(t{n}) and on" for n in range(1, count + 1))
    lines.append("!@@@")
    return "\n".join(lines) + "\n"


# About a hundred bytes each: the fixed cost of one call.
TINY_DOCUMENT = '@@@!koine\n\n@# Title\nSome @/short/@ text, with @*markup*@ and a milestone @("page:1").\n#@\n'
TINY_MARKDOWN = "# Title\n\nSome *short* text, with **markup**, `code` and a [link](https://example.org/).\n"
TINY_DEFINITION = {"tiny.dia": "@@@!ilvex\n@=== word\n@* grammata *@\n@\"a word\"@\n===@\n"}


class BlockHeavyWriter:
    """A document made mostly of small blocks: short sections, each with a
    one-line paragraph, a list of one-line items and now and then a short
    subsection or a two-line verse block, closed with an onym."""

    def __init__(self, rng):
        self.rng = rng
        self.script = Script(rng, False)
        self.section = 0
        self.page = 0

    def line(self):
        return self.script.words(3, 8).capitalize() + "."

    def item_list(self, out):
        out.append("@--")
        for _ in range(self.rng.randint(2, 6)):
            out.extend(["@-", self.line(), "-@"])
        out.extend(["--@", ""])

    def write_section(self, out):
        self.section += 1
        out.extend([f"@# {self.script.title()}", "", self.line(), ""])
        if self.rng.random() < 0.5:
            self.item_list(out)
        if self.rng.random() < 0.3:
            self.page += 1
            out.extend([f'@("page:{self.page}") {self.line()}', ""])
        if self.rng.random() < 0.3:
            out.extend([f"@## {self.script.title()}", "", self.line(), "", "##@", ""])
        if self.rng.random() < 0.2:
            out.extend(["@@@=", self.script.words(3, 6), self.script.words(3, 6), "=@@@", ""])
        out.extend([f"#@(s{self.section})", ""])


def block_heavy_document(rng, size):
    writer = BlockHeavyWriter(rng)
    return grown_text(["@@@!koine", ""], size, lambda out, number: writer.write_section(out))
