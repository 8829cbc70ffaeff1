"""endo("tei"): the import frame, prose and dictionary modes, through endo."""

import os
import tempfile
import time
import unittest

import ilvex
from support import IlvexTestCase

PREFIX = "missing or unreadable resource: tei import: "

# The sims of a lexigramma definition that a user would write for imported
# dictionaries: every symbol the importer writes, koine's for the rest.
LEXIGRAMMA_SIMS = [
    ("entry", "@![(taxis)] [lemma]\ngrammata\n!@"),
    ("sense", "@:(taxis)\ngrammata\n:@"),
    ("variant-form", "@=~ grammata ~=@"),
    ("inflected-form", "@=* grammata *=@"),
    ("pronunciation", "@=% grammata %=@"),
    ("hyphenation", "@=- grammata -=@"),
    ("grammar", "@=& grammata &=@"),
    ("etymology", "@=< grammata >=@"),
    ("usage", "@[ grammata ]@"),
    ("grammatical-word", "@& grammata &@"),
    ("example", "@~ grammata ~@"),
    ("translation", "@' grammata '@"),
]
LEXIGRAMMA = "@@@!ilvex\n@@::koine\n" + "".join(
    f"@=== {name}\n{definition}\n===@\n" for name, definition in LEXIGRAMMA_SIMS)


def tei(body, header=""):
    return f"<TEI>{header}<text><body>{body}</body></text></TEI>"


class TeiTestCase(IlvexTestCase):
    @classmethod
    def setUpClass(cls):
        cls.directory = tempfile.TemporaryDirectory()
        with open(os.path.join(cls.directory.name, "lexigramma.dia"), "w", encoding="utf-8") as out:
            out.write(LEXIGRAMMA)
        cls.path = os.path.join(cls.directory.name, "doc.ild")

    @classmethod
    def tearDownClass(cls):
        cls.directory.cleanup()

    def imported(self, text):
        """endo's output, which must pass check and be a brachy fixed point
        (a dictionary under the user's lexigramma definition)."""
        output = ilvex.endo("tei", text)
        self.assertEqual(ilvex.check(output, self.path), "document", output)
        self.assertEqual(ilvex.brachy(output, self.path), output)
        return output

    def assert_cases(self, cases):
        for text, expected in cases:
            with self.subTest(text=text):
                self.assertEqual(self.imported(text), expected)

    def assert_errors(self, cases):
        self.assert_endo_errors("tei", cases, PREFIX)


class ProseFrameTest(TeiTestCase):
    def test_mode_choice(self):
        self.assert_cases([
            ("", "@@@!litogramma\n"),
            ("<?xml version='1.0'?><!-- only a comment -->", "@@@!litogramma\n"),
            (tei("<p>x</p>"), "@@@!litogramma\n\nx\n"),
            # One entry anywhere, even in the header, makes a dictionary.
            ("<TEI><teiHeader><fileDesc><titleStmt><title>T</title></titleStmt><sourceDesc><entry/>"
             "</sourceDesc></fileDesc></teiHeader></TEI>", "@@@!lexigramma\n\n@=T=@\n"),
        ])

    def test_header_titles(self):
        statement = ("<TEI><teiHeader><fileDesc><titleStmt>{}</titleStmt>{}</fileDesc></teiHeader></TEI>")
        self.assert_cases([
            (statement.format("<title type='main'>A</title><title>B</title><title type='sub'>C</title>"
                              "<title type='alt'>D</title>", ""),
             "@@@!litogramma\n\n@=A=@\n\n@=_C_=@\n"),
            (statement.format("<title>B</title><title type='sub'>C</title><title type='alt'>D</title>"
                              "<author>E</author><editor>F</editor>", "<publicationStmt><p>P</p></publicationStmt>"),
             "@@@!litogramma\n\n@=B=@\n\n@=_C_=@\n\n@=D=@\n\n@=:E:=@\n\n@=;F;=@\n"),
            # A main title of a source description is another work's.
            (statement.format("<title>B</title>", "<sourceDesc><bibl><title type='main'>S</title></bibl></sourceDesc>"),
             "@@@!litogramma\n\n@=B=@\n"),
            (statement.format("<title type='main'/><title>B</title>", ""), "@@@!litogramma\n"),
            ("<TEI><teiHeader/><text><front/><body/></text></TEI>", "@@@!litogramma\n"),
        ])

    def test_notes_in_titles_leave_nothing(self):
        # The header's notes go, and the body's first note is still n1.
        self.assert_cases([
            ("<TEI><teiHeader><fileDesc><titleStmt><title>B<note>n</note></title><author>E<note>m</note>"
             "</author></titleStmt></fileDesc></teiHeader><text><front><titlePart>T<note>t</note></titlePart>"
             "</front><body><p>x<note>y</note></p></body></text></TEI>",
             "@@@!litogramma\n\n@=B=@\n\n@=:E:=@\n\n@=T=@\n\nx@^(n1)\n\n@^\ny\n^@(n1)\n"),
        ])

    def test_front_matter(self):
        self.assert_cases([
            ("<TEI><text><front><docTitle><titlePart type='main'>T</titlePart><titlePart type='sub'>S</titlePart>"
             "</docTitle><docAuthor>A</docAuthor><byline>by B</byline><titlePage><docTitle><titlePart>X"
             "</titlePart></docTitle></titlePage><div><p>d</p></div><epigraph><quote>e</quote></epigraph>"
             "<argument><p>arg</p></argument></front></text></TEI>",
             '@@@!litogramma\n\n@=T=@\n\n@=S=@\n\n@=:A:=@\n\n@=:by B:=@\n\n@"/\ne\n/"@\n\n@="\narg\n"=@\n'),
        ])

    def test_top_level_elements(self):
        self.assert_cases([
            ("<TEI><pb n='1'></pb><gap/><interpGrp><interp>x</interp></interpGrp><interpGrp/>\n"
             "<text><body><p>x</p></body><back><p>b</p></back></text><standOff><p>s</p></standOff></TEI>",
             "@@@!litogramma\n\nx\n"),
            ("<TEI.2><text><body><p>x</p></body></text></TEI.2>", "@@@!litogramma\n\nx\n"),
            # A gap leaves nothing, whatever describes it, here as in an epigraph.
            ("<TEI><text><gap reason='x'><desc>d</desc></gap><body><p>a</p></body></text></TEI>",
             "@@@!litogramma\n\na\n"),
            ("<TEI><text><front><epigraph><gap reason='x'><desc>d</desc></gap><p>x</p></epigraph></front>"
             "<body><p>a</p></body></text></TEI>",
             '@@@!litogramma\n\n@"/\nx\n/"@\n\na\n'),
        ])

    def test_numbered_divisions_are_divisions(self):
        expected = "@@@!litogramma\n\n@=== A\n@# B\nx\n#@\n===@\n"
        self.assert_cases([
            (tei("<div1><head>A</head><div2><head>B</head><p>x</p></div2></div1>"), expected),
            (tei("<div><head>A</head><div><head>B</head><p>x</p></div></div>"), expected),
        ])

    def test_heads_inside_divisions_are_annotations(self):
        self.assert_cases([
            (tei("<div><head>A</head><p>x</p><head>B</head></div>"),
             "@@@!litogramma\n\n@=== A\nx\n\n@,B,@.head\n===@\n"),
        ])

    def test_divisions_take_the_head_they_begin_with(self):
        self.assert_cases([(tei(xml), "@@@!litogramma\n\n" + written + "\n") for xml, written in [
            # Without a head, or with an empty one, a division's blocks stand
            # in the enclosing level.
            ("<div><p>a</p><div><head>B</head><p>b</p></div></div>", "a\n\n@# B\nb\n#@"),
            ("<div><head></head><p>a</p><div><head>B</head></div></div>", "a\n\n@# B\n#@"),
            ("<div><div><p>a</p></div><head>B</head></div>", "a\n\n@,B,@.head"),
            ("<div><div></div><head>A</head><p>x</p></div>", "@=== A\nx\n===@"),
            # A division that begins with a division under a heading has no
            # heading of its own, whatever follows.
            ("<div><div><head/><head>A</head><p>x</p></div><head>B</head><div><opener><head>C</head></opener>"
             "<p>y</p></div></div>", "@# A\nx\n#@\n\n@,B,@.head\n\n@# C\ny\n#@"),
            ("<div><head>A</head><div><p>x</p><head>C</head></div><p>y</p></div><p>z</p>",
             "@=== A\nx\n\n@,C,@.head\n\ny\n===@\n\nz"),
        ]])

    def test_milestones(self):
        self.assert_cases([
            # Bekker lines are read on their page.
            (tei("<p>a<milestone unit='bekker' n='1456a'/>b<milestone unit='bekker' n='5'/>"
                 "<milestone unit='bekker' n='1456a5'/></p>"),
             '@@@!litogramma\n\na@("bekker:1456a")b@("bekker:1456a5") \n'),
            # A page sets the scheme of the sections on it; a repeat is a space.
            (tei("<p><milestone ed='steph' unit='page' n='12'/>a<milestone unit='section' n='12.3'/>"
                 "<milestone unit='section' n='13'/><milestone ed='steph' unit='page' n='12'/></p>"),
             '@@@!litogramma\n\n@("steph:12").page|a@("steph:12.3")@("section:13") \n'),
            # Repeats across the tree, in walk order: the lemma first, then
            # the content, nested sims where they stand, verse lines.
            (tei("<div><head>H<milestone unit='section' n='1'/></head><p><hi>x<milestone unit='section' n='1'/>"
                 "</hi></p><lg><l>a<milestone unit='section' n='2'/></l><l><milestone unit='section' n='2'/>b</l>"
                 "</lg></div>"),
             '@@@!litogramma\n\n@=== H@("section:1")\n@/x /@\n\n@~\na@("section:2")\n b\n~@\n===@\n'),
        ])

    def test_errors(self):
        self.assert_errors([
            ("<TEI>stray</TEI>", 'unexpected Text("stray") at document level'),
            (tei("<p>x</p>") + "<p>y</p>",
             'unexpected Open { name: "p", attrs: [], self_closing: false } at document level'),
            ("<TEI><text><group/></text></TEI>",
             'unexpected Open { name: "group", attrs: [], self_closing: true } at document level'),
            ("<TEI></p></TEI>", 'unexpected Close("p") at document level'),
            ("<TEI><text><front><titlePart>x</titlePart>", "unterminated <front>"),
            ("<TEI><text><front><front></front>", "unterminated <front>"),
            ("<TEI><teiHeader><title>x</title>", "unterminated <teiHeader>"),
            ("<TEI><text><back>", "unterminated <back>"),
            ("<TEI", "unterminated tag"),
            # The text an unread token stands near may lie in an earlier
            # division, long handed on.
            (tei("<div><head>H</head><p>some text &amp; more</p></div>\n<div><p><cb/></p></div>"),
             'unsupported Open { name: "cb", attrs: [], self_closing: true } inline (near: "...some text &amp; more")'),
            # A tokenizer error anywhere wins over a converter's error before it.
            (tei("<div><p><cb/></p></div>") + "<!-- x", "unterminated comment"),
        ])


class ConvertersThroughEndoTest(TeiTestCase):
    """A few cases of each converter of running text, block structure, drama
    and verse, read as the body of a whole TEI text."""

    def test_body_content(self):
        body = "@@@!litogramma\n\n{}\n"
        self.assert_cases([(tei(xml), body.format(written)) for xml, written in [
            ("<div type='part'><head>P</head><div type='chapter'><head>C</head><p>x</p></div></div>",
             "@== P\n@=== C\nx\n===@\n==@"),
            ("<div><head>H<note>n</note></head><p>a</p></div>", "@=== H@^(n1)\n@^\nn\n^@(n1)\n\na\n===@"),
            ("<p> <said who='#Anna'>hi</said> </p>", "@: Anna\nhi\n:@"),
            ("<p><title>T</title> <term>t</term> <quote> x </quote></p>", '@/T/@.title @/t/@.term @""x""@'),
            ("<p><ref target='#fn3'>3</ref> <note xml:id='fn3'>body</note> after</p>",
             "@^(n1) after\n\n@^\nbody\n^@(n1)"),
            ("<p><choice><abbr>Dr</abbr><expan/></choice></p>", "Dr"),
            ("<lg><l>a</l><l>b</l></lg><lg><l>c</l></lg>", "@~\na\nb\n~@\n\n@~\nc\n~@"),
            ("<sp><speaker>A</speaker><l>one</l><l>two</l></sp><sp><speaker>B</speaker><p>prose</p></sp>",
             "@:~ A\none\ntwo\n~:@\n\n@: B\nprose\n:@"),
            ("<stage>exit</stage>", "@:[\nexit\n]:@"),
            # A gap between blocks leaves nothing, whatever describes it.
            ("<p>a</p><gap reason='illegible'>\n <desc>two lines</desc>\n</gap><gap/><p>b</p>", "a\n\nb"),
        ]])

    def test_body_errors(self):
        self.assert_errors([
            (tei("abcd"), "bare text at block level: `abcd`"),
            (tei("<graphic/>"),
             'unsupported Open { name: "graphic", attrs: [], self_closing: true } at block level'),
            (tei("<figure xml:id='bad id'></figure>"), "invalid identifier `bad id`"),
            (tei("<p><list><item>a</item>stray</list></p>"), 'unsupported Text("stray") in an inline list'),
        ])


class DictionaryTest(TeiTestCase):
    def test_top_level(self):
        self.assert_cases([
            # Header titles, heads as flat sections (an empty one left out),
            # paragraphs with their notes, stray text; front and back matter
            # leave nothing.
            ("<TEI><teiHeader><fileDesc><titleStmt><title>Dict<note>x</note></title></titleStmt></fileDesc>"
             "</teiHeader><text><front><p>f</p></front><body><div><head>A<note>n</note></head><head></head>"
             "<p>Intro <hi>x</hi><note>nb</note></p><p></p>stray  &amp; text <entry><form><orth>a</orth></form>"
             "</entry></div></body><back><entry><form><orth>b</orth></form></entry></back></text></TEI>",
             "@@@!lexigramma\n\n@=Dict=@\n\n@# A\n#@\n\nIntro @/x/@@^(n1)\n\n@^\nnb\n^@(n1)\n\nstray & text\n\n"
             "@! a\n!@\n"),
        ])

    def test_symbols_that_would_run_on_are_spelled_apart(self):
        self.assert_cases([
            ("<TEI><teiHeader><title>~x</title></teiHeader><entry/></TEI>",
             "@@@!lexigramma\n\n@=@@@//@@@~x=@\n\n@!\n!@\n"),
        ])

    def test_entries(self):
        self.assert_cases([
            (tei("<entry n='3'><form><orth>run</orth><orth>ran</orth></form><gramGrp><pos>v</pos></gramGrp>"
                 "<sense><def>to move fast</def><usg type='geo'>US</usg><cit type='translation'>"
                 "<quote xml:lang='fr'>courir</quote></cit></sense></entry><entry/>"),
             "@@@!lexigramma\n\n@!(3) run\n@=~ran~=@\n\n@=&v&=@\n\n@:(1)\nto move fast @[US]@.geo @'courir'@.fr\n"
             ":@\n!@\n\n@!\n!@\n"),
        ])

    def test_homographs(self):
        self.assert_cases([
            (tei("<entry><form><orth>bank</orth></form></entry><entry><form><orth>bank</orth></form></entry>"
                 "<entry n='1'><form><orth>fish</orth></form></entry><entry><form><orth>fish</orth></form></entry>"
                 "<entry><form><orth>Bank</orth></form></entry>"),
             "@@@!lexigramma\n\n@!(1) bank\n!@\n\n@!(2) bank\n!@\n\n@!(1) fish\n!@\n\n@!(2) fish\n!@\n\n"
             "@! Bank\n!@\n"),
            # A number the source gives is not given again.
            (tei("<entry><form><orth>a</orth></form></entry><entry n='1'><form><orth>a</orth></form></entry>"),
             "@@@!lexigramma\n\n@!(2) a\n!@\n\n@!(1) a\n!@\n"),
            # Content that does not nest as XML: the xr ends at the inner end
            # tag, so the form after it is the entry's and its headword is b.
            (tei("<entry><xr><xr></xr><form><orth>b</orth></form></xr><form><orth>a</orth></form></entry>"
                 "<entry><form><orth>b</orth></form></entry>"),
             "@@@!lexigramma\n\n@!(1) b\n@=~a~=@\n!@\n\n@!(2) b\n!@\n"),
            (tei("<entry xml:id='x'><sense><def>d</def></usg><xr><ref target='#y'>y</ref></xr></sense>"
                 "<form><orth>b</orth></form></entry><entry xml:id='y'><form><orth>b</orth></form></entry>"),
             "@@@!lexigramma\n\n@!(1) b\n@:(1)\nd @>(b-2)\n:@\n!@\n\n@!(2) b\n!@\n"),
        ])

    def test_references_to_entries_name_their_keys(self):
        self.assert_cases([
            (tei("<entry xml:id='e1'><form><orth>New York</orth></form><sense><xr><ref target='#e2'>x</ref>"
                 "<ref target='e3'>y</ref><ref target='#e4'/><ref target='#e5'/><ref target='#e6'/></xr></sense>"
                 "</entry><entry id='e2' n='2'><form><orth>New York</orth></form></entry>"
                 "<entry xml:id='e3'><form><orth>!!</orth></form></entry>"
                 "<entry xml:id='e4' n='7'><form><orth>--</orth></form></entry>"
                 "<entry xml:id='e5' id='x'><form><orth> run, up </orth></form></entry>"
                 "<entry xml:id='e6'/><entry xml:id='e6'><form><orth>six</orth></form></entry>"),
             "@@@!lexigramma\n\n@!(1) New York\n@:(1)\n@>(New-York-2)@>(e3)@>(-7)@>(run-up)@>(six)\n:@\n!@\n\n"
             "@!(2) New York\n!@\n\n@! !!\n!@\n\n@!(7) --\n!@\n\n@! run, up\n!@\n\n@!\n!@\n\n@! six\n!@\n"),
        ])

    def test_errors(self):
        self.assert_errors([
            (tei("<entry><sense><def>x</sense></entry>"), "unterminated <def>"),
            (tei("<entry><form>"), "unterminated <form>"),
            ("<TEI><entry/><p>x", "unterminated <p>"),
            ("<teiHeader><entry/>", "unterminated <teiHeader>"),
            (tei("<entry><form><orth>a</orth></form><sense><def>d</def></sense></entry>") + "<!-- x",
             "unterminated comment"),
        ])


class BoundsTest(TeiTestCase):
    def assert_quick_error(self, text, message):
        started = time.perf_counter()
        self.assert_ilvex_error(PREFIX + message, lambda: ilvex.endo("tei", text))
        self.assertLess(time.perf_counter() - started, 2.0)

    def test_deep_nesting_fails_cleanly(self):
        deep = "nesting deeper than 256 levels"
        self.assert_quick_error(tei("<div>" * 100000), deep)
        self.assert_quick_error(tei("<p>" + "<hi>" * 100000), deep)
        self.assert_quick_error(tei("<entry>" + "<sense>" * 100000), deep)
        self.assert_quick_error(tei("<entry><sense>" + "<usg>" * 100000), deep)

    def test_large_inputs_stay_linear(self):
        self.assert_quick_error(tei("<entry><sense><def>" + "<pos>x" * 100000), "unterminated <pos>")
        self.assert_quick_error("<TEI><text><front>" + "<titlePart>x</titlePart>" * 50000, "unterminated <front>")
        long_line = tei("<entry><form><orth>w</orth></form><sense><def>" + "word " * 200000 + "</def></sense></entry>")
        started = time.perf_counter()
        self.imported(long_line)
        self.assertLess(time.perf_counter() - started, 2.0)


if __name__ == "__main__":
    unittest.main()
