"""endo("tei") in the format table, beside lxml's parse: a generated prose
edition (divisions, notes, milestones, verse, speeches) and a generated
dictionary."""

import random

import inputs
from formats._xml_peer import lxml_peer

FORMAT = "tei"
EXTENSION = ".xml"
APT_PACKAGES = ("python3-lxml",)
NPM_PACKAGES = ()
TARGETS = {"lxml": 1 / 3}

HEADER = ("<teiHeader><fileDesc><titleStmt><title type=\"main\">{}</title><author>{}</author></titleStmt>"
          "<publicationStmt><p>Generated.</p></publicationStmt></fileDesc></teiHeader>\n")


class Edition:
    """A prose edition: chapters of paragraphs with notes, emphasis and page
    and section milestones, verse passages and scenes of speeches."""

    def __init__(self, rng):
        self.rng = rng
        self.script = inputs.Script(rng, devanagari=False)
        self.page = 0
        self.section = 0

    def sentence(self):
        words = self.script.words(6, 16).split(" ")
        if self.rng.random() < 0.3:
            at = self.rng.randrange(len(words))
            words[at] = f"<hi rend=\"italic\">{words[at]}</hi>"
        if self.rng.random() < 0.1:
            words.append(f"<note place=\"foot\">{self.script.words(4, 12)}.</note>")
        if self.rng.random() < 0.08:
            self.page += 1
            words.append(f"<pb n=\"{self.page}\"/>")
        return " ".join(words).capitalize() + "."

    def paragraph(self):
        self.section += 1
        milestone = f"<milestone unit=\"section\" n=\"{self.section}\"/>"
        return f"<p>{milestone}{' '.join(self.sentence() for _ in range(self.rng.randint(3, 7)))}</p>\n"

    def verse(self):
        lines = "".join(f"<l>{self.script.words(5, 9)}</l>\n" for _ in range(self.rng.randint(4, 8)))
        return f"<lg type=\"stanza\">\n{lines}</lg>\n"

    def scene(self, number):
        speeches = []
        for _ in range(self.rng.randint(3, 6)):
            who = self.script.word().capitalize()
            speeches.append(f"<sp><speaker>{who}</speaker><p>{self.sentence()}</p></sp>\n")
        return f"<div type=\"scene\" n=\"{number}\"><head>Scene {number}</head>\n{''.join(speeches)}</div>\n"

    def chapter(self, number):
        parts = [f"<div type=\"chapter\" n=\"{number}\"><head>{self.script.title()}</head>\n"]
        for _ in range(self.rng.randint(6, 12)):
            kind = self.rng.random()
            if kind < 0.7:
                parts.append(self.paragraph())
            elif kind < 0.85:
                parts.append(self.verse())
            else:
                parts.append(self.scene(number))
        parts.append("</div>\n")
        return "".join(parts)


def edition(rng, size):
    writer = Edition(rng)
    out = ["<?xml version=\"1.0\"?>\n<TEI>", HEADER.format("An Edition", "Anonymous"), "<text><body>\n"]
    total, number = 0, 0
    while total < size:
        number += 1
        out.append(writer.chapter(number))
        total += len(out[-1])
    out.append("</body></text></TEI>\n")
    return "".join(out)


def dictionary(rng, size):
    script = inputs.Script(rng, devanagari=False)
    out = ["<?xml version=\"1.0\"?>\n<TEI>", HEADER.format("A Dictionary", "Anonymous"), "<text><body><div>\n"]
    total, number = 0, 0
    while total < size:
        number += 1
        headword = script.word()
        senses = []
        for k in range(rng.randint(1, 4)):
            usage = f"<usg type=\"geo\">{script.word()}</usg>" if rng.random() < 0.3 else ""
            senses.append(
                f"<sense n=\"{k + 1}\">{usage}<def>{script.words(4, 12)}</def>"
                f"<cit type=\"example\"><quote>{script.words(5, 10)}</quote><bibl>{script.word()}</bibl></cit>"
                f"<cit type=\"translation\"><quote xml:lang=\"fr\">{script.words(1, 3)}</quote></cit>"
                f"<xr type=\"syn\"><lbl>Syn.</lbl><ref target=\"#e{rng.randint(1, number)}\">{script.word()}</ref></xr>"
                "</sense>")
        out.append(
            f"<entry xml:id=\"e{number}\"><form type=\"lemma\"><orth>{headword}</orth>"
            f"<pron>{headword}</pron></form><form type=\"inflected\"><orth>{headword}s</orth></form>"
            f"<gramGrp><pos>n</pos><gen>f</gen></gramGrp><etym>From <mentioned>{script.word()}</mentioned>.</etym>"
            f"{''.join(senses)}</entry>\n")
        total += len(out[-1])
    out.append("</div></body></text></TEI>\n")
    return "".join(out)


def generate(rng, size):
    seed = rng.random()
    return {"prose edition": edition(random.Random(seed), size),
            "dictionary": dictionary(random.Random(seed), size)}


def peers(tools):
    return [lxml_peer(tools)]
