"""endo("jats") in the format table, beside pandoc's JATS reader and lxml's parse."""

import unicodedata

from formats._xml_peer import lxml_peer

FORMAT = "jats"
EXTENSION = ".xml"
APT_PACKAGES = ("pandoc", "python3-lxml")
NPM_PACKAGES = ()
TARGETS = {"pandoc": 30.0, "lxml": 1 / 3}

WORDS = ("the", "of", "cell", "protein", "expression", "was", "measured", "in", "samples", "and",
         "results", "show", "a", "significant", "increase", "response", "to", "treatment", "with",
         "data", "model", "analysis", "under", "conditions", "we", "observed", "that", "these")
SURNAMES = ("Smith", "Garc\u00eda", "M\u00fcller", "Nakamura", "Okafor", "Rossi", "Novak", "Kim", "Dubois")
GIVEN = ("J", "A B", "Mar\u00eda", "K", "L M", "Yuki", "Chinedu", "P")


def _plain(rng, words):
    return " ".join(rng.choice(WORDS) for _ in range(rng.randint(words // 2, words * 2))).capitalize()


def _sentence(rng, n_refs, words=14):
    parts = []
    for _ in range(rng.randint(words // 2, words * 2)):
        roll = rng.random()
        word = rng.choice(WORDS)
        if roll < 0.04:
            parts.append(f"<italic>{word}</italic>")
        elif roll < 0.06:
            parts.append(f"<bold>{word}</bold>")
        elif roll < 0.07:
            parts.append(f"<monospace>{word}_{rng.randint(1, 99)}</monospace>")
        elif roll < 0.09:
            ids = " ".join(f"B{rng.randint(1, n_refs)}" for _ in range(rng.randint(1, 3)))
            parts.append(f'<xref ref-type="bibr" rid="{ids}">[{ids}]</xref>')
        elif roll < 0.095:
            parts.append(f'<ext-link ext-link-type="uri" xlink:href="https://example.org/{word}">{word} site</ext-link>')
        elif roll < 0.098:
            parts.append(f"<fn><p>{word} &amp; note.</p></fn>")
        else:
            parts.append(word)
    return " ".join(parts).capitalize() + "."


def _paragraph(rng, n_refs):
    return "<p>" + " ".join(_sentence(rng, n_refs) for _ in range(rng.randint(2, 6))) + "</p>\n"


def _section(rng, n_refs, depth, budget):
    out = [f'<sec id="s{rng.randint(1, 10**6)}">\n<title>{_sentence(rng, n_refs, 3)[:-1]}</title>\n']
    for _ in range(rng.randint(2, 6)):
        out.append(_paragraph(rng, n_refs))
        if rng.random() < 0.08:
            out.append("<disp-quote>" + _paragraph(rng, n_refs) + "</disp-quote>\n")
    if depth < 3 and rng.random() < 0.5:
        for _ in range(rng.randint(1, 3)):
            out.append(_section(rng, n_refs, depth + 1, budget))
    out.append("</sec>\n")
    return "".join(out)


def _name(rng):
    return (f"<name><surname>{rng.choice(SURNAMES)}</surname>"
            f"<given-names>{rng.choice(GIVEN)}</given-names></name>")


def _reference(rng, k):
    kind = rng.random()
    if kind < 0.6:
        names = "".join(_name(rng) for _ in range(rng.randint(1, 6)))
        first = rng.randint(1, 900)
        citation = (f'<element-citation publication-type="journal"><person-group person-group-type="author">'
                    f"{names}</person-group><article-title>{_plain(rng, 6)}</article-title>"
                    f"<source>Journal of {rng.choice(WORDS).title()}</source><year>{rng.randint(1950, 2024)}</year>"
                    f"<volume>{rng.randint(1, 300)}</volume><fpage>{first}</fpage><lpage>{first + rng.randint(1, 40)}</lpage>"
                    f'<pub-id pub-id-type="doi">10.{rng.randint(1000, 9999)}/x.{k}</pub-id></element-citation>')
    elif kind < 0.85:
        names = "".join(_name(rng) for _ in range(rng.randint(1, 3)))
        citation = (f'<element-citation publication-type="book"><person-group person-group-type="author">'
                    f"{names}</person-group><source>{_plain(rng, 5)}</source>"
                    f"<publisher-name>{rng.choice(SURNAMES)} Press</publisher-name>"
                    f"<year>{rng.randint(1950, 2024)}</year></element-citation>")
    else:
        citation = (f'<mixed-citation publication-type="other">{rng.choice(SURNAMES)} {rng.choice(GIVEN)}. '
                    f"{_plain(rng, 8)}. {rng.randint(1950, 2024)}.</mixed-citation>")
    return f'<ref id="B{k}"><label>{k}</label>{citation}</ref>\n'


def generate(rng, size):
    """The same article twice: in ASCII (names without their accents), and
    with names in letters beyond ASCII, which the module's frame holds
    once more as UTF-8, in and out."""
    article = _article(rng, size)
    ascii_only = unicodedata.normalize("NFKD", article).encode("ascii", "ignore").decode("ascii")
    return {"ascii": ascii_only, "utf-8": article}


def _article(rng, size):
    """An article of about `size` bytes: about a third of it a reference
    list of thousands of entries, the rest front matter and a body of
    nested sections."""
    n_refs = max(100, size // 1000)
    head = ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<!DOCTYPE article PUBLIC "-//NLM//DTD JATS (Z39.96) Journal Archiving and Interchange DTD v1.2 20190208//EN" "JATS-archivearticle1.dtd">\n'
            '<article xmlns:xlink="http://www.w3.org/1999/xlink" article-type="research-article">\n<front>\n'
            "<journal-meta><journal-title-group><journal-title>Bench Journal</journal-title></journal-title-group>"
            "<issn>1234-5678</issn></journal-meta>\n<article-meta><title-group><article-title>A generated "
            "<italic>article</italic></article-title></title-group>\n<contrib-group>"
            + "".join(f'<contrib contrib-type="author">{_name(rng)}</contrib>' for _ in range(8))
            + "</contrib-group>\n<abstract>" + _paragraph(rng, n_refs) + "</abstract>\n</article-meta>\n</front>\n<body>\n")
    refs = "<back>\n<ref-list>\n<title>References</title>\n" + "".join(
        _reference(rng, k) for k in range(1, n_refs + 1)) + "</ref-list>\n</back>\n</article>\n"
    out = [head]
    total = len(head) + len(refs)
    while total < size:
        section = _section(rng, n_refs, 0, size)
        out.append(section)
        total += len(section)
    out.append("</body>\n")
    out.append(refs)
    return "".join(out)


# pandoc's JATS reader refuses an empty file, on which the suite times a
# peer's start-up: through the shell, an empty file counts as done.
PANDOC_JATS = 'pandoc -f jats -t html -o /dev/null "$0" 2>/dev/null || [ ! -s "$0" ]'


def peers(tools):
    pandoc = tools.command("pandoc", "sh", lambda path: ["-c", PANDOC_JATS, str(path)])
    if tools.pandoc("jats").command is None:
        pandoc = tools.pandoc("jats")  # shows as not installed
    return [pandoc, lxml_peer(tools)]
