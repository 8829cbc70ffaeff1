"""endo("djot"): the blocks and inlines it reads, what fails, and that it
stays linear on hostile input."""

import time
import unittest

import ilvex
from support import IlvexTestCase

NESTING = "missing or unreadable resource: djot import: nesting deeper than 256 levels"
UNTERMINATED = "missing or unreadable resource: djot import: unterminated code fence"


class DjotBlocksTest(IlvexTestCase):
    def assert_djot(self, cases):
        self.assert_endo_cases("djot", "il-djot", cases)

    def test_headings_paragraphs_and_blank_input(self):
        self.assert_djot([
            ("", ""),
            ("\n  \n\t\r\n", ""),
            ("# One\n###### Six\n####### seven\n#x\n#  \n", "@#One#@\n\n@######Six######@\n\n####### seven #x #\n"),
            ("## Title ##", "@##Title ####@\n"),
            ("# \\# tag", "@# # tag#@\n"),  # kept apart from the opener
            # Lines are trimmed and joined; any block line ends a paragraph.
            ("a\n  b  \r\nc\n\nd", "a b c\n\nd\n"),
            ("a\n# h\nb\n```\nx\n```\nc\n> q\nd\n- i\ne\n2. j",
             "a\n\n@#h#@\n\nb\n\n@@@\"\nx\n\"@@@\n\nc\n\n@>\nq\n>@\n\nd\n\n@-\ni\n-@\n\ne\n\n@.(2)\nj\n.@\n"),
        ])

    def test_fences(self):
        self.assert_djot([
            ("```\n```", "@@@\"\n\n\"@@@\n"),
            ("```\nx\n\n```", "@@@\"\nx\n\n\"@@@\n"),  # the last line, empty, is kept
            ("```Python\nx = 1\n\n  y\n````", "@@@\"\nx = 1\n\n  y\n\"@@@.python\n"),
            ("``` js \nx\n``` closes too\nafter", "@@@\"\nx\n\"@@@.js\n\nafter\n"),
            ("```C++\nx\n```", "@@@\"\nx\n\"@@@\n"),  # no genos can be made of it: the code stays
            ("```\n ```\n```", "@@@\"\n ```\n\"@@@\n"),  # an indented line neither opens nor closes
            (" ```\nx", "@@\"\"@@` x\n"),
            ("```\nx\n  \"@@@ y\n```", "@@@\"\nx\n\"@@@\n\n@@\"  \"\"@@@@\"@@@ y\"@@\n"),
        ])

    def test_quotes_read_as_texts_of_their_own(self):
        self.assert_djot([
            ("> a\n> b\nc", "@>\na b\n>@\n\nc\n"),
            ("> a\n>\n> b", "@>\na\n\nb\n>@\n"),
            ("> a\n\n> b", "@>\na\n>@\n\n@>\nb\n>@\n"),
            ("> > x\n> y", "@>\n@>\nx\n>@\n\ny\n>@\n"),
            ("> # h\n> ```py\n> x\n> ```", "@>\n@#h#@\n\n@@@\"\nx\n\"@@@.py\n>@\n"),
            (">a\n>b", ">a >b\n"),
        ])

    def test_items_are_one_line_each(self):
        self.assert_djot([
            ("- a\n  b\n- c", "@-\na\n-@\n\nb\n\n@-\nc\n-@\n"),
            ("3. three\n9) nine", "@.(3)\nthree\n.@\n\n@.(9)\nnine\n.@\n"),
            ("18446744073709551616. over\n-a\n- \n-", "18446744073709551616. over -a - -\n"),
            ("- > x\n1. # y", "@-\n> x\n-@\n\n@.(1)\n# y\n.@\n"),
            ("- [ ]()", "@-\n-@\n"),  # nothing left of the text
        ])

    def test_what_is_read_as_text(self):
        self.assert_djot([
            ("* x\n+ y\n---\n::: div\n[^1]: note\n| a | b |\n: term\n{.class}",
             "* x + y --- ::: div [^1]: note | a | b | : term {.class}\n"),
        ])

    def test_failures(self):
        for text in ["```", "```\nx", "a\n```py\n", "> ```\n> x\n```", "> > ```\n> > x\n> ```"]:
            with self.subTest(text=text):
                self.assert_ilvex_error(UNTERMINATED, lambda: ilvex.endo("djot", text))

    def test_nesting_is_bounded(self):
        self.assert_canonical(ilvex.endo("djot", "> " * 256 + "x"))
        for depth in [257, 100_000]:
            start = time.perf_counter()
            self.assert_ilvex_error(NESTING, lambda: ilvex.endo("djot", "> " * depth + "x\n" + "> " * depth))
            self.assertLess(time.perf_counter() - start, 1.0)


class DjotInlinesTest(IlvexTestCase):
    def assert_djot(self, cases):
        self.assert_endo_cases("djot", "il-djot", [(text, body + "\n") for text, body in cases])

    def test_spans_under_the_flanking_rules(self):
        self.assert_djot([
            ("*strong* _em_ *_both_*", "@*strong*@ @_em_@ @*@_both_@*@"),
            ("a*b* *a *b* (*c*) \"_d_\"", "a*b* @*a *b*@ (@*c*@) \"@_d_@\""),
            ("* a* __x__ **y** *a*b", "* a* __x__ **y** *a*b"),
            ("*a*. *a*b* c", "@*a*@. @*a*b*@ c"),
            ("_a *b_ c*", "@_a *b_@ c*"),  # no nesting count: the first closer closes
            ("_[]()_", "@__@"),
        ])

    def test_links_code_and_escapes(self):
        self.assert_djot([
            ("[t](u) [u](u) [ ](u) <a:b>", "t (@><u><@) @><u><@ @><u><@ @><a:b><@"),
            ("[ a]() b [t] (u) [t](u", "a b [t] (u) [t](u"),
            ("[*t*]( u ) [a [b](c)", "@*t*@ (@><u><@) a [b (@><c><@)"),
            ("![alt](i.png) [^1] [^x](u)", "![alt](i.png) [^1] [^x](u)"),
            ("`a *b*` `", "@@\"a *b*\"@@ `"),
            ("\\*a\\* \\q \\_ \\", "*a* \\q _ \\"),
            ("\\\\*a*", "\\*a*"),
            ("<a b:c> <x> <1:y>", "<a b:c> <x> <1:y>"),
        ])


class DjotLinearTimeTest(IlvexTestCase):
    def test_hostile_inputs(self):
        pieces = ["_a ", "[", "*a ", "[a](", "a`", "<a:", "> ", ">", "_", "a_", "[a]", "\\", "*_"]
        for piece in pieces:
            text = piece * (1_000_000 // len(piece))
            with self.subTest(piece=piece):
                start = time.perf_counter()
                try:
                    output = ilvex.endo("djot", text)
                except ilvex.IlvexError as error:
                    self.assertEqual(error.args, (NESTING,))
                else:
                    self.assertTrue(output.startswith("@@@!il-djot\n"))
                self.assertLess(time.perf_counter() - start, 2.0)


if __name__ == "__main__":
    unittest.main()
