"""endo("bibtex"): entries and fields, the refused forms and their messages."""

import time
import unittest

import ilvex
from support import IlvexTestCase

HEAD = "@@@!bibliogramma\n"
PREFIX = "missing or unreadable resource: bibtex import: "


class BibtexImportTest(IlvexTestCase):
    def assert_imports(self, cases):
        self.assert_endo_outputs("bibtex", cases, HEAD)

    def assert_fails(self, cases):
        self.assert_endo_errors("bibtex", cases, PREFIX)

    def test_entries_and_fields(self):
        self.assert_imports([
            ("", ""),
            (" \n\t@comment{ x }\n@COMMENT { {nested} }\n", ""),
            ("@Article{ knuth84 , Title = {The {TeX}book}, YEAR = 1984 }",
             "\n@& knuth84\n@: title\nThe {TeX}book\n:@\n\n@: year\n1984\n:@\n&@.article\n"),
            ('@misc{k, title = "A\n   long  title"}', "\n@& k\n@: title\nA long title\n:@\n&@.misc\n"),
            ("@misc{key}", "\n@& key\n&@.misc\n"),
            ("@comment{ {nested} }@misc{k}", "\n@& k\n&@.misc\n"),
            # Commas are optional and may repeat; an empty value leaves the
            # field without a paragraph.
            ("@misc{k,,, a=1 b={} ,}", "\n@& k\n@: a\n1\n:@\n\n@: b\n:@\n&@.misc\n"),
            # Duplicate fields stay, in order; the key keeps its case.
            ("@Misc{K, Note={x}, note={y}}", "\n@& K\n@: note\nx\n:@\n\n@: note\ny\n:@\n&@.misc\n"),
            # Values are not decoded: quotes in braces, braces in quotes and
            # TeX stay; sigil characters are escaped.
            ('@misc{k @x, title={@ {"x"} | \\emph{\u00e9}}, t2="{a"}',
             '\n@& k \\@x\n@: title\n\\@ {"x"} | \\emph{\u00e9}\n:@\n\n@: t2\n{a\n:@\n&@.misc\n'),
            # White space is Unicode's: a no-break space and a line separator.
            ("@misc{\u00a0k\u00a0, t={a\u00a0\u2028 b}}", "\n@& k\n@: t\na b\n:@\n&@.misc\n"),
            ("@a{1}\n@b{2}\n", "\n@& 1\n&@.a\n\n@& 2\n&@.b\n"),
        ])

    def test_messages(self):
        self.assert_fails([
            ("% comment\n@misc{k}", "expected `@` at an entry, found `%`"),
            ("@misc{k} x", "expected `@` at an entry, found `x`"),
            ("\u00e9", "expected `@` at an entry, found `\u00e9`"),
            ("@ {x}", "entry without a type"),
            ("@1{x}", "entry without a type"),
            ('@string{a = "b"}', "@string is not supported"),
            ("@PREAMBLE{x}", "@preamble is not supported"),
            ("@comment{ {", "unterminated @comment"),
            ("@comment", "malformed @comment"),
            # Skipping to a later brace would swallow the entry after it.
            ("@comment x\n@misc{k}", "malformed @comment"),
            ("@book(key, title={x})", "expected `{` after @book"),
            ("@book", "expected `{` after @book"),
            ("@misc{, title={x}}", "@misc entry without a citation key"),
            ("@misc{ }", "@misc entry without a citation key"),
            ("@misc{a\nb, x=1}", "invalid identifier `a\nb`"),
            ("@article{key, title={x}", "unterminated @article{key}"),
            ("@Article{Key,", "unterminated @article{Key}"),
            ("@misc{k", "unterminated @misc{k}"),
            ("@misc{k, year = 1", "unterminated @misc{k}"),
            ('@article{key, title = "a" # "b"}', "malformed field in @article{key}"),
            ("@misc{k, \"t\" = 1}", "malformed field in @misc{k}"),
            ("@misc{k, title}", "field `title` without `=`"),
            ("@misc{k, Title", "field `title` without `=`"),
            ("@misc{k, year = 2020a}", "field `a` without `=`"),
            ('@misc{k, title = "a', "unterminated quoted value of `title`"),
            ("@misc{k, title = {a {b}", "unterminated braced value of `title`"),
            ("@article{key, title = macro}",
             "unsupported value form for `title` (macros/concatenation are out of subset)"),
            ("@misc{k, t =",
             "unsupported value form for `t` (macros/concatenation are out of subset)"),
        ])

    def test_large_inputs_stay_linear(self):
        entries = "".join(f"@book{{k{i}, title = {{T {{x}} {i}}}, year = {i}}}\n" for i in range(100000))
        cases = [
            ("@misc{k, t = " + "{" * 1000000, PREFIX + "unterminated braced value of `t`"),
            ("@comment" + "{" * 1000000, PREFIX + "unterminated @comment"),
            ("@misc{k, t = {" + "{}" * 500000 + "}}", None),
            ("@misc{k, t = {" + "{" * 100000 + "}" * 100000 + "}}", None),
            (entries, None),
        ]
        for source, message in cases:
            with self.subTest(source=source[:20]):
                start = time.perf_counter()
                if message is None:
                    ilvex.endo("bibtex", source)
                else:
                    self.assert_ilvex_error(message, lambda: ilvex.endo("bibtex", source))
                self.assertLess(time.perf_counter() - start, 2.0)


if __name__ == "__main__":
    unittest.main()
