"""Every function called from several threads at once gives the answers it
gives when called from one."""

import os
import tempfile
import threading
import unittest

import ilvex
from support import IlvexTestCase

THREADS = 8

# A sim whose symbol is not ASCII, so that an ASCII source gets a result that
# turns non-ASCII late, and a glossa that names it.
CHAPTER = "@@@!ilvex\n@=== chapter\n@\u00a7 [lemma]\ngrammata\n\u00a7@\n===@\n"
CHAPTER_DE = "@@@!ilvex-glossa\n@=loc=>de\n@\u00a7 Kapitel\n"


def koine(parts, extra=""):
    """A koine document of `parts` sections, large enough to be worked on
    without the interpreter lock."""
    sections = "".join(f"@# Part {i}\nSome @*strong*@ text{extra} and a milestone @(\"page:{i}\").\n#@(p{i})\n\n"
                       for i in range(parts))
    return "@@@!koine\n\n" + sections


def calls(directory):
    """(label, call) pairs: each function on inputs large and small, valid
    and failing, ASCII and not, some sharing one `str`."""
    shared = koine(400)
    decomposed = koine(300, extra=" Cafe\u0301 \u0928\u093c")
    local = os.path.join(directory, "doc.ild")
    late = "@@@!loc\n\n" + "".join(f"Part {i} text.\n\n" for i in range(600)) + "@{chapter} One\ntext\n{chapter}@\n"
    failing = koine(300) + "@xyz\n"
    # Sources of megabytes have their results decoded as they are written,
    # with the lock taken back for each step.
    large = koine(13000, extra=" \u0928")
    large_late = "@@@!loc\n\n" + "".join(f"Part {i} text.\n\n" for i in range(70000)) + "@{chapter} One\n{chapter}@\n"
    markdown = "".join(f"# Title {i}\n\nSome *em* and **strong** text with `code`.\n\n- one\n- two\n\n"
                       for i in range(300))
    sources = {"big.dia": CHAPTER.replace("===@", "===@\n" + "".join(
        f"@=== sim{i}\n@*{i}* grammata *{i}*@\n===@\n" for i in range(200)))}
    pairs = []
    for function in (ilvex.check, ilvex.brachy, ilvex.plero, ilvex.outline):
        name = function.__name__
        pairs += [
            (f"{name} shared", lambda f=function: f(shared)),
            (f"{name} decomposed", lambda f=function: f(decomposed)),
            (f"{name} failing", lambda f=function: f(failing)),
            (f"{name} tiny", lambda f=function: f("@@@!koine\n\nSome @/em/@.\n")),
            (f"{name} late non-ASCII", lambda f=function: f(late, path=local)),
        ]
    pairs += [
        ("brachy large", lambda: ilvex.brachy(large)),
        ("plero large", lambda: ilvex.plero(large)),
        ("brachy large, late non-ASCII", lambda: ilvex.brachy(large_late, path=local)),
        ("endo markdown large", lambda: ilvex.endo("markdown", markdown * 52 + "\u00e9\n")),
        ("plero with a glossa", lambda: ilvex.plero(late, lang="de", path=local)),
        ("plero with a missing glossa", lambda: ilvex.plero(late, lang="fr", path=local)),
        ("endo markdown", lambda: ilvex.endo("markdown", markdown)),
        ("endo org", lambda: ilvex.endo("org", markdown.replace("# ", "* "))),
        ("dialektos from sources, refused", lambda: ilvex.dialektos("big", sources=sources)),
        ("dialektos from a directory", lambda: ilvex.dialektos("loc", dir=directory)),
        ("dialektos standard", lambda: ilvex.dialektos("il-poesia")),
    ]
    return pairs


def answer(call):
    """What `call` returns, or the type and arguments of what it raises."""
    try:
        return ("value", call())
    except Exception as error:  # every failure is part of the answer
        return ("raised", type(error), error.args)


class ThreadsTest(IlvexTestCase):
    def test_threads_give_the_single_threaded_answers(self):
        with tempfile.TemporaryDirectory() as directory:
            for name, text in (("loc.dia", CHAPTER), ("loc.de.glossa", CHAPTER_DE)):
                with open(os.path.join(directory, name), "w", encoding="utf-8") as file:
                    file.write(text)
            pairs = calls(directory)
            expected = {label: answer(call) for label, call in pairs}
            self.assertEqual(expected["check failing"][0], "raised")
            self.assertTrue(expected["brachy late non-ASCII"][1].endswith("\u00a7@\n"))
            results = [[] for _ in range(THREADS)]
            start = threading.Barrier(THREADS)

            def work(index):
                start.wait()
                # Each thread takes the calls in its own order, three times.
                order = pairs[index % len(pairs):] + pairs[:index % len(pairs)]
                for _ in range(3):
                    results[index].extend((label, answer(call)) for label, call in order)

            threads = [threading.Thread(target=work, args=(i,)) for i in range(THREADS)]
            for thread in threads:
                thread.start()
            for thread in threads:
                thread.join()
        for index, answers in enumerate(results):
            self.assertEqual(len(answers), 3 * len(pairs))
            for label, got in answers:
                with self.subTest(thread=index, call=label):
                    self.assertEqual(got, expected[label])


if __name__ == "__main__":
    unittest.main()
