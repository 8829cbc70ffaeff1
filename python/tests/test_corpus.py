"""Real files of every format, written by others: each imports to text that
reads back, or is refused with an IlvexError, quickly and without a crash.

The files are read in place from the shared corpus beside the repository
(one folder per format name, its subfolders included), or from the folder of
the same shape that the environment's ILVEX_CORPUS_DIR names; without it the
test is skipped. A summary per format (files imported, files refused and the
commonest refusals) is printed.
"""

import collections
import os
import pathlib
import re
import sys
import time
import unittest

import ilvex

CORPUS = pathlib.Path(os.environ.get("ILVEX_CORPUS_DIR") or
                      pathlib.Path(__file__).resolve().parents[3] / "shared" / "corpus")
FORMATS = ["markdown", "html", "rst", "org", "djot", "docbook", "bibtex", "jats", "tei", "usfm", "usx", "osis"]
# A guard against a hang or a quadratic case, not a speed target: the files
# are at most a few MB, and an import takes milliseconds.
SECONDS_PER_FILE = 2.0
# A dictionary imports into lexigramma, which only a user defines: its
# output is read back by the core's own corpus test, beside a definition.
USER_DEFINED = "@@@!lexigramma"
RESOURCE_PREFIX = "missing or unreadable resource: "
# The debug forms of tokens that importer messages quote.
OPEN_TOKEN = re.compile(r'Open \{ name: "([^"]*)", attrs: \[.*?\], self_closing: (?:true|false) \}')
CLOSE_TOKEN = re.compile(r'Close\("([^"]*)"\)')
TEXT_TOKEN = re.compile(r'Text\(".*?"\)')


def corpus_files(format_name):
    folder = CORPUS / format_name
    return sorted(p for p in folder.rglob("*") if p.is_file()) if folder.is_dir() else []


@unittest.skipUnless(CORPUS.is_dir(), f"no corpus at {CORPUS}")
class CorpusTest(unittest.TestCase):
    def test_every_file_imports_or_is_refused(self):
        summary = []
        for format_name in FORMATS:
            imported, refusals = 0, collections.Counter()
            for path in corpus_files(format_name):
                with self.subTest(file=str(path.relative_to(CORPUS))):
                    outcome = self.import_file(format_name, path)
                    if outcome is None:
                        imported += 1
                    else:
                        refusals[outcome] += 1
            summary.append(self.summary_line(format_name, imported, refusals))
        print("\ncorpus:\n" + "\n".join(summary), file=sys.stderr)

    def import_file(self, format_name, path):
        """None when the file imported, else the refusal's message; fails the
        test when the output does not read back or the import is slow."""
        text = path.read_text(encoding="utf-8", errors="replace")
        start = time.perf_counter()
        try:
            output = ilvex.endo(format_name, text)
        except ilvex.IlvexError as error:
            return self.refusal_kind(error.args[0])
        except NotImplementedError:
            return "importer not built"
        finally:
            self.assertLess(time.perf_counter() - start, SECONDS_PER_FILE)
        if not output.startswith(USER_DEFINED):
            self.assertEqual(ilvex.check(output), "document")
            self.assertEqual(ilvex.brachy(output), output)
        return None

    @staticmethod
    def refusal_kind(message):
        """The message with the tokens it names shortened to their element
        ("<sub>", "</sub>", "text"), so that refusals of one construct count
        together."""
        message = message.removeprefix(RESOURCE_PREFIX)
        message = OPEN_TOKEN.sub(lambda m: f"<{m.group(1)}>", message)
        message = CLOSE_TOKEN.sub(lambda m: f"</{m.group(1)}>", message)
        return TEXT_TOKEN.sub("text", message)[:120]

    @staticmethod
    def summary_line(format_name, imported, refusals):
        total = imported + sum(refusals.values())
        commonest = "; ".join(f"{count}x {message}" for message, count in refusals.most_common(3))
        return f"  {format_name}: {imported}/{total} imported" + (f"; refused: {commonest}" if commonest else "")


if __name__ == "__main__":
    unittest.main()
