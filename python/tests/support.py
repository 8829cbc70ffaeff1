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

    def assert_canonical(self, output):
        """`output` is a document and a fixed point of brachy."""
        self.assertEqual(ilvex.check(output), "document")
        self.assertEqual(ilvex.brachy(output), output)
