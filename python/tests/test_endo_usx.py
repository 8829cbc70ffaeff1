"""endo("usx", ...): books, chapters, paragraph styles, poetry, inline
content, notes, the scheme pass, and the errors."""

import time
import unittest

import ilvex
from support import ScriptureTestCase, scripture_book as book

PREFIX = "missing or unreadable resource: usx import: "


def usx(body, code="GEN"):
    """A USX text of one book holding `body`."""
    return f'<?xml version="1.0"?>\n<usx version="3.0">\n<book code="{code}" style="id">Title</book>\n{body}\n</usx>\n'


def para(content, style="p"):
    return f'<para style="{style}">{content}</para>'


class UsxTestCase(ScriptureTestCase):
    FORMAT = "usx"
    PREFIX = PREFIX


class BookLevelTest(UsxTestCase):
    def test_books_and_chapters(self):
        self.assert_table([
            ("<usx><book code='GEN'/><chapter number='1'/><para style='p'><verse number='1'/>In the beginning"
             "</para></usx>",
             book("@##(1)\n\n@|(1) In the beginning\n")),
            # The book element's title text goes; a chapter end adds nothing;
            # a second book closes the first; codes are lower-cased.
            (usx(para("a") + "<chapter eid='GEN 1'/><book code='ÉXO'>Exodus</book>" + para("b")),
             book("a\n") + "\n@# éxo\nb\n#@\n"),
            # Paragraphs before the first book belong to it.
            ("<usx>" + para("a") + "<book code='GEN'/>" + para("b") + "</usx>", book("a\n\nb\n")),
            # The root is transparent, and so are blank texts between paragraphs
            # and the byte order mark a file may begin with.
            ("<book code='GEN'/>\n  \n" + para("a"), book("a\n")),
            ("\ufeff" + usx(para("a")), book("a\n")),
        ])

    def test_paragraph_styles(self):
        self.assert_table([
            (usx(para("Heading", "s") + para("Deep", "s4") + para("Title", "mt") + para("x", "m")
                 + para("item", "li") + para("Gen", "toc1")),
             book("@_Heading_@.s1\n\n@_Deep_@.s3\n\n@_Title_@.mt1\n\n@_x_@.m\n\n@_item_@.li1\n\n@_Gen_@.toc1\n")),
            # Metadata styles are dropped with their content.
            (usx(para("UTF-8", "ide") + para("a remark", "rem") + para("2", "sts") + para("3.0", "usfm")
                 + para("kept")),
             book("kept\n")),
            # Paragraph content is not trimmed: line breaks at its ends stay as spaces.
            (usx(para("\n   a\n   b\n")), book("a b \n")),
        ])

    def test_poetry_and_strophe_breaks(self):
        self.assert_table([
            # A self-closing "b" splits the strophes; a heading ends the poetry.
            (usx(para("one", "q1") + "<para style='b'/>" + para("two", "q2") + para("three", "q")
                 + para("Head", "s1")),
             book("@~\n@,one,@.q1\n\n@,two,@.q2\n@,three,@.q1\n~@\n\n@_Head_@.s1\n")),
            # A "b" with blank content is a strophe break as well.
            (usx(para("one", "q1") + para(" \n ", "b") + para("", "b") + para("two", "q1")),
             book("@~\n@,one,@.q1\n\n@,two,@.q1\n~@\n")),
            # A chapter ends the poetry; so does a new book and the end of the text.
            (usx(para("a", "q1") + "<chapter number='2'/>" + para("b", "q2")),
             book("@~\n@,a,@.q1\n~@\n\n@##(2)\n\n@~\n@,b,@.q2\n~@\n")),
        ])

    def test_self_closing_elements_are_empty(self):
        self.assert_table([
            # A self-closing para never reads on to a later end tag.
            (usx("<para style='p'/>" + para("a")), book("a\n")),
            (usx(para("a<char style='nd'/>b<note style='f'/><ref/>c")), book("abc\n")),
        ])

    def test_errors(self):
        self.assert_errors([
            (usx("<table/>"), 'unexpected Open { name: "table", attrs: [], self_closing: true } at book level'),
            (usx("stray"), 'unexpected Text("\\nstray\\n") at book level'),
            (usx("<chapter number='1'></chapter>"), 'unexpected Close("chapter") at book level'),
            ("<usx><book style='id'/></usx>", "<book> without a code"),
            (usx("<para>x</para>"), "<para> without a style"),
            (usx(para("x", "qr")), "unsupported para style `qr`"),
            (usx(para("x", "s5")), "unsupported para style `s5`"),
            (usx(para("not blank", "b")), "unsupported para style `b`"),
            ("<usx>" + para("a") + "</usx>", "missing <book code>"),
            ("", "missing <book code>"),
            # Only a leading byte order mark is dropped.
            (usx(para("a")) + "\ufeff", 'unexpected Text("\\n\\u{feff}") at book level'),
            ("<usx><book code='G'/><para style='p'>a", "unterminated <para>"),
        ])
        self.assert_errors([
            ("<usx><book code='GEN'>Genesis", "unterminated <book>"),
            ("<usx><book code='GEN'", "unterminated tag"),
            # A malformed tag anywhere wins over an error of the import before it.
            (usx("<table/>") + "<", "unterminated tag"),
        ], prefix="missing or unreadable resource: tei import: ")


class InlineTest(UsxTestCase):
    def test_verses_and_character_styles(self):
        self.assert_table([
            # A verse mark is kept apart from text and spans after it.
            (usx(para("<verse number='1' sid='GEN 1:1'/>a<verse eid='GEN 1:1'/> <verse number='2'/>"
                      "<char style='wj'>Truly</char>")),
             book("@|(1) a @|(2) @,Truly,@.wj\n")),
            # Spans are trimmed; word styles stand as plain text.
            (usx(para("the <char style='nd'> LORD </char> <char style='w' lemma='x'>word</char>"
                      "<char style='rb' gloss='g'>rb</char>")),
             book("the @,LORD,@.nd wordrb\n")),
            (usx(para("<char style='bd'>bold <char style='it'>and italic</char></char>")),
             book("@,bold @,and italic,@.it,@.bd\n")),
            # References give their content; an optional break a space.
            (usx(para("see <ref loc='GEN 1:1'>Gen 1:1</ref>, long<optbreak/>word")),
             book("see Gen 1:1, long word\n")),
            # Entities are decoded, white space collapsed, sigils escaped.
            (usx(para("a &amp; b\t\t&lt;c&gt; @ x\\")), book("a & b <c> \\@ x\\\n")),
        ])

    def test_invalid_styles_go_through_the_genos_rule(self):
        self.assert_table([
            (usx(para("<char style='ND'>a</char><char style='no good'>b</char>")),
             book("@,a,@.nd@,b,@\n")),
            (usx(para("x<note style='f'><char>c</char></note>")), book("x@^@,c,@^@.f\n")),
        ])

    def test_a_backslash_before_markup_stays_text(self):
        self.assert_table([
            (usx(para("a\\<char style='nd'>b\\ </char>")), book("a@@\"\\\"@@@,b\\,@.nd\n")),
        ])

    def test_notes(self):
        self.assert_table([
            (usx(para("x<note caller='+' style='f'><char style='fr'>1.1 </char><char style='ft'>Or heaven</char>"
                      "</note>")),
             book("x@^@,1.1,@.frOr heaven^@.f\n")),
            (usx(para("x<note style='ex'><char style='xo'>1.1</char><char style='xt'>"
                      "<ref loc='EXO 2:1'>Ex 2.1</ref></char></note>"
                      "<note style='fe'><char style='fk'>key</char><char style='fq'> q</char></note>"
                      "<note style='x'>a</note><note style='zz'>b</note><note>c</note>")),
             book("x@^@,1.1,@.xoEx 2.1^@.x@^key q^@.fe@^a^@.x@^b^@.f@^c^@.f\n")),
            # Any other note style is a phrase, not trimmed.
            (usx(para("x<note style='f'><char style='fv'> 3 </char></note>")), book("x@^@, 3 ,@.fv^@.f\n")),
        ])

    def test_errors(self):
        self.assert_errors([
            (usx(para("<figure/>")), 'unexpected Open { name: "figure", attrs: [], self_closing: true } '
                                     "in inline content"),
            (usx(para("a</char>")), 'unexpected Close("char") in inline content'),
            (usx(para("<char>a</char>")), "<char> without a style"),
            (usx(para("<note style='f'><verse number='1'/></note>")),
             'unexpected Open { name: "verse", attrs: [("number", "1")], self_closing: true } in a note'),
            (usx(para("<note style='f'>a</para>")), 'unexpected Close("para") in a note'),
            ("<book code='G'/><para style='p'><note style='f'>a", "unterminated <note>"),
            ("<book code='G'/><para style='p'><char style='nd'>a", "unterminated <char>"),
            ("<book code='G'/><para style='p'><optbreak>", "unterminated <optbreak>"),
        ])

    def test_nesting_is_bounded(self):
        ok = usx(para("<char style='it'>" * 255 + "x" + "</char>" * 255))
        self.assertEqual(ilvex.check(ilvex.endo("usx", ok)), "document")
        for depth in (256, 100_000):
            text = usx(para("<char style='it'>" * depth + "x" + "</char>" * depth))
            started = time.perf_counter()
            self.assert_ilvex_error(PREFIX + "nesting deeper than 256 levels", lambda: ilvex.endo("usx", text))
            self.assertLess(time.perf_counter() - started, 1.0)

    def test_adversarial_inputs_stay_linear(self):
        many_unclosed = usx("<para style='p'>" + "<char style='nd'>a" * 200 + "<ref>b" * 100_000)
        long_line = usx(para("word " * 300_000))
        many_books = "<usx>" + "<book code='GEN'>t</book>" * 100_000 + "</usx>"
        for text in (many_unclosed, long_line, many_books):
            started = time.perf_counter()
            try:
                ilvex.endo("usx", text)
            except ilvex.IlvexError:
                pass
            self.assertLess(time.perf_counter() - started, 2.0)


class SchemeTest(UsxTestCase):
    SOURCE = usx("<chapter number='1'/>" + para("<verse number='1'/>a <verse number='2'/>b")
                 + para("<verse number='3'/>c", "q1")) + "<usx><book code='EXO'/><chapter number='1'/>" \
        + para("<verse number='1'/>d") + "</usx>"

    def test_marks_become_milestones_of_the_scheme(self):
        self.assert_endo(self.SOURCE,
                         book("@(\"vers:gen.1\")\n\n@(\"vers:gen.1.1\") a @(\"vers:gen.1.2\") b\n\n"
                              "@~\n@,@(\"vers:gen.1.3\") c,@.q1\n~@\n")
                         + "\n@# exo\n@(\"vers:exo.1\")\n\n@(\"vers:exo.1.1\") d\n#@\n",
                         scheme="vers")

    def test_scheme_errors(self):
        self.assert_ilvex_error("invalid milestone scheme `Vers`",
                                lambda: ilvex.endo("usx", self.SOURCE, scheme="Vers"))
        self.assert_ilvex_error(PREFIX + "missing <book code>", lambda: ilvex.endo("usx", "", scheme="Vers"))


if __name__ == "__main__":
    unittest.main()
