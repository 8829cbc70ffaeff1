"""endo("org"): the blocks and inlines it reads, every message it fails
with, and that it stays linear on hostile input."""

import time
import unittest

import ilvex
from support import IlvexTestCase

PREFIX = "missing or unreadable resource: org import: "
NESTING = PREFIX + "nesting deeper than 256 levels"


class OrgBlocksTest(IlvexTestCase):
    def assert_org(self, cases):
        self.assert_endo_cases("org", "il-org", cases)

    def test_headings_keywords_and_paragraphs(self):
        self.assert_org([
            ("", ""),
            (" \n\t\r\n", ""),
            ("* Title\nText", "@#Title#@\n\nText\n"),
            ("***** Five\n****** six\n*bold* word\n** \n*x", "@#####Five#####@\n\n****** six @*bold*@ word ** *x\n"),
            ("* #tag", "@# #tag#@\n"),  # kept apart from the opener
            # The title keyword in any letter case; other keywords go.
            ("#+TITLE: Doc\n#+title: Doc\n#+Title: Doc\n#+AUTHOR: me\n#+OPTIONS: x\n#+\n#+END",
             "@#Doc#@\n\n@#Doc#@\n\n@#Doc#@\n"),
            ("  a  \nb\n\nc\n#+AUTHOR: x\nd", "a b\n\nc\n\nd\n"),
            ("* Title\r\nText\r\n", "@#Title#@\n\nText\n"),
        ])

    def test_source_and_example_blocks(self):
        self.assert_org([
            ("#+BEGIN_SRC python\nprint(1)\n#+end_src", "@@@\"\nprint(1)\n\"@@@.python\n"),
            ("#+begin_src R :results output\n  x <- 1\n\n#+END_SRC", "@@@\"\n  x <- 1\n\n\"@@@.r\n"),
            ("#+BEGIN_SRC C++\ny\n#+END_SRC", "@@@\"\ny\n\"@@@\n"),  # no genos can be made of it: the code stays
            ("#+BEGIN_EXAMPLE\n* not a heading\n  #+END_EXAMPLE", "@@@\"\n* not a heading\n\"@@@\n"),
            ("#+BEGIN_EXAMPLE\n#+END_EXAMPLE", "@@@\"\n\n\"@@@\n"),
            ("#+BEGIN_SRC\nx\n  \"@@@ y\n#+END_SRC", "@@@\"\nx\n\"@@@\n\n@@\"  \"\"@@@@\"@@@ y\"@@\n"),
        ])

    def test_quote_and_verse_blocks(self):
        self.assert_org([
            ("#+BEGIN_QUOTE\n* H\ntext\n#+END_QUOTE\nafter", "@>\n@#H#@\n\ntext\n>@\n\nafter\n"),
            ("#+BEGIN_QUOTE\n#+END_QUOTE", "@>\n>@\n"),
            # A quote inside a quote ends at its own end line.
            ("#+BEGIN_QUOTE\na\n#+BEGIN_QUOTE\nb\n#+END_QUOTE\nc\n#+END_QUOTE",
             "@>\na\n\n@>\nb\n>@\n\nc\n>@\n"),
            # An end line inside code is code.
            ("#+BEGIN_QUOTE\n#+BEGIN_SRC\n#+END_QUOTE\n#+END_SRC\n#+END_QUOTE",
             "@>\n@@@\"\n#+END_QUOTE\n\"@@@\n>@\n"),
            ("#+BEGIN_VERSE\n  line one  \nline *two*\n\n\nthree\n#+END_VERSE",
             "@~\n  line one\nline @*two*@\n\nthree\n~@\n"),
            ("#+BEGIN_VERSE\n\n#+END_VERSE", "@~\n~@\n"),
        ])

    def test_tables_footnotes_and_items(self):
        self.assert_org([
            ("| a | b |\n|---+---|\n  | 1 | 2 |  \n\n| c |", "@|\n| a | b |\n|---+---|\n| 1 | 2 |\n|@\n\n@|\n| c |\n|@\n"),
            ("[fn:1] Note *text*\n  continued\n\tmore\nafter", "@^\nNote @*text*@ continued more\n^@(1)\n\nafter\n"),
            ("[fn:a-b] x\n[fn:] y\n [fn:1] z", "[fn:a-b] x [fn:] y @^(1) z\n"),
            ("[fn:n]", "@^\n^@(n)\n"),
            ("- apple :: a fruit\n- a ::  b :: c", "@:: apple\na fruit\n::@\n\n@:: a\nb :: c\n::@\n"),
            ("- x\n  more\n   still\n- y\n more", "@-\nx more still\n-@\n\n@-\ny\n-@\n\nmore\n"),
            ("- x\n  - nested\n  2. ordered", "@-\nx\n-@\n\n@-\nnested\n-@\n\n@.(2)\nordered\n.@\n"),
            ("3. third\n9) ninth\n  - no", "@.(3)\nthird\n.@\n\n@.(9)\nninth\n.@\n\n@-\nno\n-@\n"),
            ("-x\n- \n1.x", "-x - 1.x\n"),
        ])

    def test_failures(self):
        cases = [
            ("#+BEGIN_CENTER", "unsupported block `#+BEGIN_CENTER`"),
            ("a\n#+begin_comment x", "unsupported block `#+begin_comment x`"),
            ("#+END_QUOTE", "unsupported block `#+END_QUOTE`"),
            ("#+end_src", "unsupported block `#+end_src`"),
            ("#+END_", "unsupported block `#+END_`"),
            ("#+BEGIN_QUOTE", "unterminated #+BEGIN_QUOTE"),
            ("#+BEGIN_SRC python\nx", "unterminated #+BEGIN_SRC PYTHON"),
            ("#+begin_example\n#+END_SRC", "unterminated #+BEGIN_EXAMPLE"),
            ("#+BEGIN_VERSE\nx\n#+END_QUOTE", "unterminated #+BEGIN_VERSE"),
            ("#+BEGIN_QUOTE\n#+BEGIN_QUOTE\n#+END_QUOTE", "unterminated #+BEGIN_QUOTE"),
            ("#+BEGIN_QUOTE\n#+BEGIN_SRC\n#+END_QUOTE", "unterminated #+BEGIN_SRC"),
            ("#+BEGIN_QUOTE\n#+BEGIN_CENTER\n#+END_QUOTE", "unsupported block `#+BEGIN_CENTER`"),
        ]
        for text, message in cases:
            with self.subTest(text=text):
                self.assert_ilvex_error(PREFIX + message, lambda: ilvex.endo("org", text))

    def test_quote_nesting_is_bounded(self):
        self.assert_canonical(ilvex.endo("org", "#+BEGIN_QUOTE\n" * 256 + "x\n" + "#+END_QUOTE\n" * 256))
        for depth in [257, 100_000]:
            start = time.perf_counter()
            text = "#+BEGIN_QUOTE\n" * depth + "x\n" + "#+END_QUOTE\n" * depth
            self.assert_ilvex_error(NESTING, lambda: ilvex.endo("org", text))
            self.assertLess(time.perf_counter() - start, 1.0)


class OrgInlinesTest(IlvexTestCase):
    def assert_org(self, cases):
        self.assert_endo_cases("org", "il-org", [(text, body + "\n") for text, body in cases])

    def test_spans_under_the_flanking_rules(self):
        self.assert_org([
            ("*b* /i/ _u_ +s+ =v= ~c~", "@*b*@ @/i/@ @_u_@ @+s+@ @@\"v\"@@ @@\"c\"@@"),
            ("a =b*c= d", "a @@\"b*c\"@@ d"),
            ("2*3*4 a/b/ / x/ **x**", "2*3*4 a/b/ / x/ **x**"),
            ("*a /b/ c*. (_u_)", "@*a @/b/@ c*@. (@_u_@)"),
            ("=*a*= ~[[x]]~", "@@\"*a*\"@@ @@\"[[x]]\"@@"),
            ("\\*a*", "\\*a*"),  # no escapes
        ])

    def test_links_and_references(self):
        self.assert_org([
            ("see [[file:notes.org][the notes]]", "see the notes (@><file:notes.org><@)"),
            ("[[file:a.org]] [[a][*b*]]", "@><file:a.org><@ *b* (@><a><@)"),
            ("[[a]b]] [[a] [[x", "[[a]b]] [[a] [[x"),
            ("a [fn:x] [fn:1]. [fn:] [fn:a b] [fn:x", "a @^(x) @^(1). [fn:] [fn:a b] [fn:x"),
        ])


class OrgLinearTimeTest(IlvexTestCase):
    def test_hostile_inputs(self):
        pieces = ["[[", "[[a]", "[fn:", "[fn:a", "*a ", "/a ", "=a ", "a*", "[[a][", "|", "- a\n  ",
                  "#+BEGIN_QUOTE\n", "#+BEGIN_SRC\n", "[fn:1] x\n "]
        for piece in pieces:
            text = piece * (1_000_000 // len(piece))
            with self.subTest(piece=piece):
                start = time.perf_counter()
                try:
                    output = ilvex.endo("org", text)
                except ilvex.IlvexError as error:
                    self.assertTrue(error.args[0].startswith(PREFIX))
                else:
                    self.assertTrue(output.startswith("@@@!il-org\n"))
                self.assertLess(time.perf_counter() - start, 2.0)


if __name__ == "__main__":
    unittest.main()
