"""endo("djot") in the format table, beside @djot/djot (its parser and HTML
renderer, in a Node.js loop)."""

import inputs

FORMAT = "djot"
EXTENSION = ".dj"
APT_PACKAGES = ()
NPM_PACKAGES = ("@djot/djot",)
TARGETS = {"@djot/djot": 3.0}


class DjotWriter:
    """djot of the subset the importer reads: ATX headings, paragraphs with
    strong, emphasis, code spans, links and autolinks, one-line bullet and
    ordered items, block quotes (some nested) and fenced code."""

    def __init__(self, rng):
        self.rng = rng
        self.script = inputs.Script(rng, devanagari=False)

    def inline_sentence(self):
        rng, script = self.rng, self.script
        parts = []
        for _ in range(rng.randint(6, 14)):
            roll = rng.random()
            if roll < 0.04:
                parts.append(f"*{script.words(1, 3)}*")
            elif roll < 0.07:
                parts.append(f"_{script.word()}_")
            elif roll < 0.09:
                parts.append(f"`{script.word()}.{script.word()}()`")
            elif roll < 0.10:
                parts.append(f"[{script.words(1, 3)}](https://example.org/{script.word()}/{rng.randint(1, 999)})")
            elif roll < 0.105:
                parts.append(f"<https://example.org/{script.word()}>")
            elif roll < 0.11:
                parts.append(f"{script.word()}\\*")
            else:
                parts.append(script.word())
        sentence = " ".join(parts)
        return sentence[0].upper() + sentence[1:] + "."

    def paragraph(self, out):
        out.extend(inputs.wrap(" ".join(self.inline_sentence() for _ in range(self.rng.randint(2, 6)))))
        out.append("")

    def bullet_list(self, out):
        out.extend(f"- {self.inline_sentence()}" for _ in range(self.rng.randint(2, 6)))
        out.append("")

    def ordered_list(self, out):
        marker = self.rng.choice((".", ")"))
        out.extend(f"{number}{marker} {self.inline_sentence()}" for number in range(1, self.rng.randint(3, 8)))
        out.append("")

    def block_quote(self, out):
        prefix = self.rng.choice(("> ", "> ", "> > "))
        out.extend(f"{prefix}{line}" for line in inputs.wrap(self.inline_sentence() + " " + self.inline_sentence(), 70))
        out.append("")

    def code_block(self, out):
        out.append(self.rng.choice(("``` python", "```", "``` sh")))
        for _ in range(self.rng.randint(3, 12)):
            out.append(inputs.code_line(self.rng, self.script))
        out.extend(["```", ""])

    def chapter(self, out, number):
        inputs.light_chapter(self, out, number, "#", 0.6,
                             (self.bullet_list, self.ordered_list, self.block_quote, self.code_block))


def generate(rng, size):
    return inputs.grown_text([], size, DjotWriter(rng).chapter)


def peers(tools):
    return [tools.node("@djot/djot", "@djot/djot", "djot_peer.mjs")]
