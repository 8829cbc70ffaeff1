"""endo("docbook"): the DocBook subset read into an il-docbook document."""

import time
import unittest

import ilvex
from support import IlvexTestCase

HEAD = "@@@!il-docbook\n\n"
PREFIX = "missing or unreadable resource: docbook import: "
TEI = "missing or unreadable resource: tei import: "


def article(body):
    return f"<article>{body}</article>"


class DocbookTestCase(IlvexTestCase):
    def assert_imports(self, cases):
        self.assert_endo_outputs("docbook", cases, HEAD)

    def assert_fails(self, cases):
        self.assert_endo_errors("docbook", cases)


class StructureTest(DocbookTestCase):
    def test_elements_of_the_subset(self):
        self.assert_imports([
            (article('<title>T</title><para>Hello  <emphasis role="strong">big</emphasis> world.</para>'),
             "@=T=@\n\nHello @*big*@ world.\n"),
            (article("<info><title>T</title><author>A</author><abstract><para>x</para></abstract></info>"
                     "<para>x</para>"),
             "@=T=@\n\nx\n"),
            (article('<section xml:id="s1"><title>S</title><section><title>S2</title><para>x</para>'
                     "</section></section><sect1><title>One</title></sect1>"),
             "@# S\n@# S2\nx\n#@\n#@(s1)\n\n@# One\n#@\n"),
            ("<chapter><note><para>n</para></note><warning><para>w</para></warning>"
             "<blockquote><para>q</para></blockquote></chapter>",
             "@!\nn\n!@\n\n@!!\nw\n!!@\n\n@>\nq\n>@\n"),
            (article("<itemizedlist><listitem><para>a</para></listitem></itemizedlist>"
                     "<orderedlist><listitem><para>b</para><orderedlist><listitem><para>c</para>"
                     "</listitem></orderedlist></listitem></orderedlist>"),
             "@--\n@-\na\n-@\n--@\n\n@..\n@-\nb\n\n@..\n@-\nc\n-@\n..@\n-@\n..@\n"),
            (article('<para><emphasis>e</emphasis> <emphasis role="bold">b</emphasis> '
                     '<emphasis role="italic">i</emphasis> <quote>q <emphasis>n</emphasis></quote></para>'),
             '@/e/@ @*b*@ @/i/@ @""q @/n/@""@\n'),
            (article("<para>a &amp; b &lt;c&gt; <code>x &lt; y</code> <literal>z</literal></para>"),
             'a & b <c> @@"x < y"@@ @@"z"@@\n'),
            # White space runs collapse; each inline list loses the white
            # space at its two edges.
            (article("<para>\n  a \t\n b <emphasis> c </emphasis>\n</para>"), "a b @/c/@\n"),
            # White space beyond ASCII collapses too; text comes out in NFC.
            (article("<para>a\u00a0\u00a0b\u2003 c\r\nd e\u0301t\u00e9</para>"), "a b c d \u00e9t\u00e9\n"),
            # Comments, declarations and processing instructions vanish.
            ('<?xml version="1.0"?>\n<!DOCTYPE article [ <!ENTITY e "v"> ]>\n'
             "<!-- c --><article><para>x<!-- y -->z</para></article>\n", "xz\n"),
        ])

    def test_white_space_runs_anywhere_in_a_long_text(self):
        # A run of white space collapses wherever it falls in the text.
        cases = []
        for run in ["  ", " \t", "\n", "\u00a0", "   "]:
            for before in range(18):
                text = "a" + "x" * before + run + "y" * (17 - before) + "b"
                cases.append((article(f"<para>{text}</para>"), "a" + "x" * before + " " + "y" * (17 - before) + "b\n"))
        self.assert_imports(cases)

    def test_self_closing_elements_are_empty(self):
        # An empty-element tag never reads on to a later end tag.
        self.assert_imports([
            (article("<title/><para/><note/><para>a<emphasis/>b</para>"), "@==@\n\n@!\n!@\n\na@//@b\n"),
            ('<article/><chapter><para>x<link xlink:href="u"/><code/></para></chapter>',
             'x@><u><@@@""@@\n'),
            (article('<info/><programlisting language="c"/><footnote xml:id="f"/>'),
             '@@@"\n\n"@@@.c\n\n@^\n^@(f)\n'),
        ])

    def test_links(self):
        self.assert_imports([
            (article('<para>See <link xlink:href="u">u</link>.</para>'), "See @><u><@.\n"),
            (article('<para><link xlink:href=" http://x ">http://x</link></para>'), "@><http://x><@\n"),
            (article('<para><link linkend="x">text</link></para>'), "text\n"),
            (article('<para><ulink url="http://x">the <emphasis>site</emphasis></ulink></para>'),
             "the @/site/@ (@><http://x><@)\n"),
            (article('<para><link xlink:href="h" url="u"/> <ulink url="u"></ulink></para>'),
             "@><h><@ @><u><@\n"),
            # A target holding white space names the same resource
            # percent-encoded.
            (article('<para><link xlink:href="a b">x</link></para>'), "x (@><a%20b><@)\n"),
        ])

    def test_program_listings(self):
        self.assert_imports([
            (article('<programlisting language="console">\nls -l\n</programlisting>'),
             '@@@"\nls -l\n"@@@.console\n'),
            (article('<programlisting language="Console">ls</programlisting>'), '@@@"\nls\n"@@@.console\n'),
            (article('<programlisting language="PYTHON">x</programlisting>'), '@@@"\nx\n"@@@.python\n'),
            (article('<programlisting language="\u00c4\u00d6">x</programlisting>'), '@@@"\nx\n"@@@.\u00e4\u00f6\n'),
            # A language that is no valid genos is dropped, the listing kept.
            (article('<programlisting language="C++">a</programlisting>'), '@@@"\na\n"@@@\n'),
            (article('<programlisting language="">a</programlisting>'), '@@@"\na\n"@@@\n'),
            # CDATA content is kept as written, markup characters included.
            (article("<programlisting><![CDATA[if (a < b && c) {\n    f();\n}]]></programlisting>"),
             '@@@"\nif (a < b && c) {\n    f();\n}\n"@@@\n'),
            (article("<programlisting>a &lt;b&gt;\n\n  c\n</programlisting>"), '@@@"\na <b>\n\n  c\n"@@@\n'),
        ])

    def test_literal_text_holding_its_closer_is_kept(self):
        # The writer spells such text safely: an inline literal in pieces
        # split after the quote, a listing around the line that would close
        # it, which stands as a paragraph of literal pieces.
        self.assert_imports([
            (article('<para><code>a"@@b</code></para>'), '@@"a""@@@@"@@b"@@\n'),
            (article('<programlisting>x\n"@@@\ny</programlisting>'),
             '@@@"\nx\n"@@@\n\n@@"""@@@@"@@@"@@\n\n@@@"\ny\n"@@@\n'),
        ])

    def test_literal_line_feeds(self):
        # In a paragraph a literal keeps its line feeds; in a section title
        # or the document title its white space is put on one line.
        self.assert_imports([
            (article("<para>p <code>a\nb</code> q</para>"), 'p @@"a\nb"@@ q\n'),
            (article("<section><title>A <code>x\n  y</code></title></section>"), '@# A @@"x y"@@\n#@\n'),
            (article("<title><emphasis><literal>a\n\nb</literal></emphasis></title>"), '@=@/@@"a b"@@/@=@\n'),
        ])

    def test_text_the_writer_must_escape(self):
        self.assert_imports([
            (article("<para>a @ b | c \\</para>"), "a \\@ b | c \\\n"),
            (article("<para>a\\<emphasis>b</emphasis></para>"), 'a@@"\\"@@@/b/@\n'),
        ])


class TitleTest(DocbookTestCase):
    def test_titles_taken_by_roots_and_sections_only(self):
        self.assert_imports([
            # A second title, or one after other content, is a paragraph.
            (article("<title>One</title><title>Two</title>"), "@=One=@\n\nTwo\n"),
            (article("<para>x</para><title>Late</title>"), "x\n\nLate\n"),
            (article("<section><title>S</title><title>again</title></section>"), "@# S\nagain\n#@\n"),
            # Titles inside notes, list items, footnotes and quotations are
            # paragraphs, however deep.
            (article("<note><title>N</title><para>n</para></note>"), "@!\nN\n\nn\n!@\n"),
            (article("<itemizedlist><listitem><title>L</title></listitem></itemizedlist>"),
             "@--\n@-\nL\n-@\n--@\n"),
            (article("<blockquote><title>Q</title><warning><title>W</title></warning></blockquote>"),
             "@>\nQ\n\n@!!\nW\n!!@\n>@\n"),
            (article('<footnote xml:id="f"><title>F</title></footnote>'), "@^\nF\n^@(f)\n"),
            (article("<para>x<footnote><title>F</title><para>y</para></footnote></para>"),
             "x@^(n1)\n\n@^\nF\n\ny\n^@(n1)\n"),
            # The first title of an info is the root's title; another info
            # title is a paragraph.
            (article("<info><title>I</title></info><info><title>J</title></info>"), "@=I=@\n\nJ\n"),
            # Inside info, an empty-element title is passed over like any
            # other empty element.
            (article("<info><author><title>A</title></author><title/></info><para>x</para>"), "x\n"),
            # Each root takes its own title.
            (article("<title>A</title>") + "\n<book><para>b</para><title>B</title></book>"
             "<chapter><title>C</title></chapter>",
             "@=A=@\n\nb\n\nB\n\n@=C=@\n"),
        ])

    def test_title_footnotes_follow_the_title(self):
        self.assert_imports([
            (article("<title>T<footnote><para>f</para></footnote></title>"),
             "@=T@^(n1)=@\n\n@^\nf\n^@(n1)\n"),
            (article("<section><title>S<footnote><para>f</para></footnote></title><para>x</para></section>"),
             "@# S@^(n1)\n@^\nf\n^@(n1)\n\nx\n#@\n"),
        ])


class FootnoteTest(DocbookTestCase):
    def test_one_counter_across_roots_and_nesting(self):
        self.assert_imports([
            (article("<para>a<footnote><para>one</para></footnote></para>"
                     "<para>b<footnote><para>two</para></footnote></para>")
             + "<chapter><note><para><emphasis>c<footnote><para>three<footnote><para>four</para>"
               "</footnote></para></footnote></emphasis></para></note></chapter>",
             "a@^(n1)\n\n@^\none\n^@(n1)\n\nb@^(n2)\n\n@^\ntwo\n^@(n2)\n\n"
             "@!\n@/c@^(n3)/@\n\n@^\nthree@^(n4)\n\n@^\nfour\n^@(n4)\n^@(n3)\n!@\n"),
        ])

    def test_block_footnotes_and_references(self):
        # Block footnotes and references use their own identifiers and do
        # not count.
        self.assert_imports([
            (article('<footnote xml:id="f1"><para>body</para></footnote>'
                     '<para>see<footnoteref linkend="f1"/> and<footnote><para>x</para></footnote></para>'),
             "@^\nbody\n^@(f1)\n\nsee@^(f1) and@^(n1)\n\n@^\nx\n^@(n1)\n"),
            # Written with an end tag, a footnoteref is empty all the same.
            (article('<para>a<footnoteref linkend="f"></footnoteref>b</para>'), "a@^(f)b\n"),
        ])


class ErrorTest(DocbookTestCase):
    def test_messages(self):
        self.assert_fails([
            ("hello", PREFIX + 'unexpected Text("hello") at document level'),
            ("<para>x</para>",
             PREFIX + 'unexpected Open { name: "para", attrs: [], self_closing: false } at document level'),
            ("<article/></article>", PREFIX + 'unexpected Close("article") at document level'),
            ("<article><para>x", PREFIX + "unterminated <para>"),
            ("<article><section><title>S</title>", PREFIX + "unterminated <section>"),
            ("<article><info><title>T</title>", PREFIX + "unterminated <info>"),
            (article(" bare\n"), PREFIX + "bare text at block level: `bare`"),
            (article("<sect2><title>S</title></sect2>"),
             PREFIX + 'unsupported Open { name: "sect2", attrs: [], self_closing: false } at block level'),
            (article('<table frame="all"/>'),
             PREFIX + 'unsupported Open { name: "table", attrs: [("frame", "all")], self_closing: true } at block level'),
            ("<book><chapter><title>C</title></chapter></book>",
             PREFIX + 'unsupported Open { name: "chapter", attrs: [], self_closing: false } at block level'),
            (article("<note></para></note>"), PREFIX + 'unsupported Close("para") at block level'),
            (article("<section><para>x</para></section>"), PREFIX + "section without a title"),
            (article("<section><title> \n</title></section>"), PREFIX + "section without a title"),
            (article("<section/>"), PREFIX + "section without a title"),
            (article("<para>a <phrase>b</phrase></para>"),
             PREFIX + 'unsupported Open { name: "phrase", attrs: [], self_closing: false } inline'),
            (article("<para><emphasis>a</para></emphasis>"), PREFIX + 'unsupported Close("para") inline'),
            (article("<para><footnoteref/></para>"), PREFIX + "footnoteref without linkend"),
            (article("<programlisting>a<emphasis>b</emphasis></programlisting>"),
             PREFIX + 'unsupported Open { name: "emphasis", attrs: [], self_closing: false } in <programlisting>'),
            (article("<para><code>a<br/></code></para>"),
             PREFIX + 'unsupported Open { name: "br", attrs: [], self_closing: true } in <code>'),
            ("<article><para><literal>a", PREFIX + "unterminated <literal>"),
            (article("<para>x</article>"), PREFIX + 'unsupported Close("article") inline'),
        ])

    def test_identifiers_must_be_onyms(self):
        self.assert_fails([
            (article('<section xml:id="two words"><title>S</title></section>'),
             PREFIX + "invalid identifier `two words`"),
            (article('<footnote xml:id=""/>'), PREFIX + "invalid identifier ``"),
            (article('<para><footnoteref linkend="a)b"/></para>'), PREFIX + "invalid identifier `a)b`"),
        ])

    def test_errors_of_the_shared_xml_layer(self):
        self.assert_fails([
            ("<article><para>a < b", TEI + "unterminated tag"),
            ("<article><!-- x", TEI + "unterminated comment"),
            ("<article><></article>", TEI + "empty tag"),
            ('<article><link href=x></article>', "html import: unquoted attribute value after `href`"),
            # An element passed over inside info reports its end as the
            # shared walker does.
            ("<article><info><author>A</info></article>", TEI + "unterminated <author>"),
            # A tokenizer error anywhere wins over the importer's own.
            ("hello <a", TEI + "unterminated tag"),
            (article("<section/>") + "<", TEI + "unterminated tag"),
        ])


class LimitTest(DocbookTestCase):
    def test_nesting_is_bounded(self):
        nesting = PREFIX + "nesting deeper than 256 levels"
        # The root is one level: 255 notes fit inside it, 256 do not.
        self.assertEqual(ilvex.check(ilvex.endo("docbook", article("<note>" * 255 + "</note>" * 255))),
                         "document")
        for source in [
            article("<note>" * 256 + "</note>" * 256),
            article("<para>" + "<emphasis>" * 300 + "x" + "</emphasis>" * 300 + "</para>"),
            "<article>" + "<section><title>t</title>" * 100_000,
            "<article><para>" + "<footnote><para>" * 50_000,
        ]:
            started = time.perf_counter()
            self.assert_ilvex_error(nesting, lambda: ilvex.endo("docbook", source))
            self.assertLess(time.perf_counter() - started, 1.0)

    def test_adversarial_inputs_stay_linear(self):
        cases = [
            ("<article><para>" + "<emphasis>x</emphasis> " * 50_000 + "</para></article>", None),
            ("<article><para>" + "word " * 400_000 + "</para></article>", None),
            ("<article>" + "<para>x</para>" * 150_000, PREFIX + "unterminated <article>"),
            ("<article><info>" + "<author>" * 200_000, TEI + "unterminated <author>"),
            ("<article><para>" + "<footnote><para>x</para></footnote>" * 30_000 + "</para></article>", None),
        ]
        for source, message in cases:
            started = time.perf_counter()
            if message is None:
                output = ilvex.endo("docbook", source)
                self.assertEqual(ilvex.check(output), "document")
            else:
                self.assert_ilvex_error(message, lambda: ilvex.endo("docbook", source))
            self.assertLess(time.perf_counter() - started, 2.0)


if __name__ == "__main__":
    unittest.main()
