"""endo("html"): the HTML subset it reads, what it refuses, and its limits."""

import time
import unittest

import ilvex
from support import IlvexTestCase

HEAD = "@@@!il-html\n"


def body(*blocks):
    """The text endo gives for these written blocks, a blank line apart."""
    return HEAD + "".join("\n" + block + "\n" for block in blocks)


class HtmlImportTestCase(IlvexTestCase):
    def assert_imports(self, cases):
        self.assert_endo_outputs("html", cases)

    def assert_refuses(self, cases):
        self.assert_endo_errors("html", cases, "html import: ")


class BlockTest(HtmlImportTestCase):
    def test_document_frame_and_empty_documents(self):
        self.assert_imports([
            ("", HEAD),
            ("<!DOCTYPE html>\n<!-- note -->\n  \n", HEAD),
            ("<html><head><title>T</title><style>p {}</style></head><body><p>x</p></body></html>", body("x")),
            # A stray end of head is dropped; an empty head hides nothing.
            ("</head><p>x</p>", body("x")),
            ("<head/><p>kept</p>", body("kept")),
            ("<head><p>inside the head</p>", HEAD),
        ])

    def test_headings_and_paragraphs(self):
        self.assert_imports([
            ("<H2>T</H2>", body("@##T##@")),
            ("<h01>one</h01><h+3>three</h+3><h6>six</h6>", body("@#one#@", "@###three###@", "@######six######@")),
            # A heading text that begins with the heading's own character.
            ("<h1>#x</h1>", body("@#@@@//@@@#x#@")),
            ("<p>a &amp; b &lt;c&gt; &#233; &eacute;</p>", body("a & b <c> é &eacute;")),
            # Running text keeps its line feeds and spaces.
            ("<p>a\n  b</p>", body("a\nb")),
            ("<p>a\\<em>b</em>@|x</p>", body('a@@"\\"@@@/b/@\\@|x')),
        ])

    def test_lists(self):
        self.assert_imports([
            ('<ol><li>a</li><li value="5">b</li><li>c</li></ol>',
             body("@..\n@.(1)\na\n.@\n\n@.(5)\nb\n.@\n\n@.(3)\nc\n.@\n..@")),
            ('<ol><li value="+007">a</li><li value="-1">b</li><li value="99999999999999999999">c</li></ol>',
             body("@..\n@.(7)\na\n.@\n\n@.(2)\nb\n.@\n\n@.(3)\nc\n.@\n..@")),
            ("<ul> <li>x</li> </ul>", body("@--\n@-\nx\n-@\n--@")),
            # Text or em, strong, span or code first: inline content; else blocks.
            ("<ul><li><strong>s</strong> t</li><li>\n<p>p</p>\n</li></ul>",
             body("@--\n@-\n@!s!@ t\n-@\n\n@-\np\n-@\n--@")),
            ('<ul><li>see <a href="u">u</a></li></ul>', body("@--\n@-\nsee @><u><@\n-@\n--@")),
            ("<ol><li><p>b</p><ul><li>c</li></ul></li></ol>",
             body("@..\n@.(1)\nb\n\n@--\n@-\nc\n-@\n--@\n.@\n..@")),
        ])

    def test_divisions_quotes_preformatted_and_images(self):
        self.assert_imports([
            ('<blockquote><p>q</p><div class="Note c++ x-y"><p>x</p></div></blockquote>',
             body("@>\nq\n\n@_\nx\n_@.note.x-y\n>@")),
            ("<div><blockquote><blockquote><p>deep</p></blockquote></blockquote></div>",
             body("@_\n@>\n@>\ndeep\n>@\n>@\n_@")),
            ("<pre><code>a &lt; b</code></pre>", body('@@@"\na < b\n"@@@')),
            ("<pre>\nline\n  two</pre>", body('@@@"\n\nline\n  two\n"@@@')),
            ('<img src="a b.png">', body("@@@@(a%20b.png)")),
            ('<img src="x"></img><img src="a\tb\u00a0c.png" alt="y"/>', body("@@@@(x)\n@@@@(a%09b%C2%A0c.png)")),
        ])

    def test_empty_element_tags(self):
        # An empty-element tag is the whole element, whatever the element:
        # nothing after it is read as its content.
        self.assert_imports([
            ("<p/><ul/><ol/><div/><blockquote/>", body("@--\n--@", "@..\n..@", "@_\n_@", "@>\n>@")),
            ("<h2/><p>after</p>", body("@##@@@//@@@##@", "after")),
            ('<div class="verse"/><pre/>', body("@~\n~@", '@@@"\n\n"@@@')),
            ("<ul><li/><li>b</li></ul>", body("@--\n@-\n-@\n\n@-\nb\n-@\n--@")),
            ('<p><em/><strong/><span class="k"/><a href="x"/><a/><code/></p>', body('@//@@!!@@,,@.k@><x><@@@""@@')),
            ("<pre><code/>x</pre>", body('@@@"\nx\n"@@@')),
        ])


class InlineTest(HtmlImportTestCase):
    def test_markup(self):
        self.assert_imports([
            ('<p><strong>s</strong> <em>e</em> <span class="Red c++ x-y">r</span><span>plain</span></p>',
             body("@!s!@ @/e/@ @,r,@.red.x-y@,plain,@")),
            ("<p>run <code>x &lt; y</code> <em>a <strong>b</strong></em></p>", body('run @@"x < y"@@ @/a @!b!@/@')),
            # Code that spans lines ends them with line feeds alone: a
            # written line cannot end in a carriage return.
            ("<p><code>a\r\n\r\nb\r</code></p>", body('@@"a"@@\n@@"\nb\r"@@')),
            ("<p><code>\r\r\nc\rd</code></p>", body('@@"\nc\rd"@@')),
        ])

    def test_anchors(self):
        self.assert_imports([
            ('<p><a href=" u "> Home </a></p>', body("Home  (@><u><@)")),
            ('<p><a href="u"></a>|<a href="u"> u </a>|<a>no target</a>|<a href="  ">blank</a></p>',
             body("@><u><@\\|@><u><@\\|no target|blank")),
            ('<p><a href="u">other <em>e</em></a></p>', body("other @/e/@ (@><u><@)")),
        ])


class VerseTest(HtmlImportTestCase):
    def test_verse_divisions(self):
        self.assert_imports([
            ('<div class="verse extra" data-taxis="2"><p class="verse-title">T</p>'
             '<p class="strophe">one<br/>\ntwo<br/></p></div>', body("@~(2) T\none\ntwo\n~@.extra")),
            ('<div class="table x"><p class="table-caption">C</p><p class="strophe">a<br>b</p>'
             '<p class="verse-attribution">A</p></div>', body("@~ C\na\nb\n~@.x.table A")),
            ('<div class="verse" data-taxis="x"><p class="strophe">a</p>\n<p class="strophe">b</p></div>',
             body("@~\na\n\nb\n~@")),
            # A break nested in markup still ends a line.
            ('<div class="verse"><p class="strophe">a<em>x<br/>y</em><a href="u">p<br/>q</a></p></div>',
             body("@~\na@/x/@\n@/y/@p\nq (@><u><@)\n~@")),
            ('<div class="verse"><p class="strophe">' + "<em>" * 8 + "a<br/>b" + "</em>" * 8 + "</p></div>",
             body("@~\n" + "@/" * 8 + "a" + "/@" * 8 + "\n" + "@/" * 8 + "b" + "/@" * 8 + "\n~@")),
            # "Verse" is no verse division: an ordinary one, its word a genos.
            ('<div class="Verse"><p>x</p></div>', body("@_\nx\n_@.verse")),
        ])

    def test_white_space_of_lines(self):
        self.assert_imports([
            # A line feed inside a verse line is a space; an empty line
            # between two breaks stays an empty line.
            ('<div class="verse"><p class="strophe">a<br/><br/>b\nc<br/>\n</p></div>', body("@~\na\n@@/\nb c\n~@")),
            # The source's line break after a br and the indentation after
            # it are layout; spaces after a br on its own line are kept.
            ('<div class="verse"><p class="strophe">\n    a<br/>\n    b<br/>  c\n  </p></div>',
             body("@~\na\nb\n  c\n~@")),
            # Titles and attributions are one line: runs of white space
            # become one space, the ends trimmed.
            ('<div class="verse"><p class="verse-title"> a \n\n <em> b </em> </p>'
             '<p class="verse-attribution">\n x\n y </p></div>', body("@~ a @/ b /@\n~@ x y")),
        ])


class RunningTextTest(HtmlImportTestCase):
    def test_blank_lines_never_split_a_paragraph(self):
        self.assert_imports([
            ("<p>a\n\n  \nb <em>c\n\nd</em></p>", body("a\nb @/c\nd/@")),
            ("<p>x\r\n\r\ny</p>", body("x\ny")),
            ("<p>a\n<!-- c -->\nb&#10;&#10;c</p>", body("a\nb\nc")),
            ("<ul><li>a\n\nb</li></ul>", body("@--\n@-\na\nb\n-@\n--@")),
            ("<h1>a\n \n b</h1>", body("@#a\nb#@")),
        ])

    def test_pretty_printed_document_reads_as_compact(self):
        pretty = """<!DOCTYPE html>
<html>
  <head>
    <title>Poems</title>
  </head>
  <body>
    <h1>Title</h1>
    <p>Text with <em>emphasis</em>.</p>
    <ul>
      <li>one</li>
      <li>
        <p>two</p>
      </li>
    </ul>
    <div class="verse">
      <p class="verse-title">
        Night
      </p>
      <p class="strophe">
        first line<br/>
        second line<br/>
      </p>
    </div>
  </body>
</html>
"""
        compact = ('<h1>Title</h1><p>Text with <em>emphasis</em>.</p><ul><li>one</li><li><p>two</p></li></ul>'
                   '<div class="verse"><p class="verse-title">Night</p>'
                   '<p class="strophe">first line<br/>second line<br/></p></div>')
        self.assertEqual(ilvex.endo("html", pretty), ilvex.endo("html", compact))


class RefusalTest(HtmlImportTestCase):
    def test_messages(self):
        self.assert_refuses([
            ("<!-- never closed", "unterminated comment"),
            ("<!DOCTYPE html", "unterminated declaration"),
            ("a < b", "unterminated tag"),
            ("< />", "empty tag"),
            ("<a href=x>", "unquoted attribute value after `href`"),
            ('<a title="x>y">', "unterminated attribute `title`"),
            ("<div><p>x</p>", "unclosed `<div>`"),
            ("<p>x <em>y", "unclosed `<em>`"),
            ("Hello", "bare text at block level: `Hello`"),
            ("<p>x</p> &amp; ", "bare text at block level: `&amp;`"),
            ("<p>a</div>", "unexpected `</div>`"),
            ("</p>", "unexpected `</p>`"),
            ("<div></p></div>", "unexpected `</p>`"),
            ("<h7>x</h7>", "unsupported element at block level: `<h7>`"),
            ("<h0>x</h0>", "unsupported element at block level: `<h0>`"),
            ("<hr>", "unsupported element at block level: `<hr>`"),
            ("<table></table>", "unsupported element at block level: `<table>`"),
            ("<section></section>", "unsupported element at block level: `<section>`"),
            ("<li>x</li>", "unsupported element at block level: `<li>`"),
            ('<?xml version="1.0"?><p/>', "unsupported element at block level: `<?xml>`"),
            ('<ul><li><a href="u">u</a></li></ul>', "unsupported element at block level: `<a>`"),
            ("<ul><p>x</p></ul>", "expected `<li>` or `</ul>`"),
            ("<ol>x</ol>", "expected `<li>` or `</ol>`"),
            ("<ol><li>x</li>", "expected `<li>` or `</ol>`"),
            ("<ul><li>x</li></ol>", "expected `<li>` or `</ul>`"),
            ("<ul><li>x</ul>", "unexpected `</ul>`"),
            ('<img alt="a">', "img without src"),
            ("<pre>x<b>y</b></pre>", "unclosed `<pre>`"),
            ("<pre>x", "unclosed `<pre>`"),
            ("<pre><code>x</pre>", "unclosed `<code>` in `<pre>`"),
            ("<pre><code>x</code>y</pre>", "unclosed `<pre>`"),
            ("<p><code>x<em>y</em></code></p>", "unclosed `<code>`"),
            ("<p><code>x", "unclosed `<code>`"),
            ("<p>a<br>b</p>", "unsupported inline element: `<br>`"),
            ("<p>a <b>b</b> <i>i</i></p>", "unsupported inline element: `<b>`"),
            ("<p><p>nested</p></p>", "unsupported inline element: `<p>`"),
            ('<div class="verse">text</div>', "unsupported content inside a verse"),
            ('<div class="verse"><h1>x</h1></div>', "unsupported content inside a verse"),
            ('<div class="verse"></p></div>', "unsupported content inside a verse"),
            ('<div class="verse"><p>x</p></div>', "unsupported paragraph inside a verse"),
            ('<div class="verse"><p class="stanza">x</p></div>', "unsupported paragraph inside a verse"),
            ('<div class="verse"><p class="verse-title">a<br/>b</p></div>', "unsupported inline element: `<br>`"),
            ('<div class="verse"><p class="strophe">x</p>', "unterminated verse division"),
            # Each line repeats the markup a br splits: a br in markup
            # deeper than 8 levels would multiply the document.
            ('<div class="verse"><p class="strophe">' + "<em>" * 9 + "a<br/>b", "unsupported inline element: `<br>`"),
            ('<div class="verse"><p class="strophe">a<br>\nb</br></p></div>', "unexpected `</br>`"),
        ])

    def test_a_tokenizer_error_comes_first(self):
        # The whole text is tokenized before any of it is converted.
        self.assert_refuses([
            ("<p>a</div><p>b</p><>", "empty tag"),
            ("<div>" * 300 + "<!-- never closed", "unterminated comment"),
        ])


class LimitTest(HtmlImportTestCase):
    NESTING = "nesting deeper than 256 levels"

    def assert_fast_refusal(self, html, message):
        started = time.perf_counter()
        self.assert_refuses([(html, message)])
        self.assertLess(time.perf_counter() - started, 2.0)

    def test_nesting_bound(self):
        self.assert_fast_refusal("<div>" * 100_000, self.NESTING)
        self.assert_fast_refusal("<p>" + "<em>" * 100_000, self.NESTING)
        self.assert_fast_refusal("<blockquote>" * 100 + "<ul><li>" * 100, self.NESTING)
        # 256 open elements are allowed, the 257th is not.
        ok = "<div>" * 255 + "<p>x</p>" + "</div>" * 255
        self.assertTrue(ilvex.endo("html", ok).startswith(HEAD))
        self.assert_refuses([("<div>" * 256 + "<p>x</p>" + "</div>" * 256, self.NESTING)])

    def test_large_inputs_stay_linear(self):
        # Half a megabyte: a quadratic pass would take minutes.
        size = 500_000
        cases = [
            ("<p>" + "<em>a</em>" * (size // 10) + "</p>", None),
            ("<p>" + "word " * (size // 5) + "</p>", None),
            ("<p>" + "a\n \t" * (size // 4) + "<code>" + "\r" * size + "\n</code></p>", None),
            ('<div class="verse"><p class="strophe">' + "line<br/>" * (size // 9) + "</p></div>", None),
            ("<p>" + "<em>x" * (size // 5), self.NESTING),
            ("<p>" + "a<" * (size // 2), "unterminated tag"),
            ("<ul>" + "<li>x</li>" * (size // 10), "expected `<li>` or `</ul>`"),
            ("<p>x</p>" * (size // 8) + "<>", "empty tag"),
        ]
        for html, message in cases:
            with self.subTest(html=html[:40]):
                started = time.perf_counter()
                if message is None:
                    ilvex.endo("html", html)
                else:
                    self.assert_refuses([(html, message)])
                self.assertLess(time.perf_counter() - started, 2.0)


if __name__ == "__main__":
    unittest.main()
