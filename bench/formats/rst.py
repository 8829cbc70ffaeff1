"""endo("rst") in the format table, beside pandoc's RST reader and docutils
(parsing to a doctree only)."""

import random

FORMAT = "rst"
EXTENSION = ".rst"
APT_PACKAGES = ("pandoc", "python3-docutils")
NPM_PACKAGES = ()
TARGETS = {"pandoc": 30.0, "docutils": 30.0}

ASCII_WORDS = ("the", "reader", "markup", "section", "value", "of", "a", "list", "and", "text", "line", "form",
               "import", "note", "style", "overview", "naive", "cafe", "logos", "sign")
# The same with words of several scripts, which Python stores two bytes a
# character: the input str, its UTF-8 copy and the result then take about
# six times the input's UTF-8 size whatever the format.
MULTISCRIPT_WORDS = ASCII_WORDS[:14] + ("daß", "Überblick", "naïve", "café", "λόγος", "字")
ADORNMENTS = "=-~^\"'"


def sentence(rng, words, footnotes):
    """Running text with the inline forms the importer reads."""
    parts = []
    for _ in range(rng.randint(6, 18)):
        word = rng.choice(words)
        roll = rng.random()
        if roll < 0.05:
            word = f"*{word}*"
        elif roll < 0.08:
            word = f"**{word} {rng.choice(words)}**"
        elif roll < 0.11:
            word = f"``{word}()``"
        elif roll < 0.13:
            word = f"`{word} <https://example.org/{word}/{rng.randint(1, 999)}>`_"
        elif roll < 0.14 and footnotes:
            word = f"{word} [#{rng.choice(footnotes)}]_"
        elif roll < 0.15:
            word = f"\\*{word}"
        parts.append(word)
    text = " ".join(parts)
    return text[0].upper() + text[1:] + "."


def paragraph(rng, words, footnotes, indent=""):
    lines = [sentence(rng, words, footnotes) for _ in range(rng.randint(1, 4))]
    return "".join(indent + line + "\n" for line in lines) + "\n"


def block(rng, words, footnotes, number):
    roll = rng.random()
    if roll < 0.10:
        title = " ".join(rng.choice(words) for _ in range(rng.randint(1, 5))).capitalize()
        return f"{title}\n{rng.choice(ADORNMENTS) * (len(title) + rng.randint(0, 3))}\n\n"
    if roll < 0.20:
        return "".join(f"- {sentence(rng, words, footnotes)}\n  {sentence(rng, words, footnotes)}\n" for _ in range(3)) + "\n"
    if roll < 0.26:
        return "".join(f"{k}. {sentence(rng, words, footnotes)}\n" for k in range(1, 5)) + "\n"
    if roll < 0.30:
        return "".join(f":{rng.choice(words).capitalize()}{k}: {sentence(rng, words, footnotes)}\n" for k in range(3)) + "\n"
    if roll < 0.34:
        kind = rng.choice(("note", "warning"))
        return f".. {kind}::\n\n" + paragraph(rng, words, footnotes, "   ")
    if roll < 0.38:
        code = "".join(f"   x{k} = f({k}, \"{rng.choice(words)}\")\n" for k in range(rng.randint(2, 6)))
        return "::\n\n" + code + "\n"
    if roll < 0.42:
        return f"{rng.choice(words)} term\n" + paragraph(rng, words, footnotes, "   ")
    if roll < 0.45:
        return paragraph(rng, words, footnotes, "   ")
    if roll < 0.47:
        return f".. image:: pics/figure-{number}.png\n\n"
    if roll < 0.50:
        label = f"n{number}"
        footnotes.append(label)
        return f".. [#{label}] {sentence(rng, words, [])}\n   {sentence(rng, words, [])}\n\n"
    return paragraph(rng, words, footnotes)


def document(rng, size, words):
    parts, footnotes, total, number = ["Document\n========\n\n"], [], 0, 0
    while total < size:
        number += 1
        text = block(rng, words, footnotes, number)
        parts.append(text)
        total += len(text.encode("utf-8"))
    return "".join(parts)


def generate(rng, size):
    seed = rng.random()
    return {"ascii": document(random.Random(seed), size, ASCII_WORDS),
            "multiscript": document(random.Random(seed), size, MULTISCRIPT_WORDS)}


def docutils_doctree(text):
    import docutils.core
    docutils.core.publish_doctree(text, settings_overrides={"report_level": 5, "halt_level": 5})


def peers(tools):
    return [tools.pandoc("rst"), tools.python("docutils", "docutils", "formats.rst", "docutils_doctree")]
