"""endo("usfm") in the format table, beside usfm-js and usfm-grammar under
Node.js, with the time the versification scheme pass adds."""

FORMAT = "usfm"
EXTENSION = ".usfm"
APT_PACKAGES = ()
NPM_PACKAGES = ("usfm-js", "usfm-grammar")
TARGETS = {"usfm-js": 2.0}
SCHEME = "vers"

BOOKS = ["GEN", "EXO", "LEV", "NUM", "DEU", "JOS", "JDG", "RUT", "1SA", "2SA", "1KI", "2KI", "PSA", "PRO",
         "ISA", "JER", "MAT", "MRK", "LUK", "JHN", "ACT", "ROM", "1CO", "2CO", "GAL", "EPH", "HEB", "REV"]
WORDS = ("and the of to in that he shall unto for his a lord they be is him not them it with all thou "
         "thy was which my me said but ye their have will upon people king land house son day god "
         "children hand made came before man men over out against heaven earth light waters").split()
BOOK_SIZE = 160_000  # bytes: a middle-sized book


def words(rng, low, high):
    return " ".join(rng.choice(WORDS) for _ in range(rng.randint(low, high)))


def verse_text(rng, chapter, verse):
    parts = [words(rng, 6, 14)]
    roll = rng.random()
    if roll < 0.15:
        parts.append(f"\\nd {rng.choice(WORDS)}\\nd*")
    elif roll < 0.25:
        parts.append(f"\\add {words(rng, 1, 3)}\\add*")
    elif roll < 0.35:
        parts.append(f"\\w {rng.choice(WORDS)}|strong=\"H{rng.randint(1, 8000)}\"\\w*")
    elif roll < 0.40:
        parts.append(f"\\wj {words(rng, 3, 8)}\\wj*")
    parts.append(words(rng, 2, 10))
    roll = rng.random()
    if roll < 0.10:
        parts.append(f"\\f + \\fr {chapter}.{verse} \\ft Or, \\fq {rng.choice(WORDS)}\\fq* {words(rng, 2, 6)}\\f*")
    elif roll < 0.15:
        parts.append(f"\\x - \\xo {chapter}.{verse} \\xt {rng.choice(BOOKS).title()} {rng.randint(1, 50)}.{rng.randint(1, 30)}\\x*")
    return " ".join(parts) + "."


def book(rng, code, size):
    lines = [f"\\id {code} generated text", "\\usfm 3.0", f"\\h {code.title()}", f"\\toc1 The Book of {code.title()}",
             f"\\mt1 {code.title()}"]
    length = sum(len(line) + 1 for line in lines)
    chapter = 0
    while length < size:
        chapter += 1
        chapter_lines = [f"\\c {chapter}", f"\\s1 {words(rng, 2, 5).title()}"]
        poetry = rng.random() < 0.3
        verse = 0
        for _ in range(rng.randint(2, 5)):
            if poetry:
                chapter_lines.append("\\q1")
                for _ in range(rng.randint(2, 4)):
                    verse += 1
                    chapter_lines.append(f"\\v {verse} {words(rng, 4, 9)}")
                    chapter_lines.append(f"\\q2 {words(rng, 3, 8)}")
                chapter_lines.append("\\b")
            else:
                chapter_lines.append(rng.choice(["\\p", "\\p", "\\p", "\\m"]))
                for _ in range(rng.randint(3, 8)):
                    verse += 1
                    chapter_lines.append(f"\\v {verse} {verse_text(rng, chapter, verse)}")
        lines.extend(chapter_lines)
        length += sum(len(line) + 1 for line in chapter_lines)
    return "\n".join(lines) + "\n"


def books_text(rng, size, book, book_size):
    """Books of BOOKS in turn, each `book(rng, code, size)` of at most
    `book_size` bytes, until they come to `size` bytes."""
    books = []
    length = 0
    while length < size:
        books.append(book(rng, BOOKS[len(books) % len(BOOKS)], min(book_size, size - length)))
        length += len(books[-1])
    return "".join(books)


def generate(rng, size):
    return books_text(rng, size, book, BOOK_SIZE)


def peers(tools):
    return [tools.node("usfm-js", "usfm-js", "usfm_js.mjs"),
            tools.node("usfm-grammar", "usfm-grammar", "usfm_grammar.mjs")]
