"""dialektos() and std_dialektoi()."""

import unittest

import ilvex
from support import IlvexTestCase

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


DEMO = """@@@!ilvex
@@/ a small definition
@=== strong
@* grammata *@
@"strong (bold)"@
===@

@==% kinds
b: y x
a:
%==@
"""

DEMO_CANONICAL = """@@@!ilvex

@=== strong
@* grammata *@
@"strong (bold)"@
===@

@==% kinds
a:
b: x y
%==@
"""


class DialektosTest(IlvexTestCase):
    def test_every_standard_id_resolves_and_reads_back(self):
        for std_id in STANDARD_IDS:
            text = ilvex.dialektos(std_id)
            self.assertTrue(text.startswith("@@@!ilvex\n"), std_id)
            # The serialization is itself a definition that serializes to itself.
            self.assertEqual(ilvex.dialektos("copy", sources={"copy.dia": text}), text, std_id)

    def test_litogramma_is_written_without_imports(self):
        text = ilvex.dialektos("litogramma")
        self.assertEqual(text.count("\n@=== "), 65)
        self.assertNotIn("@@::", text)

    def test_sources_resolve_and_shadow_standard_ids(self):
        self.assertEqual(ilvex.dialektos("demo", sources={"demo.lektos": DEMO}), DEMO_CANONICAL)
        self.assertEqual(ilvex.dialektos("koine", sources={"koine.dia": DEMO}), DEMO_CANONICAL)
        # Inside a standard definition too: litogramma imports the local koine.
        self.assertIn("@=== strong\n", ilvex.dialektos("litogramma", sources={"koine.dia": DEMO}))

    def test_directory_resolution(self):
        import os
        import tempfile

        with tempfile.TemporaryDirectory() as directory:
            with open(os.path.join(directory, "demo.dia"), "w", encoding="utf-8") as file:
                file.write(DEMO)
            self.assertEqual(ilvex.dialektos("demo", dir=directory), DEMO_CANONICAL)
            self.assertEqual(ilvex.dialektos("demo", directory), DEMO_CANONICAL)
            previous = os.getcwd()
            os.chdir(directory)
            try:
                self.assertEqual(ilvex.dialektos("demo", dir=""), DEMO_CANONICAL)
                # Without dir or sources only the embedded definitions resolve.
                self.assert_ilvex_error(
                    "cannot resolve dialektos `demo`: no local .lektos/.dia file",
                    lambda: ilvex.dialektos("demo"))
            finally:
                os.chdir(previous)

    def test_failures(self):
        cases = [
            ("cannot resolve dialektos `nosuch`: no local .lektos/.dia file",
             lambda: ilvex.dialektos("nosuch")),
            ("cannot resolve dialektos `demo`: no local .lektos/.dia file",
             lambda: ilvex.dialektos("demo", sources={})),
            ("dir and sources are mutually exclusive",
             lambda: ilvex.dialektos("demo", dir="x", sources={})),
            ("dir and sources are mutually exclusive",
             lambda: ilvex.dialektos("koine", dir="", sources={"a.dia": ""})),
            ("a.lektos:2:1: transclusion cycle through dialektos inheritance cycle through `a`",
             lambda: ilvex.dialektos("a", sources={"a.lektos": "@@@!ilvex\n@@:: a\n"})),
            ("cannot resolve dialektos `../koine`: no local .lektos/.dia file",
             lambda: ilvex.dialektos("../koine", dir=".")),
        ]
        for text, call in cases:
            self.assert_ilvex_error(text, call)

    def test_source_texts_are_normalized(self):
        decomposed = DEMO.replace("strong (bold)", "e\u0301")
        self.assertIn('@"\u00e9"@', ilvex.dialektos("demo", sources={"demo.dia": decomposed}))


if __name__ == "__main__":
    unittest.main()
