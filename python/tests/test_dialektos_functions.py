"""dialektos() and std_dialektoi()."""

import unittest

import ilvex

STANDARD_IDS = [
    "il-djot", "koine", "il-prosa", "il-poesia", "il-drama", "il-docbook", "il-html",
    "il-markdown", "il-org", "il-rst", "il-tei", "il-usfm", "litogramma", "bibliogramma",
]


class StdDialektoiTest(unittest.TestCase):
    def test_lists_the_standard_ids_in_table_order(self):
        self.assertEqual(ilvex.std_dialektoi(), STANDARD_IDS)

    def test_returns_a_new_list_each_call(self):
        first = ilvex.std_dialektoi()
        first.append("mine")
        self.assertEqual(ilvex.std_dialektoi(), STANDARD_IDS)


if __name__ == "__main__":
    unittest.main()
