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
            out.append("    " * self.rng.randint(0, 2) + f"{self.script.word()} = {self.script.word()}({self.rng.randint(0, 99)})")
        out.extend(["```", ""])

    def chapter(self, out, number):
        out.extend([f"# {number}. {self.script.title()}", ""])
        for _ in range(self.rng.randint(2, 4)):
            out.extend([f"{'#' * self.rng.randint(2, 4)} {self.script.title()}", ""])
            for _ in range(self.rng.randint(2, 5)):
                if self.rng.random() < 0.6:
                    self.paragraph(out)
                else:
                    self.rng.choice((self.bullet_list, self.ordered_list, self.block_quote, self.code_block))(out)


def generate(rng, size):
    writer = DjotWriter(rng)
    out, length, number = [], 0, 0
    while length < size:
        start = len(out)
        number += 1
        writer.chapter(out, number)
        length += sum(len(line.encode()) + 1 for line in out[start:])
    return "\n".join(out) + "\n"


def peers(tools):
    return [tools.node("@djot/djot", "@djot/djot", "djot_peer.mjs")]
