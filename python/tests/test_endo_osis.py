"""endo("osis", ...): book divisions, chapters, paragraphs, titles, line
groups, inline elements, notes, the scheme pass, and the errors."""

import time
import unittest

import ilvex
from support import ScriptureTestCase, scripture_book as book

PREFIX = "missing or unreadable resource: osis import: "


def osis(body, book_id="Gen"):
    """An OSIS text of one book division holding `body`."""
    return ('<?xml version="1.0"?>\n<osis><osisText osisIDWork="x"><header><work osisWork="x">'
            "<title>Work</title></work></header>\n"
            f'<div type="book" osisID="{book_id}">\n{body}\n</div>\n</osisText></osis>\n')


class OsisTestCase(ScriptureTestCase):
    FORMAT = "osis"
    PREFIX = PREFIX


class DocumentTest(OsisTestCase):
    def test_books_and_chapters(self):
        self.assert_table([
            ("<osis><osisText><div type='book' osisID='Gen'><chapter osisID='Gen.1'><p>"
             "<verse osisID='Gen.1.1'/>In the beginning</p></chapter></div></osisText></osis>",
             book("@##(1)\n\n@|(1) In the beginning\n")),
            # Milestone chapters: n wins, then osisID, then sID; a chapter end adds nothing.
            (osis("<chapter sID='Gen.2'/><p>a</p><chapter eID='Gen.2'/><chapter n='3' osisID='Gen.4'/>"
                  "<chapter osisID='Gen'/><chapter/>"),
             book("@##(2)\n\na\n\n@##(3)\n\n@##(Gen)\n")),
            # Book groups are read through; the code is the whole osisID, lower-cased.
            ("<osis><div type='bookGroup'><title>Old</title><div type='book' osisID='1Kgs'><p>a</p></div>"
             "<div type='book' osisID='ÉXOD'><p>b</p></div></div></osis>",
             book("a\n", "1kgs") + "\n@# éxod\nb\n#@\n"),
            ("\ufeff" + osis("<p>a</p>"), book("a\n")),
            # A self-closing book division is an empty book; it reads on to no end tag.
            ("<osis><div type='book' osisID='Gen'/><div type='book' osisID='Exod'><p>a</p></div></osis>",
             book("") + "\n@# exod\na\n#@\n"),
        ])

    def test_section_divisions_end_at_their_own_end_tag(self):
        self.assert_table([
            (osis("<div type='section'><title>Head</title><p>a</p></div><p>b</p>"
                  "<div type='section'><div type='subSection'><p>c</p></div><p>d</p></div><div type='x'/><p>e</p>"),
             book("@_Head_@.s1\n\na\n\nb\n\nc\n\nd\n\ne\n")),
        ])

    def test_titles_and_speakers(self):
        self.assert_table([
            (osis("<title type='main' short='Genesis'>The First Book of Moses</title><title>Creation</title>"
                  "<title type='psalm'>Of David</title><title type='scope'>1-3</title>"
                  "<title type='parallel'>Mk 1</title><title type='acrostic'>Aleph</title>"
                  "<title type='runningHead'>Gen</title><title type='chapterLabel'>One</title>"
                  "<title type='main'/><speaker> Jesus </speaker>"),
             book("@_Genesis_@.h\n\n@_The First Book of Moses_@.mt1\n\n@_Creation_@.s1\n\n@_Of David_@.d\n\n"
                  "@_1-3_@.mr\n\n@_Mk 1_@.r\n\n@_Aleph_@.qa\n\n@_Gen_@.h\n\n@_One_@.cl\n\n@__@.mt1\n\n"
                  "@_Jesus_@.sp\n")),
        ])

    def test_paragraphs_and_breaks(self):
        self.assert_table([
            # Empty paragraphs go; a line break keeps the words on both sides apart.
            (osis("<p> </p><p/><p>text<lb/>more</p><p>a <lb/>b<lb/>c<milestone type='x'/>d</p>"),
             book("text more\n\na b cd\n")),
            # Milestones and line breaks between blocks are passed over.
            (osis("<p>a</p><lb/><milestone type='x'/><q sID='1'/><lb>x</lb><milestone>y</milestone><p>b</p>"),
             book("a\n\nb\n")),
        ])

    def test_line_groups(self):
        self.assert_table([
            # Consecutive groups make one poem, each group a strophe.
            (osis("<lg><l level='1'>one</l><l level='2'>two</l></lg><lg><l>three</l></lg>"),
             book("@~\n@,one,@.q1\n@,two,@.q2\n\n@,three,@.q1\n~@\n")),
            # Nested groups are strophes of their own; a milestone-form group
            # start is a boundary that reads on to no end tag.
            (osis("<lg><l>a</l><lg><l>b</l><l>c</l></lg><l>d</l><lg sID='x'/><l>e</l><l/></lg><p>p</p><lg/>"
                  "<lg></lg>"),
             book("@~\n@,a,@.q1\n\n@,b,@.q1\n@,c,@.q1\n\n@,d,@.q1\n\n@,e,@.q1\n~@\n\np\n")),
        ])

    def test_errors(self):
        self.assert_errors([
            # The book ends at the end tag balancing its start.
            ("<osis><div type='book' osisID='Gen'><div type='section'><p>a</p></div></div><p>b</p></osis>",
             'unexpected Open { name: "p", attrs: [], self_closing: false } at document level'),
            ("<osis>text<div type='book' osisID='Gen'></div></osis>", 'unexpected Text("text") at document level'),
            ("<osis><div type='book'><p>a</p></div></osis>", "book div without an osisID"),
            (osis("hello <p>a</p>"), "bare text at block level: `hello`"),
            (osis("<table/>"), 'unexpected Open { name: "table", attrs: [], self_closing: true } at block level'),
            (osis("<q>a</q>"), 'unexpected Open { name: "q", attrs: [], self_closing: false } at block level'),
            (osis("</p>"), 'unexpected Close("p") at block level'),
            (osis("<verse osisID='Gen.1.1'>a</verse>"),
             'unexpected Open { name: "verse", attrs: [("osisid", "Gen.1.1")], self_closing: false } at block level'),
            ("<osis><div type='book' osisID='Gen'><p>a</p>", "unterminated <div>"),
            ("<osis><div type='book' osisID='Gen'><div><p>a</p></div>", "unterminated <div>"),
            ("<osis><div type='section'><p>a</p></div></osis>",
             'unexpected Open { name: "p", attrs: [], self_closing: false } at document level'),
            ("<osis><osisText><header/></osisText></osis>", "no book div found"),
            ("", "no book div found"),
            (osis("<lg>x</lg>"), 'unexpected Text("x") in an lg'),
            (osis("<lg><p>x</p></lg>"), 'unexpected Open { name: "p", attrs: [], self_closing: false } in an lg'),
            ("<osis><div type='book' osisID='Gen'><lg><l>a</l>", "unterminated <lg>"),
        ])
        self.assert_errors([
            ("<osis><header><work>", "unterminated <header>"),
            (osis("<lb>x"), "unterminated <lb>"),
            # A malformed tag anywhere wins over an error of the import before it.
            (osis("<table/>") + "<!-- open", "unterminated comment"),
        ], prefix="missing or unreadable resource: tei import: ")


class InlineTest(OsisTestCase):
    def test_verses(self):
        self.assert_table([
            (osis("<p><verse n='3a' osisID='Gen.1.3'/>a<verse sID='Gen.1.4'/>b<verse eID='Gen.1.4'/> c"
                  "<verse/>d</p>"),
             book("@|(3a) a @|(4) b cd\n")),
            # Container verses are transparent.
            (osis("<p><verse osisID='Gen.1.1'>a</verse><verse osisID='Gen.1.2'><hi>b</hi></verse></p>"),
             book("@|(1) a @|(2) @,b,@.em\n")),
        ])

    def test_inline_elements(self):
        self.assert_table([
            (osis("<p><hi type='bold'>a</hi><hi type='italic'>b</hi><hi type='small-caps'>c</hi>"
                  "<hi type='normal'>d</hi><hi type='super'>e</hi><hi> f </hi></p>"),
             book("@,a,@.bd@,b,@.it@,c,@.sc@,d,@.no@,e,@.em@,f,@.em\n")),
            (osis("<p><divineName>Lord</divineName> <transChange type='added'>is</transChange> "
                  "<foreign>abba</foreign> <signed>Paul</signed></p>"),
             book("@,Lord,@.nd @,is,@.add @,abba,@.tl @,Paul,@.sig\n")),
            (osis("<p><name type='x-workTitle'>Jasher</name> <name type='person'>Adam</name> "
                  "<q who='Jesus'>Follow me</q> <q who='Peter'>Lord</q> <q>x</q></p>"),
             book("@,Jasher,@.bk Adam @,Follow me,@.wj Lord x\n")),
            (osis("<p><seg type='selah'>Selah</seg> <seg type='keyword'>k</seg> <seg type='otPassage'>o</seg> "
                  "<seg type='x-foo'>a</seg> <seg>b</seg> <seg type=''>c</seg></p>"),
             book("@,Selah,@.qs @,k,@.k @,o,@.qt @,a,@.x-foo b c\n")),
            (osis("<p><a href='x'>a</a> <w lemma='strong:H1'>b</w> <rdg>c</rdg> <reference osisRef='Gen.1.1'>d"
                  "</reference> <catchWord>e</catchWord></p>"),
             book("a b c d e\n")),
            # Entities are decoded, white space collapsed, sigils escaped.
            (osis("<p>a &amp;\n\t b &lt;@&gt;</p>"), book("a & b <\\@>\n")),
        ])

    def test_invalid_values_go_through_the_genos_rule(self):
        self.assert_table([
            (osis("<p><seg type='X-Foo'>a</seg><seg type='no good'>b</seg></p><lg><l level='x y'>c</l></lg>"),
             book("@,a,@.x-foo@,b,@\n\n@~\n@,c,@\n~@\n")),
        ])

    def test_notes(self):
        self.assert_table([
            (osis("<p>x<note type='crossReference'><reference>Gen.2.4</reference></note> "
                  "<note placement='foot'> <reference>1.1</reference> Or <hi type='italic'>heaven</hi>"
                  "<catchWord>c</catchWord><lb/></note><note/></p>"),
             book("x@^@,Gen.2.4,@.xo^@.x @^@,1.1,@.fr Or heavenc^@.f\n")),
        ])

    def test_errors(self):
        self.assert_errors([
            (osis("<p>a<foo>b</foo></p>"), "unsupported inline element <foo>"),
            (osis("<p>a<lb>b</lb></p>"), "unsupported inline element <lb>"),
            (osis("<p>a<foo/>b</p>"), "unexpected <foo/> in inline content"),
            (osis("<p>a</hi></p>"), "unmatched </hi>"),
            (osis("<p><note>a</hi></note></p>"), "unmatched </hi> in a note"),
            ("<osis><div type='book' osisID='Gen'><p><hi>a", "unterminated <hi>"),
            ("<osis><div type='book' osisID='Gen'><p><note>a", "unterminated <note>"),
        ])

    def test_nesting_is_bounded(self):
        # The paragraph is one level, each hi another.
        ok = osis("<p>" + "<hi>" * 255 + "x" + "</hi>" * 255 + "</p>")
        self.assertEqual(ilvex.check(ilvex.endo("osis", ok)), "document")
        for text in (osis("<p>" + "<hi>" * 256 + "x" + "</hi>" * 256 + "</p>"),
                     osis("<p>" + "<hi>" * 100_000 + "x"),
                     osis("<lg>" * 100_000),
                     osis("<div>" * 100_000)):
            started = time.perf_counter()
            self.assert_ilvex_error(PREFIX + "nesting deeper than 256 levels", lambda: ilvex.endo("osis", text))
            self.assertLess(time.perf_counter() - started, 1.0)

    def test_adversarial_inputs_stay_linear(self):
        many_unclosed = osis("<p>" + "<hi>a" * 200 + "<verse osisID='x.1'>b" * 30_000)
        unclosed_skips = osis("<lb>" * 200_000)
        long_line = osis("<p>" + "word " * 300_000 + "</p>")
        many_sections = osis("<div type='section'><p>a</p></div>" * 50_000)
        for text in (many_unclosed, unclosed_skips, long_line, many_sections):
            started = time.perf_counter()
            try:
                ilvex.endo("osis", text)
            except ilvex.IlvexError:
                pass
            self.assertLess(time.perf_counter() - started, 2.0)


class SchemeTest(OsisTestCase):
    SOURCE = ("<osis><div type='book' osisID='Gen'><chapter osisID='Gen.1'><p><verse osisID='Gen.1.1'/>a "
              "<verse osisID='Gen.1.2'/>b</p><lg><l><verse osisID='Gen.1.3'/>c</l></lg></chapter></div>"
              "<div type='book' osisID='Exod'><chapter n='1'/><p><verse n='1'/>d</p></div></osis>")

    def test_marks_become_milestones_of_the_scheme(self):
        self.assert_endo(self.SOURCE,
                         book("@(\"vers:gen.1\")\n\n@(\"vers:gen.1.1\") a @(\"vers:gen.1.2\") b\n\n"
                              "@~\n@,@(\"vers:gen.1.3\") c,@.q1\n~@\n")
                         + "\n@# exod\n@(\"vers:exod.1\")\n\n@(\"vers:exod.1.1\") d\n#@\n",
                         scheme="vers")

    def test_scheme_errors(self):
        self.assert_ilvex_error("invalid milestone scheme `Vers`",
                                lambda: ilvex.endo("osis", self.SOURCE, scheme="Vers"))
        self.assert_ilvex_error(PREFIX + "no book div found", lambda: ilvex.endo("osis", "", scheme="Vers"))


if __name__ == "__main__":
    unittest.main()
