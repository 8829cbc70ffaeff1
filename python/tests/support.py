"""Helpers shared by the module tests."""

import unittest

import ilvex


class IlvexTestCase(unittest.TestCase):
    def assert_ilvex_error(self, message, call):
        """`call()` raises IlvexError whose only argument is `message`."""
        with self.assertRaises(ilvex.IlvexError) as caught:
            call()
        self.assertEqual(caught.exception.args, (message,))

    def assert_endo_cases(self, format, dialektos, cases):
        """For each (text, body) of `cases`, `endo(format, text)` is the
        declaration of `dialektos`, then `body` after a blank line (nothing
        when `body` is empty); every output passes check and is a fixed point
        of brachy."""
        for text, body in cases:
            with self.subTest(text=text):
                output = ilvex.endo(format, text)
                self.assertEqual(output, f"@@@!{dialektos}\n" + (f"\n{body}" if body else ""))
                self.assert_canonical(output)

    def assert_endo_outputs(self, format, cases, head=""):
        """For each (text, expected) of `cases`, `endo(format, text)` is
        `head` + `expected`, which passes check and is a fixed point of
        brachy."""
        for text, expected in cases:
            with self.subTest(text=text):
                output = ilvex.endo(format, text)
                self.assertEqual(output, head + expected)
                self.assert_canonical(output)

    def assert_endo_errors(self, format, cases, prefix=""):
        """For each (text, message) of `cases`, `endo(format, text)` raises
        IlvexError with `prefix` + `message`."""
        for text, message in cases:
            with self.subTest(text=text):
                self.assert_ilvex_error(prefix + message, lambda: ilvex.endo(format, text))

    def assert_canonical(self, output):
        """`output` is a document and a fixed point of brachy."""
        self.assertEqual(ilvex.check(output), "document")
        self.assertEqual(ilvex.brachy(output), output)


def scripture_book(body, code="gen"):
    """The il-usfm output of a scripture import: one book division holding
    `body`."""
    return f"@@@!il-usfm\n\n@# {code}\n{body}#@\n"


class ScriptureTestCase(IlvexTestCase):
    """Tables of cases through `endo(FORMAT, ...)` for the scripture
    importers; a subclass sets FORMAT and PREFIX (its error messages'
    prefix)."""

    FORMAT = None
    PREFIX = None

    def assert_endo(self, text, expected, scheme=None):
        output = ilvex.endo(self.FORMAT, text, scheme=scheme)
        self.assertEqual(output, expected, text)
        self.assert_canonical(output)

    def assert_table(self, cases, scheme=None):
        for text, expected in cases:
            with self.subTest(text=text):
                self.assert_endo(text, expected, scheme)

    def assert_errors(self, cases, prefix=None):
        self.assert_endo_errors(self.FORMAT, cases, self.PREFIX if prefix is None else prefix)
