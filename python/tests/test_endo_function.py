"""The endo frame: format dispatch, the scheme rule and the written output."""

import unittest

import ilvex
from support import IlvexTestCase

FORMATS = ["markdown", "html", "rst", "org", "djot", "docbook", "bibtex", "jats", "tei",
           "usfm", "usx", "osis"]


class EndoTest(IlvexTestCase):
    def test_unknown_names_are_matched_byte_for_byte(self):
        for name in ["Markdown", "md", " html", "HTML", "markdown ", ""]:
            self.assert_ilvex_error(f"unsupported endo format: {name}", lambda: ilvex.endo(name, "x"))

    def test_scheme_applies_to_scripture_formats_only(self):
        self.assert_ilvex_error("scheme applies to usfm/usx/osis only",
                                lambda: ilvex.endo("markdown", "# x\n", scheme="x"))
        self.assert_ilvex_error("scheme applies to usfm/usx/osis only",
                                lambda: ilvex.endo("markdown", "# x\n", scheme=""))

    def test_markdown_output_is_canonical(self):
        output = ilvex.endo("markdown", "# Hello\n\nSome *em* and **strong**.\n")
        self.assertEqual(output, "@@@!il-markdown\n\n@#Hello#@\n\nSome @*em*@ and @**strong**@.\n")
        self.assertEqual(ilvex.check(output), "document")
        self.assertEqual(ilvex.brachy(output), output)

    def test_text_of_every_width_reads_alike(self):
        # The text is read from the str's own UTF-8, whatever the width the
        # str stores its characters in; decomposed text comes out composed.
        cases = {
            "# Title\n\nplain *x*\n": "@@@!il-markdown\n\n@#Title#@\n\nplain @*x*@\n",
            "# Caf\u00e9\n\n\u4e2d *\U0001F600*\n": "@@@!il-markdown\n\n@#Caf\u00e9#@\n\n\u4e2d @*\U0001F600*@\n",
            "- e\u0301 [x](u)\n": "@@@!il-markdown\n\n@-\n\u00e9 x (@><u><@)\n-@\n",
        }
        for text, expected in cases.items():
            self.assertEqual(ilvex.endo("markdown", text), expected)

    def test_large_output_in_many_pieces(self):
        # ASCII throughout, then the same with text that turns non-ASCII late.
        source = "".join(f"# Part {i}\n\nSome *em* and **strong** text.\n\n" for i in range(6000))
        ascii_output = ilvex.endo("markdown", source)
        late = ilvex.endo("markdown", source + "\u00e9t\u00e9\n")
        self.assertEqual(late, ascii_output + "\n\u00e9t\u00e9\n")
        for output in (ascii_output, late):
            self.assertEqual(ilvex.check(output), "document")
            self.assertEqual(ilvex.brachy(output), output)

    def test_results_of_every_size_against_their_room(self):
        # Room is reserved at about the source's size: a result about as long
        # keeps the rest of its block, a longer one grows it, a much shorter
        # one gives it back. Each is an ordinary str all the same.
        paragraphs = "".join(f"Part {i} with *em* text.\n\n" for i in range(8000))
        links = " ".join(f"<a:{i}>" for i in range(20000)) + "\n"
        cases = (
            (paragraphs, "".join(f"Part {i} with @*em*@ text.\n\n" for i in range(8000))[:-1]),
            (links, " ".join(f"@><a:{i}><@" for i in range(20000)) + "\n"),
            ("\n" * 100000 + "x\n", "x\n"),
        )
        for source, body in cases:
            with self.subTest(source=source[:12]):
                output = ilvex.endo("markdown", source)
                expected = "@@@!il-markdown\n\n" + body
                self.assertEqual(len(output), len(expected))
                self.assertEqual(output, expected)
                self.assertEqual(hash(output), hash(expected))
                self.assertEqual(output.encode(), expected.encode())
                self.assertEqual(output[-7:] + "!", expected[-7:] + "!")

    def test_every_name_is_known(self):
        for name in FORMATS:
            try:
                ilvex.endo(name, "")
            except (ilvex.IlvexError, NotImplementedError):
                pass


if __name__ == "__main__":
    unittest.main()
