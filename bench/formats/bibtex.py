"""endo("bibtex") in the format table, beside pandoc's BibTeX reader, the npm
package bibtex-parse (in process, under Node.js) and Debian's bibtexparser."""

import random

FORMAT = "bibtex"
EXTENSION = ".bib"
APT_PACKAGES = ("pandoc", "python3-bibtexparser")
NPM_PACKAGES = ("bibtex-parse",)
TARGETS = {"pandoc": 30.0, "bibtex-parse": 3.0}

TYPES = ("article", "book", "inproceedings", "incollection", "phdthesis", "techreport", "misc")
# Accents as TeX writes them, as most .bib files hold them...
TEX_NAMES = ("Knuth", "Lamport", "Dijkstra", "Hoare", "Liskov", "M{\\\"u}ller", "{\\~N}{\\\'u}{\\~n}ez",
             "{\\.Z}ak", "Hopper", "Backus")
TEX_WORDS = ("the", "art", "of", "computer", "programming", "analysis", "on", "a", "theory", "structured",
             "systems", "{\\\"u}ber", "formal", "languages", "proof", "semantics")
# ...and as UTF-8 of several scripts, which Python stores two bytes a
# character: the input str, its UTF-8 copy and the result then take about
# six times the input's UTF-8 size whatever the format.
UTF8_NAMES = TEX_NAMES[:5] + ("Müller", "Ñúñez", "Żak", "Παπαδόπουλος", "王")
UTF8_WORDS = TEX_WORDS[:11] + ("über", "formal", "λόγος", "語言", "semantics")


def title(rng, words):
    words = [rng.choice(words) for _ in range(rng.randint(3, 12))]
    if rng.random() < 0.5:
        words[rng.randrange(len(words))] = "{" + rng.choice(("TeX", "LaTeX", "ALGOL", "{U}NIX")) + "}"
    if rng.random() < 0.3:
        words.append(r"\emph{" + rng.choice(words) + "}")
    text = " ".join(words)
    return text[0].upper() + text[1:]


def authors(rng, names):
    return " and ".join(f"{rng.choice(names)}, {chr(rng.randint(65, 90))}." for _ in range(rng.randint(1, 4)))


def entry(rng, number, names, words):
    kind = rng.choice(TYPES)
    fields = [
        f"  author = {{{authors(rng, names)}}}",
        f"  title = {{{title(rng, words)}}}",
        f"  year = {rng.randint(1950, 2025)}",
    ]
    if kind == "article":
        # A quoted value holds no double quote, not even in braces.
        journal = title(rng, words).replace('\\"', "\\'").replace("{", "").replace("}", "")
        fields.append(f"  journal = \"{journal}\"")
        fields.append(f"  volume = {rng.randint(1, 90)}")
        fields.append(f"  pages = \"{rng.randint(1, 400)}--{rng.randint(401, 800)}\"")
    elif kind in ("book", "incollection"):
        fields.append(f"  publisher = {{{rng.choice(names)} {{&}} Sons}}")
        fields.append(f"  address = \"{rng.choice(('Reading, MA', 'Berlin', 'New York'))}\"")
    else:
        fields.append(f"  note = {{{title(rng, words)}, see {{\\url{{https://example.org/{number}}}}}}}")
    if rng.random() < 0.3:
        fields.append(f"  abstract = {{{' '.join(title(rng, words) for _ in range(rng.randint(2, 6)))}}}")
    return f"@{kind}{{key{number},\n" + ",\n".join(fields) + "\n}\n\n"


def bibliography(rng, size, names, words):
    parts, total, number = [], 0, 0
    while total < size:
        number += 1
        text = entry(rng, number, names, words)
        parts.append(text)
        total += len(text.encode("utf-8"))
    return "".join(parts)


def generate(rng, size):
    seed = rng.random()
    return {"tex-accents": bibliography(random.Random(seed), size, TEX_NAMES, TEX_WORDS),
            "utf8": bibliography(random.Random(seed), size, UTF8_NAMES, UTF8_WORDS)}


def bibtexparser_parse(text):
    import bibtexparser
    if text:  # bibtexparser fails on an empty text
        bibtexparser.loads(text)


def peers(tools):
    return [tools.pandoc("bibtex"), tools.node("bibtex-parse", "bibtex-parse", "bibtex_parse.mjs"),
            tools.python("bibtexparser", "bibtexparser", "formats.bibtex", "bibtexparser_parse")]
