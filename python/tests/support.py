"""Helpers shared by the module tests."""

import unittest

import ilvex


class IlvexTestCase(unittest.TestCase):
    def assert_ilvex_error(self, message, call):
        """`call()` raises IlvexError whose only argument is `message`."""
        with self.assertRaises(ilvex.IlvexError) as caught:
            call()
        self.assertEqual(caught.exception.args, (message,))
