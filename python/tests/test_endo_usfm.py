"""endo("usfm", ...): books, chapters, verses, paragraphs, headings, poetry,
character and note markup, the scheme pass, and the errors."""

import time
import unittest

import ilvex
from support import ScriptureTestCase, scripture_book as book

PREFIX = "missing or unreadable resource: usfm import: "


class UsfmTestCase(ScriptureTestCase):
    FORMAT = "usfm"
    PREFIX = PREFIX


class MarkerLineTest(UsfmTestCase):
    def test_books_chapters_and_verses(self):
        self.assert_table([
            ("\\id GEN Genesis\n\\c 1\n\\p\n\\v 1 In the beginning\n\\v 2 And\n",
             book("@##(1)\n\n@|(1) In the beginning @|(2) And\n")),
            # An empty paragraph leaves no block; the rest of a chapter line goes.
            ("\\id GEN\n\\p\n\\c 2 extra words\n", book("@##(2)\n")),
            # A second \id closes the first book; the code is lower-cased.
            ("\\id GEN\n\\c 1\n\\p a\n\\id Éxo\n\\c 1\n\\p b\n",
             book("@##(1)\n\na\n") + "\n@# éxo\n@##(1)\n\nb\n#@\n"),
            # What comes before the first \id belongs to the first book.
            ("\\c 1\n\\p a\n\\id GEN\nb\n", book("@##(1)\n\na b\n")),
            # CRLF line ends; blank lines neither end a paragraph nor break a strophe.
            ("\\id GEN\r\n\\p a\r\n\r\n  \r\nb\r\n", book("a b\n")),
        ])

    def test_paragraph_and_heading_styles(self):
        self.assert_table([
            ("\\id GEN\n\\m text\n\\pi more\n\\li item\n\\nb x\n",
             book("@_text_@.m\n\n@_more_@.pi1\n\n@_item_@.li1\n\n@_x_@.nb\n")),
            ("\\id GEN\n\\s Heading\n\\s4 Deep\n\\mt Title\n\\h Head\n\\s\n",
             book("@_Heading_@.s1\n\n@_Deep_@.s3\n\n@_Title_@.mt1\n\n@_Head_@.h\n\n@__@.s1\n")),
            # A heading holds only its own line; the paragraph before it ends.
            ("\\id GEN\n\\p a\n\\s2 Head\n", book("a\n\n@_Head_@.s2\n")),
        ])

    def test_introduction_markers(self):
        # \im and \iex keep their text as typed paragraphs; the others are dropped.
        self.assert_table([
            ("\\id GEN\n\\im intro \\bk Book\\bk*\n\\iex after\n\\ie\n\\ib\n\\rem a note\n\\ide UTF-8\n"
             "\\sts 2\n\\usfm 3.0\n",
             book("@_intro @,Book,@.bk_@.im\n\n@_after_@.iex\n")),
            ("\\id GEN\n\\im intro\ncontinued\n", book("@_intro continued_@.im\n")),
        ])

    def test_b_ends_a_paragraph_outside_poetry(self):
        self.assert_table([
            ("\\id GEN\n\\p a\n\\b\n\\v 2 b\n", book("a\n\n@|(2) b\n")),
        ])
        self.assert_errors([("\\id GEN\n\\p a\n\\b\ntext", "stray text outside a paragraph: text")])

    def test_errors(self):
        self.assert_errors([
            ("\\id GEN\n\\s5 Deeper\n", "unsupported marker \\s5"),
            ("\\id GEN\n\\P text\n", "unsupported marker \\P"),
            ("\\id GEN\n\\v1 text\n", "unsupported marker \\v1"),
            ("\\id GEN\n\\nd* x\n", "unsupported marker \\nd*"),
            ("\\id GEN\n\\\n", "unsupported marker \\"),
            ("\\id\n", "\\id without a book code"),
            ("\\id   \n", "\\id without a book code"),
            ("", "missing \\id"),
            ("\\p some text\n\\v 1 more\n", "missing \\id"),
            ("\\id GEN\nIn the beginning  \n", "stray text outside a paragraph: In the beginning"),
            ("\\id GEN\n  \\p\n", "stray text outside a paragraph:   \\p"),
            ("\\id GEN\n\\c 1\ntext\n", "stray text outside a paragraph: text"),
            ("\\id GEN\n\\s Head\ntext\n", "stray text outside a paragraph: text"),
        ])


class StatesTest(UsfmTestCase):
    def test_prose_flows_across_verses_and_lines(self):
        self.assert_table([
            ("\\id GEN\n\\v 1 a\nmore\n\\v 2\n\\v 3 c\n", book("@|(1) a more @|(2) @|(3) c\n")),
            ("\\id GEN\n\\p\nfirst\nsecond\n", book("first second\n")),
            ("\\id GEN\n\\m\n\\v 1 styled\n", book("@_@|(1) styled_@.m\n")),
        ])

    def test_poetry_levels_are_inherited(self):
        self.assert_endo(
            "\\id GEN\n\\q1\n\\v 1 Blessed is the man\n\\v 2 who walks\n\\q2 text\n\\v 3 next\n\\b\n"
            "\\v 4 after break\n\\qm\nfilled\nappended\n\\qr right\n\\q\n\\v 5 five\n\\p Prose\n",
            book("@~\n@,@|(1) Blessed is the man,@.q1\n@,@|(2) who walks,@.q1\n@,text,@.q2\n"
                 "@,@|(3) next,@.q2\n\n@,@|(4) after break,@.q2\n@,filled,@.qm1 appended\n"
                 "@,right,@.qr\n@,@|(5) five,@.q1\n~@\n\nProse\n"))

    def test_strophes_and_what_ends_poetry(self):
        self.assert_table([
            ("\\id GEN\n\\q1 line one\n\\b\n\\q1 line two\n\\p Prose\n",
             book("@~\n@,line one,@.q1\n\n@,line two,@.q1\n~@\n\nProse\n")),
            # A bare verse takes the level of the line before it, or q1 when
            # that line is more than its phrase.
            ("\\id GEN\n\\qm2 a\n\\qc b\n\\v 1 c\n\\c 2\n",
             book("@~\n@,a,@.qm2\n@,b,@.qc\n@,@|(1) c,@.qc\n~@\n\n@##(2)\n")),
            ("\\id GEN\n\\q2 a\nmore\n\\v 1 c\n",
             book("@~\n@,a,@.q2 more\n@,@|(1) c,@.q1\n~@\n")),
            ("\\id GEN\n\\q1 a\n\\id EXO\n\\q2 b\n",
             book("@~\n@,a,@.q1\n~@\n") + "\n@# exo\n@~\n@,b,@.q2\n~@\n#@\n"),
            # A trailing \b leaves no empty strophe.
            ("\\id GEN\n\\q a\n\\b\n", book("@~\n@,a,@.q1\n~@\n")),
        ])
        # After a strophe break no line is open: text has nowhere to go.
        self.assert_errors([("\\id GEN\n\\q a\n\\b\ntext\n", "stray text outside a paragraph: text")])

    def test_notes_join_lines(self):
        self.assert_table([
            ("\\id GEN\n\\v 1 text \\f + \\ft a note\ncontinued\\f* more\n",
             book("@|(1) text @^a note continued^@.f more\n")),
            ("\\id GEN\n\\p \\x - a \\f + b\n  c\\f*\n  d\\x*\n\\p e\n",
             book("@^a @^b c^@.f d^@.x\n\ne\n")),
        ])
        self.assert_errors([
            ("\\id GEN\n\\p a\\f*\n", "unexpected inline marker \\f"),
            ("\\id GEN\n\\p \\f + open\n\\p more\n", "unterminated \\f"),
        ])


class InlineMarkupTest(UsfmTestCase):
    def test_character_styles_words_and_verses(self):
        p = lambda body: book(body + "\n")
        self.assert_table([
            ("\\id GEN\n\\p the \\nd LORD\\nd* said", p("the @,LORD,@.nd said")),
            ("\\id GEN\n\\p \\add text", p("@,text,@.add")),
            ("\\id GEN\n\\p \\add outer \\+nd inner\\+nd* text\\add*", p("@,outer @,inner,@.nd text,@.add")),
            # The outer style takes the first plain closer; the nested one runs to its end.
            ("\\id GEN\n\\p \\add a \\+add b\\add* c", p("@,a @,b,@.add,@.add c")),
            ("\\id GEN\n\\p \\w gracious|strong=\"H2603\"\\w* one", p("gracious one")),
            ("\\id GEN\n\\p so \\w gracious\\w* one", p("so gracious one")),
            ("\\id GEN\n\\p \\w a \\nd b\\nd*|x\\w* c", p("a @,b,@.nd c")),
            ("\\id GEN\n\\p In the beginning \\v 2 And", p("In the beginning @|(2) And")),
            ("\\id GEN\n\\p \\ca 2\\ca* a \\vp 1a\\vp* b", p("a  b")),
            # Without a closer only the marker's own word goes.
            ("\\id GEN\n\\p a \\va 3 rest of the text", p("a  rest of the text")),
            # Names that are no genos: lower-cased, else left without one.
            ("\\id GEN\n\\p \\ND Lord\\ND* \\2x b\\2x*", p("@,Lord,@.nd @,b,@")),
            ("\\id GEN\n\\p a @ b | c", p("a \\@ b | c")),
        ])

    def test_notes(self):
        p = lambda body: book(body + "\n")
        self.assert_table([
            ("\\id GEN\n\\p Jesus wept\\f + \\fr 11.35 \\ft Or, cried\\f*",
             p("Jesus wept@^@,11.35,@.fr Or, cried^@.f")),
            ("\\id GEN\n\\p \\x - \\xo 1.1 \\xt Gen 2.3\\x*", p("@^@,1.1,@.xo Gen 2.3^@.x")),
            ("\\id GEN\n\\p \\f + \\ft the \\+nd LORD\\+nd*\\f*", p("@^the @,LORD,@.nd^@.f")),
            ("\\id GEN\n\\p \\fe x \\fk key \\fq quote\\fe*", p("@^key quote^@.fe")),
            ("\\id GEN\n\\p \\f + \\fr 1.1\\fr* \\fq word\\fq* after\\f*", p("@^@,1.1,@.fr word after^@.f")),
            # One character and white space is the caller; a longer first word is text.
            ("\\id GEN\n\\p \\f ab text\\f*", p("@^ab text^@.f")),
        ])

    def test_markup_errors(self):
        self.assert_errors([
            ("\\id GEN\n\\p \\f + a note", "unterminated \\f"),
            ("\\id GEN\n\\p \\x - a", "unterminated \\x"),
            ("\\id GEN\n\\p text \\", "unexpected inline marker \\"),
            ("\\id GEN\n\\p text \\+", "unexpected inline marker \\"),
            ("\\id GEN\n\\p a \\nd* b", "unexpected inline marker \\nd"),
            ("\\id GEN\n\\p \\f + \\ft see \\bk Genesis\\f*", "unterminated \\bk in a note"),
            ("\\id GEN\n\\s a \\nd b\\nd* \\", "unexpected inline marker \\"),
        ])


class LimitsTest(UsfmTestCase):
    def test_nesting_is_bounded(self):
        ok = "\\id GEN\n\\p " + "\\add " * 256 + "x"
        self.assertEqual(ilvex.check(ilvex.endo("usfm", ok)), "document")
        for depth in (257, 100_000):
            text = "\\id GEN\n\\p " + "\\add " * depth + "x"
            started = time.perf_counter()
            self.assert_ilvex_error(PREFIX + "nesting deeper than 256 levels", lambda: ilvex.endo("usfm", text))
            self.assertLess(time.perf_counter() - started, 1.0)

    def test_adversarial_inputs_stay_linear(self):
        many_unclosed = "\\id GEN\n\\p " + "\\va 1 a " * 150_000
        one_open_note = "\\id GEN\n\\p \\f + x\n" + "a line of text\n" * 100_000
        # A style left open holding many closed ones, each closer looked up.
        closed_inside = "\\id GEN\n\\p \\wj " + "\\nd a\\nd* \\w c|d\\w* \\f + \\fr 1.1 \\bk b\\bk*\\f* " * 30_000
        words_without_bars = "\\id GEN\n\\p " + "\\w a\\w* " * 150_000
        for text in (many_unclosed, one_open_note, closed_inside, words_without_bars):
            started = time.perf_counter()
            try:
                ilvex.endo("usfm", text)
            except ilvex.IlvexError:
                pass
            self.assertLess(time.perf_counter() - started, 2.0)


class SchemeTest(UsfmTestCase):
    SOURCE = ("\\id GEN\n\\v 1 before\n\\c 1\n\\p\n\\v 1 a\n\\v 2 b\n\\q1\n\\v 3 c\n"
              "\\id  exo \n\\c 1\n\\p\n\\v 1 d\n")

    def test_marks_become_milestones_of_the_scheme(self):
        self.assert_table([
            (self.SOURCE,
             book("@|(1) before\n\n@(\"vers:gen.1\")\n\n@(\"vers:gen.1.1\") a @(\"vers:gen.1.2\") b\n\n"
                  "@~\n@,@(\"vers:gen.1.3\") c,@.q1\n~@\n")
             + "\n@# exo\n@(\"vers:exo.1\")\n\n@(\"vers:exo.1.1\") d\n#@\n"),
        ], scheme="vers")
        # A verse number that no reference can hold stays a mark.
        self.assert_endo("\\id GEN\n\\c 1\n\\p\n\\v 2,3 a\n\\v 4-5 b\n",
                         book("@(\"kjv:gen.1\")\n\n@|(2,3) a @(\"kjv:gen.1.4-5\") b\n"), scheme="kjv")

    def test_without_a_scheme_marks_stay(self):
        self.assert_endo("\\id GEN\n\\c 1\n\\p\n\\v 1 a\n", book("@##(1)\n\n@|(1) a\n"), scheme=None)

    def test_scheme_is_checked_after_the_import(self):
        for scheme in ("Vers", "", "a b", "1x"):
            with self.subTest(scheme=scheme):
                self.assert_ilvex_error(f"invalid milestone scheme `{scheme}`",
                                        lambda: ilvex.endo("usfm", self.SOURCE, scheme=scheme))
        self.assert_ilvex_error(PREFIX + "missing \\id", lambda: ilvex.endo("usfm", "", scheme="Vers"))


if __name__ == "__main__":
    unittest.main()
