"""endo("rst"): the reStructuredText subset, its messages and its limits."""

import time
import unittest

import ilvex
from support import IlvexTestCase

HEAD = "@@@!il-rst\n"


class RstImportTest(IlvexTestCase):
    def assert_imports(self, cases):
        self.assert_endo_outputs("rst", cases, HEAD)

    def assert_fails(self, cases):
        self.assert_endo_errors("rst", cases)

    def test_titles(self):
        self.assert_imports([
            ("Title\n=====\n", "\n@#Title#@\n"),
            ("Title\n-----\n", "\n@##Title##@\n"),
            ("A\n===\nB\n~~~\nC\n^^^\nD\n\"\"\"\nE\n'''\n",
             "\n@#A#@\n\n@###B###@\n\n@####C####@\n\n@#####D#####@\n\n@######E######@\n"),
            # Two characters are no adornment; a shorter one is a paragraph
            # of its own, and so is an overline.
            ("Title\n==\n", "\nTitle ==\n"),
            ("Title\n===\n", "\nTitle\n\n===\n"),
            ("=====\nTitle\n=====\n", "\n=====\n\n@#Title#@\n"),
            # Trailing spaces: after the title they go, after the adornment
            # they make it none; an indented line is no title.
            ("Title  \n=====\n", "\n@#Title#@\n"),
            ("Title\n=====  \n", "\nTitle =====\n"),
            (" Title\n======\n", "\nTitle\n\n======\n"),
            # Lengths are compared in characters: nine of each.
            ("\u00dcberblick\n=========\n", "\n@#\u00dcberblick#@\n"),
            ("*Sch\u00f6n* title\n=============\n", "\n@#@*Sch\u00f6n*@ title#@\n"),
            # A title beginning with "#" stays apart from its opener.
            ("#x\n===\n", "\n@# #x#@\n"),
            ("######\n======\n", "\n@# #######@\n"),
            ("para\nTitle\n=====\n", "\npara\n\n@#Title#@\n"),
        ])

    def test_directives(self):
        self.assert_imports([
            (".. note::\n\n   a\n   b\n", "\n@!\na b\n!@\n"),
            (".. warning::\n   - a\n", "\n@!!\n@-\na\n-@\n!!@\n"),
            # One blank line is skipped; a second one followed by indented
            # lines belongs to the body.
            (".. note::\n\n\n   a\n", "\n@!\na\n!@\n"),
            (".. note::\nx\n", "\n@!\n!@\n\nx\n"),
            (".. note::\n", "\n@!\n!@\n"),
            (".. image:: pics/a b.png\n", "\n@@@@(pics/a%20b.png)\n"),
            (".. image:: x.png\n   :alt: y\n", "\n@@@@(x.png)\n@>\n@: alt\ny\n:@\n>@\n"),
            (".. [#note-a] First.\n   Second.\n", "\n@^\nFirst. Second.\n^@(note-a)\n"),
            (".. [#a] one\n\n   two\n", "\n@^\none\n\ntwo\n^@(a)\n"),
            ("See [#note-a]_.\n", "\nSee @^(note-a).\n"),
        ])

    def test_fields_items_and_definitions(self):
        self.assert_imports([
            (":Author: Jane Doe\n", "\n@: Author\nJane Doe\n:@\n"),
            (":a:b: *c*\n", "\n@: a:b\n@*c*@\n:@\n"),
            (":Author:\n", "\n:Author:\n"),
            (":a b: c\n", "\n:a b: c\n"),
            ("para\n:a: b\n", "\npara :a: b\n"),
            ("- a\n  b\n- c\n", "\n@-\na b\n-@\n\n@-\nc\n-@\n"),
            ("- a\n\n  b\n\nc\n", "\n@-\na\n\nb\n-@\n\nc\n"),
            ("1. x\n12. y\n", "\n@.(1)\nx\n.@\n\n@.(12)\ny\n.@\n"),
            ("12. a\n    b\n   c\n", "\n@.(12)\na\n\nb c\n.@\n"),
            ("1) x\n", "\n1) x\n"),
            ("1.x\n", "\n1.x\n"),
            ("18446744073709551616. x\n", "\n18446744073709551616. x\n"),
            ("para\nnext\n- item\n", "\npara next\n\n@-\nitem\n-@\n"),
            ("term\n   definition\n", "\n@:: term\ndefinition\n::@\n"),
            ("Example::\n   def\n", "\n@:: Example::\ndef\n::@\n"),
        ])

    def test_literal_blocks_and_quotes(self):
        self.assert_imports([
            ("::\n\n   a\n   b\n", '\n@@@"\na\nb\n"@@@\n'),
            ("::\n   a\n\n   b\nc\n", '\n@@@"\na\n\nb\n"@@@\n\nc\n'),
            ("::\n\n    lit *x*\n   y\n", '\n@@@"\n lit *x*\ny\n"@@@\n'),
            # A line that would close the literal early leaves it.
            ('::\n\n   a\n   "@@@\n   b\n', '\n@@@"\na\n"@@@\n\n@@"""@@@@"@@@"@@\n\n@@@"\nb\n"@@@\n'),
            ("Example::\n\n   block\n", "\nExample::\n\n@>\nblock\n>@\n"),
            ("   a\n   b\n\n      c\n", "\n@>\na b\n\n@>\nc\n>@\n>@\n"),
        ])

    def test_inlines(self):
        self.assert_imports([
            ("\\*not emphasis\\*\n", "\n*not emphasis*\n"),
            ("\\`\\` \\\\ \\a\n", "\n`` \\ \\a\n"),
            ("``a*b``\n", '\n@@"a*b"@@\n'),
            ("````\n", '\n@@""@@\n'),
            ("``a\n", "\n``a\n"),
            ('``"@@``\n', '\n@@"""@@@@"@@"@@\n'),
            ("**b**\n", "\n@**b**@\n"),
            ("*a*b*\n", "\n@*a*@b*\n"),
            ("**a *b* c**\n", "\n@**a @*b*@ c**@\n"),
            ("**a\n", "\n**a\n"),
            ("`Guide <guide.html>`_\n", "\nGuide (@><guide.html><@)\n"),
            ("`<guide.html>`_ and `guide.html <guide.html>`__\n",
             "\n@><guide.html><@ and @><guide.html><@\n"),
            ("`a *b* <u>`_\n", "\na @*b*@ (@><u><@)\n"),
            ("`Guide`_ `Guide <>`_ `Guide<guide.html>`_ `a <b_>`_ `a <b c>`_\n",
             "\n`Guide`_ `Guide <>`_ `Guide<guide.html>`_ `a <b_>`_ `a <b c>`_\n"),
            ("[#a]_[#b c\n", "\n@^(a)[#b c\n"),
            ("a\\\n", "\na\\\n"),
            ("@x |y @@\n", "\n\\@x |y \\@\\@\n"),
        ])

    def test_empty_and_blank_texts(self):
        self.assert_imports([("", ""), (" \n\n\t\n", "")])

    def test_messages(self):
        self.assert_fails([
            (".. note:: Be careful\n", "rst import: unsupported directive `.. note:: Be careful`"),
            (".. note:: \n", "rst import: unsupported directive `.. note:: `"),
            (".. comment\n", "rst import: unsupported directive `.. comment`"),
            (".. _target: http://x\n", "rst import: unsupported directive `.. _target: http://x`"),
            (".. |sub| image:: x\n", "rst import: unsupported directive `.. |sub| image:: x`"),
            (".. [1] numbered\n", "rst import: unsupported directive `.. [1] numbered`"),
            ("- a\n\n  .. code:: c\n", "rst import: unsupported directive `.. code:: c`"),
            (".. [#note-a]\n", "rst import: malformed footnote `.. [#note-a]`"),
            # A label that is no onym cannot be written as one.
            (".. [#] auto\n", "rst import: invalid identifier ``"),
            (".. [#a b] x\n", "rst import: invalid identifier `a b`"),
            ("See [#]_.\n", "rst import: invalid identifier ``"),
            ("See [#a b]_.\n", "rst import: invalid identifier `a b`"),
        ])

    def test_nesting_is_bounded(self):
        deep = "rst import: nesting deeper than 256 levels"
        self.assert_fails([
            ("- " * 257 + "x\n", deep),
            ("   " * 257 + "x\n", deep),
            ("- " * 100000 + "x\n", deep),
            (".. note::\n" + "".join("   " * k + ".. note::\n" for k in range(1, 300)), deep),
        ])
        output = ilvex.endo("rst", "- " * 255 + "x\n")
        self.assertEqual(output.count("@-\n"), 255)
        self.assertEqual(ilvex.brachy(output), output)

    def test_adversarial_inputs_stay_linear(self):
        # Openers without closers, one long line, long runs of lines, long
        # adornments: each about 1 MB.
        cases = [
            "[#" * 500000,
            "`a <b" * 200000,
            "``" + "a `" * 300000,
            "*" + "a" * 1000000,
            "**" + "a *" * 100000,
            "x" * 1000000,
            "a\n" * 500000,
            "=" * 1000000 + "\n" + "=" * 1000000 + "\n",
            ":" * 1000000 + "\n",
            "   " * 200 + ("x\n" + "   " * 200) * 1500,
            "- x\n  " * 150000,
        ]
        for source in cases:
            with self.subTest(source=source[:20]):
                start = time.perf_counter()
                try:
                    ilvex.endo("rst", source)
                except ilvex.IlvexError:
                    pass
                self.assertLess(time.perf_counter() - start, 2.0)


if __name__ == "__main__":
    unittest.main()
