"""endo("jats"): journal articles into litogramma, references into an
embedded bibliogramma block."""

import time
import unittest

import ilvex
from support import IlvexTestCase

HEAD = "@@@!litogramma\n\n"
PREFIX = "missing or unreadable resource: jats import: "


def article(inner):
    return f"<article>{inner}</article>"


def body(inner):
    return article(f"<body>{inner}</body>")


def back(inner):
    return article(f"<back>{inner}</back>")


def bibliography(*entries):
    return "@@@!(bibliogramma)\n" + "\n".join(entries) + "!@@@\n"


def entry(key, genos, *fields):
    written = "\n".join(f"@: {name}\n{text}\n:@\n" for name, text in fields)
    return f"@& {key}\n{written}&@.{genos}\n"


class JatsTestCase(IlvexTestCase):
    def imported(self, text):
        """The import of `text`, checked as a document and as a brachy fixed point."""
        output = ilvex.endo("jats", text)
        if output == HEAD.rstrip("\n") + "\n":
            return ""
        self.assertTrue(output.startswith(HEAD), output)
        self.assert_canonical(output)
        return output[len(HEAD):]

    def assert_imports(self, cases):
        for text, expected in cases:
            with self.subTest(text=text):
                self.assertEqual(self.imported(text), expected)

    def assert_fails(self, cases, prefix=PREFIX):
        self.assert_endo_errors("jats", cases, prefix)


class DocumentLevelTest(JatsTestCase):
    def test_empty_articles(self):
        self.assert_imports([
            ("", ""),
            ("<article/>", ""),
            ('<?xml version="1.0"?>\n<!DOCTYPE article [ <!ENTITY e "v"> ]>\n<article>\n</article>\n', ""),
            (article("<front/><body/><back/>"), ""),
            (article("<back><ack><p>thanks</p></ack></back>"), ""),
        ])

    def test_unexpected_tokens(self):
        self.assert_fails([
            ("<article>text</article>", 'unexpected Text("text") at document level'),
            (article("<floats-group/>"),
             'unexpected Open { name: "floats-group", attrs: [], self_closing: true } at document level'),
            (article("</body>"), 'unexpected Close("body") at document level'),
        ])

    def test_tokenizer_and_attribute_errors_keep_their_prefixes(self):
        self.assert_fails([
            ("<article><body", "tei import: unterminated tag"),
            ("<article><!-- x", "tei import: unterminated comment"),
        ], prefix="missing or unreadable resource: ")
        self.assert_ilvex_error("html import: unquoted attribute value after `id`",
                                lambda: ilvex.endo("jats", "<article id=x>"))

    def test_a_tokenizer_error_anywhere_comes_first(self):
        # As if the whole text were tokenized before it is converted.
        self.assert_fails([
            (body("<list/>") + "<!-- x", "tei import: unterminated comment"),
            (article("<back><ref/>") + "<x", "tei import: unterminated tag"),
        ], prefix="missing or unreadable resource: ")
        self.assert_ilvex_error("html import: unterminated attribute `a`",
                                lambda: ilvex.endo("jats", body("<p><sub/></p>") + "<x a='>"))


class FrontMatterTest(JatsTestCase):
    def test_front_keeps_source_order(self):
        text = article(
            "<front><journal-meta><journal-title>J</journal-title></journal-meta><article-meta>"
            "<contrib-group><contrib><name><surname>Doe</surname><given-names>Jane</given-names></name>"
            "</contrib></contrib-group>"
            "<title-group><article-title>A <italic>study</italic></article-title></title-group>"
            "<contrib-group><contrib contrib-type='editor'><string-name>Ed Itor</string-name></contrib>"
            "</contrib-group><pub-date><year>2020</year></pub-date>"
            "<abstract><p>Short.</p></abstract></article-meta></front>"
            "<body><p>Text.</p></body>")
        self.assertEqual(self.imported(text),
                         "@=:Jane Doe:=@\n\n@=A @/study/@=@\n\n@=:Ed Itor:=@\n\n"
                         '@="\nShort.\n"=@\n\nText.\n')

    def test_contributor_names(self):
        cases = [
            ("<name><surname>Roe</surname></name>", "Roe"),
            ("<name><given-names>Ann</given-names><surname>Roe</surname></name>", "Ann Roe"),
            ("<name><surname>Roe</surname><given-names>Ann</given-names></name>", "Ann Roe"),
            ("<name><given-names>Ann</given-names></name>", "Ann"),
            ("<string-name>A. Roe</string-name><name><surname>X</surname></name>", "A. Roe"),
            ("<string-name/><name><surname>X</surname></name>", "X"),
            ("<surname>Old</surname><surname>New</surname>", "New"),
            ("<name><surname>van\n  der Berg</surname><given-names> Ann </given-names></name>",
             "Ann van der Berg"),
            ("<collab>Group</collab><surname>A &amp; B</surname>", "A & B"),
        ]
        for inner, name in cases:
            with self.subTest(inner=inner):
                self.assertEqual(self.imported(article(f"<front><contrib>{inner}</contrib></front>")),
                                 f"@=:{name}:=@\n")

    def test_contributors_without_a_name_give_nothing(self):
        self.assert_imports([
            (article("<front><contrib/><contrib><name><surname/></name></contrib>"
                     "<contrib><xref ref-type='aff' rid='a1'/></contrib></front>"), ""),
        ])

    def test_nested_front_and_empty_elements(self):
        self.assert_imports([
            (article("<front><front><article-title>T</article-title></front>"
                     "<contrib><surname>S</surname></contrib></front>"), "@=T=@\n\n@=:S:=@\n"),
            (article("<front><article-title/><article-title> </article-title><abstract/></front>"),
             '@="\n"=@\n'),
        ])

    def test_abstract_titles_are_plain_paragraphs(self):
        self.assert_imports([
            (article("<front><abstract><title>Abstract</title><sec><title>Aim</title><p>x</p></sec>"
                     "</abstract></front>"),
             '@="\nAbstract\n\n@# Aim\nx\n#@\n"=@\n'),
        ])

    def test_front_errors(self):
        self.assert_fails([
            ("<article><front><article-title>T</article-title>", "unterminated <front>"),
            (article("<front><contrib><surname>S</surname></front>"), "unterminated <contrib>"),
            ("<article><front><article-title>T", "unterminated <article-title>"),
            (article("<front><abstract><p>x</p></front>"),
             'unsupported Close("front") at block level'),
        ])
        self.assert_fails([
            (article("<front><contrib><surname>S<sup>2</sup></surname></contrib></front>"),
             'docbook import: unsupported Open { name: "sup", attrs: [], self_closing: false } in <surname>'),
        ], prefix="missing or unreadable resource: ")


class BodyBlocksTest(JatsTestCase):
    def test_sections_nest_and_cap_their_depth(self):
        def nested(levels):
            opened = "".join(f"<sec><title>S{k}</title>" for k in range(1, levels + 1))
            return body(opened + "<p>x</p>" + "</sec>" * levels)

        self.assert_imports([
            (nested(1), "@# S1\nx\n#@\n"),
            (nested(2), "@# S1\n@## S2\nx\n##@\n#@\n"),
            (nested(5),
             "@# S1\n@## S2\n@### S3\n@#### S4\n@#### S5\nx\n####@\n####@\n###@\n##@\n#@\n"),
        ])

    def test_quotations_keep_the_section_depth(self):
        self.assert_imports([
            (body("<sec><title>A</title><disp-quote><sec><title>B</title><p>q</p></sec>"
                  "</disp-quote></sec>"),
             '@# A\n@"\n@## B\nq\n##@\n"@\n#@\n'),
            (body("<disp-quote><p>a</p><p>b</p></disp-quote>"), '@"\na\n\nb\n"@\n'),
        ])

    def test_titles_no_section_takes_become_paragraphs(self):
        self.assert_imports([
            (body("<title>Loose</title><p>x</p>"), "Loose\n\nx\n"),
            (body("<sec><title>A</title><title>Second</title></sec>"), "@# A\nSecond\n#@\n"),
            (body("<disp-quote><title>In quote</title><p>q</p></disp-quote>"),
             '@"\nIn quote\n\nq\n"@\n'),
            (body("<p>x<fn><title>In note</title><p>n</p></fn></p>"),
             "x@^(n1)\n\n@^\nIn note\n\nn\n^@(n1)\n"),
            (body("<p/><title/><p> </p>"), ""),
        ])

    def test_section_needs_a_title_first(self):
        self.assert_fails([
            (body("<sec><p>x</p><title>T</title></sec>"), "sec without a title"),
            (body("<sec/>"), "sec without a title"),
            (body("<sec><title> </title><p>x</p></sec>"), "sec without a title"),
        ])

    def test_block_errors(self):
        self.assert_fails([
            (body("<list><list-item/></list>"),
             'unsupported Open { name: "list", attrs: [], self_closing: false } at block level'),
            (body("<fig id='f1'/>"),
             'unsupported Open { name: "fig", attrs: [("id", "f1")], self_closing: true } at block level'),
            (body("</sec>"), 'unsupported Close("sec") at block level'),
            (body("  loose &amp; text\n"), "bare text at block level: `loose &amp; text`"),
            ("<article><body><p>x</p>", "unterminated <body>"),
            (body("<sec><title>T</title>"), 'unsupported Close("body") at block level'),
            ("<article><body><disp-quote>", "unterminated <disp-quote>"),
        ])


class InlineTest(JatsTestCase):
    def test_text_and_emphasis(self):
        self.assert_imports([
            (body("<p>  a \n\t b  <bold>c <italic>d</italic></bold> e&lt;f  </p>"),
             "a b @*c @/d/@*@ e<f\n"),
            (body("<p>a<bold/>b</p>"), "a@*@@@//@@@*@b\n"),
            (body("<p>x<monospace>a  &amp;\n b</monospace>y<monospace/></p>"), 'x@@"a & b"@@y\n'),
            (body('<p><monospace>"@@ q</monospace></p>'), '@@"""@@@@"@@ q"@@\n'),
            (body("<p>a\\<bold>b</bold></p>"), 'a@@"\\"@@@*b*@\n'),
            (body("<p>@@@ x</p>"), "\\@\\@\\@ x\n"),
        ])

    def test_external_links(self):
        self.assert_imports([
            (body("<p><ext-link xlink:href='http://e.org'>the site</ext-link></p>"),
             "the site (@><http://e.org><@)\n"),
            (body("<p><ext-link xlink:href='http://e.org'>http://e.org</ext-link></p>"),
             "@><http://e.org><@\n"),
            (body("<p><ext-link xlink:href='http://e.org'/></p>"), "@><http://e.org><@\n"),
            (body("<p><ext-link xlink:href='http://e.org/a b'><italic>A</italic> b</ext-link></p>"),
             "@/A/@ b (@><http://e.org/a%20b><@)\n"),
            (body("<p><ext-link ext-link-type='uri'> http://e.org  </ext-link></p>"),
             "@><http://e.org><@\n"),
            (body("<p>x<ext-link/>y</p>"), "xy\n"),
        ])

    def test_cross_references(self):
        self.assert_imports([
            (body("<p>see <xref ref-type='bibr' rid='B1'>[1]</xref>.</p>"), "see @>[(B1).\n"),
            (body("<p><xref ref-type='bibr' rid=' B1  B2\nB3'/></p>"), "@>[(B1)@>[(B2)@>[(B3)\n"),
            (body("<p><xref ref-type='bibr' rid='B1'><xref>x</xref></xref>y</p>"), "@>[(B1)y\n"),
        ])
        self.assert_fails([
            (body("<p><xref ref-type='fig' rid='F1'/></p>"), "only xref[ref-type=bibr] is supported"),
            (body("<p><xref rid='F1'/></p>"), "only xref[ref-type=bibr] is supported"),
            (body("<p><xref ref-type='bibr'/></p>"), "xref without rid"),
            (body("<p><xref ref-type='bibr' rid=' '/></p>"), "xref without rid"),
        ])
        self.assert_fails([
            (body("<p><xref ref-type='bibr' rid='B1'>1</p>"), "tei import: unterminated <xref>"),
        ], prefix="missing or unreadable resource: ")

    def test_footnotes_are_numbered_across_the_document(self):
        self.assert_imports([
            (body("<p>a<fn><p>one</p></fn> b<fn><p>two</p></fn></p>"),
             "a@^(n1) b@^(n2)\n\n@^\none\n^@(n1)\n\n@^\ntwo\n^@(n2)\n"),
            (body("<p><fn><p>a<fn><p>b</p></fn></p></fn><fn/></p>"),
             "@^(n1)@^(n3)\n\n@^\na@^(n2)\n\n@^\nb\n^@(n2)\n^@(n1)\n\n@^\n^@(n3)\n"),
            (article("<front><article-title>T<fn><p>t</p></fn></article-title>"
                     "<abstract><p>a<fn><p>b</p></fn></p></abstract></front>"
                     "<body><p>c<fn><p>d</p></fn></p></body>"),
             "@=T@^(n1)=@\n\n@^\nt\n^@(n1)\n\n"
             '@="\na@^(n2)\n\n@^\nb\n^@(n2)\n"=@\n\n'
             "c@^(n3)\n\n@^\nd\n^@(n3)\n"),
            (body("<sec><title>T<fn><p>n</p></fn></title><p>x</p></sec>"),
             "@# T@^(n1)\n@^\nn\n^@(n1)\n\nx\n#@\n"),
            (body("<p><bold>a<fn><p>n</p></fn></bold><ext-link>u<fn><p>m</p></fn></ext-link></p>"),
             "@*a@^(n1)*@@><u><@\n\n@^\nn\n^@(n1)\n\n@^\nm\n^@(n2)\n"),
        ])

    def test_inline_errors(self):
        self.assert_fails([
            (body("<p>H<sub>2</sub>O</p>"), 'unsupported Open { name: "sub", attrs: [], self_closing: false } inline'),
            (body("<p>a</bold></p>"), 'unsupported Close("bold") inline'),
            ("<article><body><p>a<bold>b", "unterminated <bold>"),
            ("<article><body><p>a", "unterminated <p>"),
            ("<article><body><p><fn><p>x</p>", "unterminated <fn>"),
        ])
        self.assert_fails([
            (body("<p><monospace>a<bold>b</bold></monospace></p>"),
             'docbook import: unsupported Open { name: "bold", attrs: [], self_closing: false } in <monospace>'),
        ], prefix="missing or unreadable resource: ")


class ReferenceListTest(JatsTestCase):
    def test_journal_citation(self):
        text = back(
            "<ref-list><title>References</title><ref id='B1'><label>1</label>"
            "<element-citation publication-type='journal'><person-group person-group-type='author'>"
            "<name><surname>Smith</surname><given-names>J</given-names></name>"
            "<name><surname>Roe</surname><given-names>A B</given-names></name></person-group>"
            "<article-title>On\n\n things</article-title><source>Nature</source><year>2001</year>"
            "<volume>3</volume><fpage>10</fpage><lpage>19</lpage>"
            "<pub-id pub-id-type='doi'>10.1/x</pub-id></element-citation></ref></ref-list>")
        self.assertEqual(self.imported(text), bibliography(entry(
            "B1", "article", ("author", "Smith, J and Roe, A B"), ("title", "On things"),
            ("journal", "Nature"), ("year", "2001"), ("volume", "3"), ("pages", "10"), ("lpages", "19"))))

    def test_entry_types(self):
        cases = [
            ("publication-type='book'", "book"),
            ("publication-type='journal'", "article"),
            ("", "misc"),
            ("publication-type='confproc'", "confproc"),
            ("publication-type='Patent'", "patent"),
            ("publication-type='web page'", "misc"),
            ("publication-type=''", "misc"),
        ]
        for attribute, genos in cases:
            with self.subTest(attribute=attribute):
                self.assertEqual(
                    self.imported(back(f"<ref id='R'><element-citation {attribute}>"
                                       "<source>S</source></element-citation></ref>")),
                    bibliography(entry("R", genos, ("journal", "S"))))

    def test_book_without_names_and_publisher(self):
        self.assert_imports([
            (back("<ref id='K'><element-citation publication-type='book'><source>Tome</source>"
                  "<publisher-name>Press</publisher-name><year>1999</year></element-citation></ref>"),
             bibliography(entry("K", "book", ("journal", "Tome"), ("publisher", "Press"), ("year", "1999")))),
        ])

    def test_mixed_citations(self):
        self.assert_imports([
            (back("<ref id='M'><mixed-citation publication-type='book'>  Some\n  plain &amp; text "
                  "</mixed-citation></ref>"),
             bibliography(entry("M", "book", ("note", "Some plain & text")))),
            (back("<ref id='M'><mixed-citation publication-type='journal'/>"
                  "<element-citation><year>2000</year></element-citation></ref>"),
             bibliography(entry("M", "article", ("year", "2000")))),
        ])
        self.assert_fails([
            (back("<ref id='M'><mixed-citation>A <source>S</source></mixed-citation></ref>"),
             'docbook import: unsupported Open { name: "source", attrs: [], self_closing: false }'
             " in <mixed-citation>"),
            (back("<ref id='M'><element-citation><article-title>A <italic>b</italic></article-title>"
                  "</element-citation></ref>"),
             'docbook import: unsupported Open { name: "italic", attrs: [], self_closing: false }'
             " in <article-title>"),
        ], prefix="missing or unreadable resource: ")

    def test_author_names(self):
        cases = [
            ("<name><surname>Roe</surname></name>", "Roe"),
            ("<name><given-names>Ann</given-names></name>", "Ann"),
            ("<name><surname>Roe</surname></name><name/><name><surname> </surname></name>"
             "<string-name>  </string-name><name><surname>Poe</surname></name>", "Roe and Poe"),
            ("<string-name>Ann  Roe</string-name>", "Ann Roe"),
            ("<string-name><surname>Roe</surname> <given-names>Ann</given-names></string-name>", "Roe, Ann"),
            ("<string-name><surname>Roe</surname>; <given-names>Ann</given-names></string-name>", ";"),
            ("<string-name><prefix>Dr</prefix> <surname>Roe</surname></string-name>", "Dr"),
            ("<name><surname>Roe</surname><suffix>Jr</suffix><given-names>A</given-names></name>", "Roe, A"),
        ]
        for names, author in cases:
            with self.subTest(names=names):
                self.assertEqual(
                    self.imported(back(f"<ref id='R'><element-citation><year>1</year><person-group>{names}"
                                       "</person-group></element-citation></ref>")),
                    bibliography(entry("R", "misc", ("author", author), ("year", "1"))))

    def test_every_ref_of_every_back_in_one_block(self):
        self.assert_imports([
            (article("<back><ref-list><ref id='a'/></ref-list><ack><p>x</p></ack>"
                     "<ref-list><ref-list><ref id='b'/></ref-list></ref-list></back>"
                     "<body><p>t</p></body><back><app><ref id='c'><year>2</year></ref></app></back>"),
             "t\n\n" + bibliography(entry("a", "misc"), entry("b", "misc"),
                                    entry("c", "misc", ("year", "2")))),
        ])

    def test_keys_and_empty_fields(self):
        self.assert_imports([
            (back("<ref id='x\n y'><element-citation><source/><year> </year><volume>\n2\n</volume>"
                  "</element-citation></ref>"),
             bibliography(entry("x y", "misc", ("volume", "2")))),
        ])

    def test_reference_errors(self):
        self.assert_fails([
            (back("<ref><source>S</source></ref>"), "ref without id"),
            (back("<ref id=''/>"), "ref without id"),
            (back("<ref id=' '/>"), "ref without id"),
            ("<article><back><ref id='a'/>", "unterminated <back>"),
            (article("<back><ref id='a'><year>1</year></back>"), "unterminated <ref>"),
            (back("<ref id='a'><name><surname>S</surname></ref>"), "unterminated <name>"),
            (back("<ref id='a'><string-name>S</ref>"), "unterminated <string-name>"),
        ])

    def test_cites_and_entries_together(self):
        text = article("<body><p>As shown <xref ref-type='bibr' rid='R1'>1</xref>.</p></body>"
                       "<back><ref-list><ref id='R1'><mixed-citation>Doe 2000</mixed-citation></ref>"
                       "</ref-list></back>")
        self.assertEqual(self.imported(text),
                         "As shown @>[(R1).\n\n" + bibliography(entry("R1", "misc", ("note", "Doe 2000"))))


class BoundsTest(JatsTestCase):
    def test_deep_nesting_fails_cleanly_and_fast(self):
        cases = [
            body("<sec><title>t</title>" * 100_000),
            body("<disp-quote>" * 100_000),
            body("<p>" + "<bold>" * 100_000),
            body("<p>" + "<fn><p>" * 100_000),
        ]
        for text in cases:
            with self.subTest(text=text[:40]):
                started = time.perf_counter()
                self.assert_ilvex_error(PREFIX + "nesting deeper than 256 levels",
                                        lambda: ilvex.endo("jats", text))
                self.assertLess(time.perf_counter() - started, 1.0)

    def test_nesting_within_the_bound_imports(self):
        text = body("<p>" + "<italic>" * 200 + "x" + "</italic>" * 200 + "</p>")
        self.assertEqual(self.imported(text).count("x"), 1)

    def test_large_adversarial_inputs_stay_fast(self):
        cases = [
            (body("<p>" + "<bold>a</bold>" * 100_000 + "</p>"), True),
            (body("<p>" + "word " * 300_000 + "</p>"), True),
            (article("<front>" + "<front>" * 100_000), False),
            (article("<back>" + "<ref id='a'><name>" * 50_000), False),
            (body("<p>" + "<xref ref-type='bibr' rid='a'>" * 100_000 + "</p>"), False),
            (back("<ref-list>" + "<ref id='r'><element-citation><name><surname>S</surname></name>"
                  "<source>J</source></element-citation></ref>" * 20_000 + "</ref-list>"), True),
        ]
        for text, succeeds in cases:
            with self.subTest(text=text[:60]):
                started = time.perf_counter()
                try:
                    ilvex.endo("jats", text)
                    self.assertTrue(succeeds)
                except ilvex.IlvexError:
                    self.assertFalse(succeeds)
                self.assertLess(time.perf_counter() - started, 2.0)


if __name__ == "__main__":
    unittest.main()
