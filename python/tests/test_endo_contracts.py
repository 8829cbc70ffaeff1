"""What every importer promises, whatever its format: nesting is bounded
with one message, adversarial megabyte inputs finish fast, an empty text and
a lone surrogate are handled alike, a leading byte-order mark is no content,
and every output reads back."""

import time
import unittest

import ilvex
from support import IlvexTestCase

DEPTH = 100_000
MB = 1_000_000
# Guards against a quadratic case, not speed targets: each input takes a few
# milliseconds; a nesting past the bound is refused before reading on.
SECONDS = 2.0
NESTING_SECONDS = 1.0
# Formats whose messages are not wrapped in the missing-resource kind.
UNWRAPPED = {"html", "rst"}


def tei(body):
    return f"<TEI><text><body>{body}</body></text></TEI>"


def usx(body):
    return f"<usx><book code='GEN'/>{body}</usx>"


def osis(body):
    return f"<osis><osisText><div type='book' osisID='Gen'>{body}</div></osisText></osis>"


def message(format_name, text):
    """The importer's message `text`, with its prefix and wrapping."""
    prefixed = f"{format_name} import: {text}"
    return prefixed if format_name in UNWRAPPED else f"missing or unreadable resource: {prefixed}"


# Per format: a text nested DEPTH levels deep, and the outcome: None where
# the format has no nesting bound for it (the levels past the bound are
# text), else the message's text.
NESTING = "nesting deeper than 256 levels"
DEEP_TEXTS = [
    ("markdown", "> " * DEPTH + "x", None),
    ("html", "<div>" * DEPTH, NESTING),
    ("rst", "- " * DEPTH + "x\n", NESTING),
    # An unclosed block is reported before the depth is counted.
    ("org", "#+BEGIN_QUOTE\n" * DEPTH + "x\n" + "#+END_QUOTE\n" * DEPTH, NESTING),
    ("djot", "> " * DEPTH + "x\n", NESTING),
    ("docbook", "<article>" + "<blockquote>" * DEPTH, NESTING),
    ("bibtex", "@misc{k, title = {" + "{" * DEPTH + "x" + "}" * DEPTH + "}}", None),
    ("jats", "<article><body>" + "<sec><title>t</title>" * DEPTH, NESTING),
    ("tei", tei("<div>" * DEPTH), NESTING),
    ("usfm", "\\id GEN\n\\p " + "\\add " * DEPTH + "x", NESTING),
    ("usx", usx("<para style='p'>" + "<char style='it'>" * DEPTH), NESTING),
    ("osis", osis("<p>" + "<hi>" * DEPTH), NESTING),
]

# Per format, megabyte texts that a rescan would make quadratic: many
# openers and no closer, and one very long line; the outcome as above.
ADVERSARIAL_TEXTS = [
    ("markdown", "[a](" * (MB // 4), None),
    ("markdown", "[^" * (MB // 2), None),
    ("html", "<p>" + "&" * MB + "</p>", None),
    ("html", "<p>" + "word " * (MB // 2) + "</p>", None),
    ("rst", "[#a]" * (MB // 4), None),
    ("rst", "word " * (MB // 2), None),
    ("org", "[[a][" * (MB // 5), None),
    ("org", "=a " * (MB // 3), None),
    ("org", "word " * (MB // 2), None),
    ("djot", "[a](" * (MB // 4), None),
    ("djot", "_" * MB, None),
    ("djot", "word " * (MB // 2), None),
    ("docbook", "<article><para>" + "&" * MB + "</para></article>", None),
    ("docbook", "<article><para>" + "<emphasis>x</emphasis>" * (MB // 20), "unterminated <para>"),
    ("bibtex", "@misc{k, title = {" + "{" * MB, "unterminated braced value of `title`"),
    ("bibtex", '@misc{k, note = "' + "word " * (MB // 2) + '"}', None),
    ("jats", "<article><body><p>" + "<bold>x</bold>" * (MB // 15), "unterminated <p>"),
    ("jats", "<article><body><p>" + "word " * (MB // 2) + "</p></body></article>", None),
    ("tei", tei("<p>" + "&" * MB + "</p>"), None),
    ("tei", tei("<p>" + "word " * (MB // 2) + "</p>"), None),
    ("usfm", "\\id GEN\n\\p " + "\\f + x" * (MB // 6), "unterminated \\f"),
    ("usfm", "\\id GEN\n\\p " + "word " * (MB // 2), None),
    ("usx", usx("<para style='p'>" + "<char style='it'>x</char>" * (MB // 25)),
     'unexpected Close("usx") in inline content'),
    ("usx", usx("<para style='p'>" + "word " * (MB // 2) + "</para>"), None),
    ("osis", osis("<p>" + "<hi type='bold'>x</hi>" * (MB // 20)), "unmatched </div>"),
    ("osis", osis("<p>" + "word " * (MB // 2) + "</p>"), None),
]

# Per format, the outcome of an empty text: the empty document of its
# dialektos, or the message's text.
EMPTY = [
    ("markdown", "@@@!il-markdown\n", None),
    ("html", "@@@!il-html\n", None),
    ("rst", "@@@!il-rst\n", None),
    ("org", "@@@!il-org\n", None),
    ("djot", "@@@!il-djot\n", None),
    ("docbook", "@@@!il-docbook\n", None),
    ("bibtex", "@@@!bibliogramma\n", None),
    ("jats", "@@@!litogramma\n", None),
    ("tei", "@@@!litogramma\n", None),
    ("usfm", None, "missing \\id"),
    ("usx", None, "missing <book code>"),
    ("osis", None, "no book div found"),
]
FORMATS = [format_name for format_name, _, _ in EMPTY]

# Per format, a small text that imports; a byte-order mark before it (a
# file saved with one and decoded as plain UTF-8) changes nothing.
SMALL_TEXTS = [
    ("markdown", "# T\n"),
    ("html", "<h1>T</h1>"),
    ("rst", "T\n=\n"),
    ("org", "* T\n"),
    ("djot", "# T\n"),
    ("docbook", "<article><title>T</title><para>p</para></article>"),
    ("bibtex", "@misc{k, title={T}}"),
    ("jats", "<article><body><p>T</p></body></article>"),
    ("tei", tei("<p>T</p>")),
    ("usfm", "\\id GEN\n\\p T\n"),
    ("usx", usx("<para style='p'>T</para>")),
    ("osis", osis("<p>T</p>")),
]


class ImporterContractsTest(IlvexTestCase):
    def assert_outcome(self, format_name, text, failure, seconds=SECONDS):
        """endo(format_name, text) finishes within `seconds` and fails with
        `failure` (the message's text), or succeeds with output that reads
        back when `failure` is None."""
        start = time.perf_counter()
        if failure is None:
            self.assert_canonical(ilvex.endo(format_name, text))
        else:
            self.assert_ilvex_error(message(format_name, failure), lambda: ilvex.endo(format_name, text))
        self.assertLess(time.perf_counter() - start, seconds)

    def test_tables_cover_every_format(self):
        for table in (DEEP_TEXTS, ADVERSARIAL_TEXTS):
            self.assertEqual({format_name for format_name, _, _ in table}, set(FORMATS))

    def test_deep_nesting_fails_fast_with_one_message(self):
        for format_name, text, failure in DEEP_TEXTS:
            with self.subTest(format=format_name):
                self.assert_outcome(format_name, text, failure, NESTING_SECONDS)

    def test_adversarial_inputs_finish_fast(self):
        for format_name, text, failure in ADVERSARIAL_TEXTS:
            with self.subTest(format=format_name, text=text[:40]):
                self.assert_outcome(format_name, text, failure)

    def test_empty_text(self):
        for format_name, expected, failure in EMPTY:
            with self.subTest(format=format_name):
                if failure is None:
                    self.assert_endo_outputs(format_name, [("", expected)])
                else:
                    self.assert_outcome(format_name, "", failure)

    def test_byte_order_mark_is_not_content(self):
        self.assertEqual([format_name for format_name, _ in SMALL_TEXTS], FORMATS)
        for format_name, text in SMALL_TEXTS:
            with self.subTest(format=format_name):
                self.assertEqual(ilvex.endo(format_name, "\ufeff" + text), ilvex.endo(format_name, text))

    def test_lone_surrogate_fails_with_the_interpreters_error(self):
        for format_name in FORMATS:
            for text in ("\ud800", "x\udfff y"):
                with self.subTest(format=format_name, text=text):
                    with self.assertRaises(UnicodeEncodeError):
                        ilvex.endo(format_name, text)


if __name__ == "__main__":
    unittest.main()
