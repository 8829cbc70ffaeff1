"""check, brachy, plero and outline."""

import ctypes
import gc
import weakref
import os
import sys
import tempfile
import time
import unicodedata
import unittest

import ilvex
from support import IlvexTestCase

POEMS = """@@@!ilvex
@=== stanza
@~ [lemma]
stichos
~@ [hypograph]
===@

@=== strong
@* grammata *@
===@
"""

POEMS_DE = """@@@!ilvex-glossa
@=poems=>de
@~ strophe
"""

KOINE_DOC = "@@@!koine\n\n@# Title\nSome @*bold*@ and @/em/@ text.\n#@\n"


class InDirectory:
    """Runs a block in a temporary directory holding the given files."""

    def __init__(self, files):
        self.files = files

    def __enter__(self):
        self.directory = tempfile.TemporaryDirectory()
        for name, text in self.files.items():
            with open(os.path.join(self.directory.name, name), "w", encoding="utf-8") as file:
                file.write(text)
        self.previous = os.getcwd()
        os.chdir(self.directory.name)
        return self.directory.name

    def __exit__(self, *exc):
        os.chdir(self.previous)
        self.directory.cleanup()


class CheckTest(IlvexTestCase):
    def test_routes_on_the_declaration(self):
        self.assertEqual(ilvex.check(KOINE_DOC), "document")
        self.assertEqual(ilvex.check("  @@@!ilvex@0.3  \n"), "dialektos")
        self.assertEqual(ilvex.check(POEMS, path="defs/poems.lektos"), "dialektos")

    def test_errors_are_located_at_the_path(self):
        cases = [
            ("@@@!koine\n\n@xyz\n", "a/b.ild", "a/b.ild:3:1: undefined sim `@`"),
            ("\n@@@!koine", "doc.ild", "doc.ild:1:1: missing dialektos declaration on the first content line"),
            ("@@@!koine@1.2.3\n", "doc.ild", "doc.ild:1:1: invalid dialektos declaration: koine@1.2.3"),
            ("#!/usr/bin/env x\n@@@!koine\nHi @x", "doc.ild", "doc.ild:3:4: undefined sim `@`"),
            ("@@@!nosuch\n", "doc.ild", "cannot resolve dialektos `nosuch`: no local .lektos/.dia file"),
            ("@@@!ilvex\nbogus\n", "x.dia", "x.dia:2:1: invalid dialektos definition: unexpected line: `bogus`"),
        ]
        for text, path, message in cases:
            self.assert_ilvex_error(message, lambda: ilvex.check(text, path))


class BrachyTest(IlvexTestCase):
    def test_canonical_spelling(self):
        source = "#!/usr/bin/env ilvex\n\\\\\\!koine@1\n\n\\{section} Title\n\\\\/ dropped\nx \\{strong}y{strong}\\\n{section}\\\n"
        self.assertEqual(ilvex.brachy(source), "@@@!koine@1\n\n@# Title\nx @*y*@\n#@\n")

    def test_is_idempotent_and_checks(self):
        once = ilvex.brachy(KOINE_DOC)
        self.assertEqual(ilvex.brachy(once), once)
        self.assertEqual(ilvex.check(once), "document")

    def test_refuses_definition_files_after_their_own_errors(self):
        for text, message in [
            (POEMS, "definition source: this operation applies to documents"),
            ("@@@!ilvex\nbogus\n", "doc.ild:2:1: invalid dialektos definition: unexpected line: `bogus`"),
        ]:
            for function in (ilvex.brachy, ilvex.plero):
                self.assert_ilvex_error(message, lambda: function(text))


class LargeResultTest(IlvexTestCase):
    """Results of many pieces: ASCII throughout, text that turns non-ASCII
    late, and a result longer than its source."""

    ASCII = "@@@!koine\n\n" + "\n".join(f"Part {i} with @*strong*@ text.\n" for i in range(8000))

    def test_ascii_and_late_non_ascii_results(self):
        for text in (self.ASCII, self.ASCII + "\nEnde: \u00e9t\u00e9 \U0001F600.\n"):
            with self.subTest(tail=text[-20:]):
                self.assertEqual(ilvex.brachy(text), text)

    def test_ascii_source_with_a_result_that_turns_non_ascii(self):
        # A sim named in an ASCII source is written by its symbol: the result
        # turns Latin-1 or wider at once, in its middle or at its end, in a
        # result decoded in one go or as it is written (a large source, whose
        # middle is decoded straight into the str under construction).
        named = "@{chapter} One\ntext\n{chapter}@\n\n"
        for symbol in ("\u00a7", "\u2021"):
            chapter = f"@@@!ilvex\n@=== chapter\n@{symbol} [lemma]\ngrammata\n{symbol}@\n===@\n"
            for parts in (8000, 200000):
                body = "".join(f"Part {i} text.\n\n" for i in range(parts // 2))
                for where in ("start", "middle", "end"):
                    source = "@@@!loc\n\n" + "".join(
                        (named if where == "start" else "", body, named if where == "middle" else "", body,
                         named if where == "end" else "")).rstrip("\n") + "\n"
                    expected = source.replace("@{chapter}", "@" + symbol).replace("{chapter}@", symbol + "@")
                    with self.subTest(symbol=symbol, parts=parts, where=where), InDirectory({"loc.dia": chapter}):
                        written = ilvex.brachy(source)
                        self.assertEqual(written, expected)
                        # A str that only claims ASCII compares equal but encodes wrongly.
                        self.assertEqual(written.encode(), expected.encode())

    def test_result_width_follows_its_characters(self):
        # The result is built at the source's character width: where its own
        # characters are narrower (the comment's text is dropped) or wider (a
        # sim written by its symbol), it must still equal the plain str.
        # Small results are decoded in one go, those of large sources as
        # they are written.
        for parts in (8000, 80000):
            body = "".join(f"Part {i} \u00e9t\u00e9.\n\n" for i in range(parts))
            for source, written in (
                ("@@@!koine\n\nText.\n@@/ \U0001F600\n", "@@@!koine\n\nText.\n@@/\n"),
                ("@@@!koine\n\n\u00e9.\n@@/ \u0915\n", "@@@!koine\n\n\u00e9.\n@@/\n"),
                ("@@@!koine\n\n" + body + "End.\n@@/ \u0915\n", "@@@!koine\n\n" + body + "End.\n@@/\n"),
                ("@@@!koine\n\n" + body.encode("ascii", "replace").decode() + "End.\n@@/ \U0001F600\n",
                 "@@@!koine\n\n" + body.encode("ascii", "replace").decode() + "End.\n@@/\n"),
            ):
                with self.subTest(parts=parts, source=source[-12:]):
                    self.assertEqual(ilvex.brachy(source), written)
            chapter = "@@@!ilvex\n@=== chapter\n@\u2021 [lemma]\ngrammata\n\u2021@\n===@\n"
            with InDirectory({"loc.dia": chapter}):
                written = ilvex.brachy("@@@!loc\n\n" + body + "@{chapter} One\ntext\n{chapter}@\n")
            self.assertEqual(written, "@@@!loc\n\n" + body + "@\u2021 One\ntext\n\u2021@\n")

    def test_results_of_several_chunks(self):
        # Results of megabytes are gathered in chunks and joined at the end:
        # characters of every width cross the chunk edges, and the widest
        # character may come only in the last chunk.
        for words in ("plain words", "\u00e9t\u00e9 \u00e0 c\u00f4t\u00e9", "\u0915\u0916\u0917 \u0928\u092e\u0938\u094d\u0924\u0947",
                      "\U0001F600 \U0001D538 a"):
            body = "\n".join(f"{i} {words} {words[::-1]}.\n" for i in range(90000))
            for text in ("@@@!koine\n\n" + body, "@@@!koine\n\n" + body + "\n\U0001F600\n"):
                with self.subTest(words=words, tail=text[-3:]):
                    self.assertGreater(len(text.encode()), 2 << 20)
                    self.assertEqual(ilvex.brachy(text), text)

    def test_result_longer_than_its_source(self):
        named = ilvex.plero(self.ASCII)
        self.assertGreater(len(named), len(self.ASCII))
        self.assertEqual(named.count("@{strong}strong{strong}@"), 8000)
        self.assertEqual(ilvex.brachy(named), self.ASCII)

    def test_results_behave_as_plain_strs(self):
        # A large result may keep unused room after its text (that of an
        # ASCII source, even where the result turns wider late, by a sim
        # written by its symbol): it still compares, hashes, sizes, encodes
        # and grows in place as the same text made by Python.
        body = "\n".join(f"{i} plain words.\n" for i in range(80000))
        cases = [("@@@!koine\n\n" + body, "@@@!koine\n\n" + body, None)]
        for symbol in ("\u00a7", "\u2021", "\U0001F600"):
            chapter = f"@@@!ilvex\n@=== chapter\n@{symbol} [lemma]\ngrammata\n{symbol}@\n===@\n"
            cases.append(("@@@!loc\n\n" + body + "\n@{chapter} One\n{chapter}@\n",
                          "@@@!loc\n\n" + body + f"\n@{symbol} One\n{symbol}@\n", chapter))
        for words in ("d\u00e9j\u00e0 vu", "\u0915\u0916\u0917 \u0928", "\U0001F600 a"):
            text = "@@@!koine\n\n" + "\n".join(f"{i} {words}.\n" for i in range(80000))
            cases.append((text, text, None))
        for source, expected, chapter in cases:
            with self.subTest(tail=expected[-12:]), InDirectory({"loc.dia": chapter} if chapter else {}):
                self.assertGreater(len(source.encode()), 1 << 20)
                written = ilvex.brachy(source)
                plain = (expected + ".")[:-1]
                self.assertEqual(written, plain)
                self.assertEqual(hash(written), hash(plain))
                self.assertEqual(sys.getsizeof(written), sys.getsizeof(plain))
                self.assertEqual(written.encode(), plain.encode())
                written += "\u00e9 tail"
                self.assertEqual(written, plain + "\u00e9 tail")


DECOMPOSED_LINE = "e\u0301t\u00e9 \u0915\u093c @*e\u0301*@ a\u0301\n"


class LargeDecomposedTextTest(IlvexTestCase):
    """A text not in NFC and longer than the pieces it is encoded and
    normalized in: every function answers as for the composed text, with
    decomposed letters at line edges, and an error or a lone surrogate late
    in the text is reported where it stands in the whole text."""

    TEXT = "@@@!koine\n\n" + "".join(
        f"{i} {DECOMPOSED_LINE}" if i % 7 else f"\u0301{i} {DECOMPOSED_LINE}\n" for i in range(90000))

    def test_answers_as_for_the_composed_text(self):
        self.assertGreater(len(self.TEXT), 2 << 20)
        composed = unicodedata.normalize("NFC", self.TEXT)
        for function in (ilvex.check, ilvex.brachy, ilvex.plero, ilvex.outline):
            with self.subTest(function=function.__name__):
                self.assertEqual(function(self.TEXT), function(composed))

    def test_late_faults_are_located_in_the_whole_text(self):
        broken = self.TEXT + "@/unclosed e\u0301\n"
        with self.assertRaises(ilvex.IlvexError) as decomposed:
            ilvex.check(broken)
        with self.assertRaises(ilvex.IlvexError) as composed:
            ilvex.check(unicodedata.normalize("NFC", broken))
        self.assertEqual(str(decomposed.exception), str(composed.exception))
        surrogate = self.TEXT + "\ud800\n"
        with self.assertRaises(UnicodeEncodeError) as expected:
            surrogate.encode()
        for function in (ilvex.check, ilvex.brachy, ilvex.plero, ilvex.outline):
            with self.subTest(function=function.__name__):
                with self.assertRaises(UnicodeEncodeError) as raised:
                    function(surrogate)
                self.assertEqual((raised.exception.start, raised.exception.reason),
                                 (expected.exception.start, expected.exception.reason))


class SixteenBitTextTest(IlvexTestCase):
    """Texts whose characters are all below U+10000, stored two bytes a
    character, are normalized as they stand: what they compose or decompose
    into, and surrogates among them, are handled as for any other text."""

    def test_answers_as_for_the_normalized_text(self):
        cases = [
            # A compatibility ideograph whose canonical form lies beyond U+FFFF.
            "\u0928\u093c \ufa6c \ufad0\n",
            # Jamo composed into a syllable, and a syllable taking a final.
            "\u1100\u1161\u11a8 \uac00\u11a8 x\n",
            # Marks out of canonical order, and a letter composing with two.
            "a\u0323\u0302 a\u0302\u0323 \u0915\u093c\u094d\n",
            # Already normalized, with a mark that could compose but does not.
            "\u0915\u093c\u093e \u0928\u093f\n",
        ]
        for line in cases:
            text = "@@@!koine\n\n" + line * 3000
            with self.subTest(line=line):
                normalized = unicodedata.normalize("NFC", text)
                self.assertEqual(ilvex.brachy(text), ilvex.brachy(normalized))
                self.assertEqual(ilvex.outline(text), ilvex.outline(normalized))

    def test_surrogates_fail_where_they_stand(self):
        # A pair of surrogates is two characters of the str, neither of which
        # has UTF-8: after text to normalize, in it, and before it.
        cases = ["e\u0301 x\ud83d\ude00\n", "\u0928\ud83d\ude00\u093c\n", "\udbff\udfff e\u0301\n",
                 "\u0928\u093c" * 5000 + "\udc00\n"]
        for tail in cases:
            text = "@@@!koine\n\n\u0915\n" + tail
            with self.subTest(tail=tail[-12:]):
                with self.assertRaises(UnicodeEncodeError) as expected:
                    text.encode()
                with self.assertRaises(UnicodeEncodeError) as raised:
                    ilvex.check(text)
                self.assertEqual((raised.exception.start, raised.exception.reason),
                                 (expected.exception.start, expected.exception.reason))


class TextGivenBackTest(IlvexTestCase):
    """A text that is not ASCII is held by the call, which gives its memory
    back as the parse is done with it: what is written from it, and what an
    error late in a large text reports of a block opened early, are as for
    the same text read from an ASCII str."""

    BODY = "".join(f"@# Part {i}\nline {i} of *text* @/x/@ here\n#@(p{i}).x\n\n" for i in range(60000))
    ASCII = "@@@!koine\n\n" + BODY

    def test_written_text_is_that_of_the_ascii_text(self):
        self.assertGreater(len(self.BODY), 3 << 20)
        for function in (ilvex.brachy, ilvex.plero):
            with self.subTest(function=function.__name__):
                self.assertEqual(function(self.ASCII + "\u0915\n"), function(self.ASCII) + "\n\u0915\n")

    def test_a_block_open_from_the_start_keeps_its_opener(self):
        opened = "@@@!koine\n\n@^\n" + self.BODY
        for function in (ilvex.check, ilvex.brachy, ilvex.plero):
            with self.subTest(function=function.__name__):
                with self.assertRaises(ilvex.IlvexError) as ascii_error:
                    function(opened)
                with self.assertRaises(ilvex.IlvexError) as wide_error:
                    function(opened + "\u0915\n")
                self.assertEqual(str(wide_error.exception), str(ascii_error.exception))
                self.assertIn("block closed by `^@`", str(wide_error.exception))


class CallerTextTest(IlvexTestCase):
    def test_the_callers_str_keeps_no_utf8_copy(self):
        # The functions encode a text that is not ASCII into memory of their
        # own, which goes with the call: the caller's str stays its size.
        document = "@@@!koine\n\n" + "\u00e9t\u00e9 \u0915 \U0001F600 e\u0301.\n" * 200
        calls = [(function, document) for function in (ilvex.check, ilvex.brachy, ilvex.plero, ilvex.outline)]
        calls += [(lambda text: ilvex.endo("markdown", text), "# T\u00eate\n\n\u0915 \U0001F600 *x*.\n" * 200)]
        for call, text in calls:
            with self.subTest(text=text[:12]):
                size = sys.getsizeof(text)
                call(text)
                self.assertEqual(sys.getsizeof(text), size)


class DefinitionAddedLaterTest(IlvexTestCase):
    """Calls that found no definition file beside a document, in a directory
    unchanged for long enough that its missing names are remembered, do not
    keep a file that appears later from being read."""

    DOCUMENT = "@@@!koine\n\n@{chapter} One\ntext\n{chapter}@\n"
    CHAPTER = "@@@!ilvex\n@=== chapter\n@\u2021 [lemma]\ngrammata\n\u2021@\n===@\n"

    def test_a_file_added_later_is_read(self):
        with tempfile.TemporaryDirectory() as root:
            # (the directory, the file that appears later): a new file, and
            # the missing target of a link that was there all along.
            cases = []
            for name in ("new file", "link"):
                directory = os.path.join(root, name)
                os.mkdir(directory)
                definition = os.path.join(directory, "koine.dia")
                if name == "link":
                    os.symlink(os.path.join(root, "elsewhere.dia"), definition)
                    definition = os.path.join(root, "elsewhere.dia")
                cases.append((os.path.join(directory, "doc.ild"), definition))
            time.sleep(3.5)  # older than any file system's time stamps are coarse
            for path, definition in cases:
                with self.subTest(path=path):
                    for _ in range(2):
                        self.assert_ilvex_error(f"{path}:3:1: undefined sim `{{chapter}}`",
                                                lambda: ilvex.brachy(self.DOCUMENT, path=path))
                    with open(definition, "w", encoding="utf-8") as file:
                        file.write(self.CHAPTER)
                    self.assertEqual(ilvex.brachy(self.DOCUMENT, path=path),
                                     "@@@!koine\n\n@\u2021 One\ntext\n\u2021@\n")


class PleroTest(IlvexTestCase):
    DOCUMENT = "@@@!poems\n\n@~ Song\nla @*la*@\n~@\n"

    def test_names_from_the_glossa_with_fallback(self):
        with InDirectory({"poems.lektos": POEMS, "poems.de.glossa": POEMS_DE}):
            self.assertEqual(ilvex.plero(self.DOCUMENT),
                             "@@@!poems\n\n@{stanza} Song\nla @{strong}la{strong}@\n{stanza}@\n")
            self.assertEqual(ilvex.plero(self.DOCUMENT, lang=None), ilvex.plero(self.DOCUMENT))
            self.assertEqual(ilvex.plero(self.DOCUMENT, "de"),
                             "@@@!poems\n\n@{strophe} Song\nla @{strong}la{strong}@\n{strophe}@\n")
            plero = ilvex.plero(self.DOCUMENT, "de")
            self.assertEqual(ilvex.brachy(plero), ilvex.brachy(self.DOCUMENT))
            self.assertEqual(ilvex.plero(plero, "de"), plero)
            self.assert_ilvex_error("cannot resolve dialektos `poems.fr.glossa`: no local .lektos/.dia file",
                                    lambda: ilvex.plero(self.DOCUMENT, "fr"))

    def test_resolves_beside_the_path(self):
        with InDirectory({"poems.dia": POEMS}) as directory:
            os.chdir("/")
            self.assertEqual(ilvex.check(self.DOCUMENT, os.path.join(directory, "x.ild")), "document")
            with self.assertRaises(ilvex.IlvexError):
                ilvex.check(self.DOCUMENT)


class OutlineTest(IlvexTestCase):
    def test_shape_and_key_order(self):
        text = "@@@!koine\n\n@#(2) Title\nSee @(here) and @#(here).\n#@(sec).x\n"
        outline = ilvex.outline(text)
        self.assertEqual(list(outline), ["dialektos", "blocks", "milestones", "onyms", "deixes"])
        self.assertEqual(outline["dialektos"], "koine")
        self.assertEqual(outline["blocks"], [{
            "kind": "para", "symbol": "#", "name": "section", "depth": 0, "start": 3, "end": 5,
            "lemma": "Title", "onym": "sec", "genoses": ["x"],
        }])
        self.assertEqual(list(outline["blocks"][0]),
                         ["kind", "symbol", "name", "depth", "start", "end", "lemma", "onym", "genoses"])
        self.assertEqual(outline["onyms"], [{"key": "sec", "line": 5}, {"key": "here", "line": 4}])
        self.assertEqual(outline["deixes"], [{"key": "#(here)", "line": 4}])

    def test_references_in_document_order(self):
        # A lemma's references come before its body's, a hypograph's after
        # them, an endo-simmere's onym after what it holds, nested containers
        # and verse in their place; none from an axioma body, a literal text
        # or the suffix of another inline item.
        nested = """@@@!koine

@# Intro @(l1) @*b @(l2)*@(l3)
Body @*in @(s1)*@(s2) @^(fn) @("v:1")
@"
Quoted @(q1)
@@@= Verse @(v1)
line @(v2) @("v:2")

line @(v3)
=@@@ After @(v4)
"@ Someone @(h1)
@## Inner @(i1)
deep @(i2)
##@(sub)
Tail @(t1) @^(fn)
#@(sec)
"""
        excluded = """@@@!koine

@@@:
Hidden @(h1) @("v:9") @^(no)
@"
Not @(h2)
x @(h3)
"@ By @(h4)
:@@@(ax)
Shown @@:in @(h5) @("v:8"):@@(ea) @@.d @(d1).@@(ds) @@"lit @(no)"@@(es) @>(to)(ms) @^(fn)(xs) @(a1)
@@@"
@(m1)
"@@@
@*/ a @* b @(n1) *@(n2) /*@(n3)
"""
        cases = [
            (nested, {
                "milestones": [("v:1", 4), ("v:2", 8)],
                "onyms": [("sec", 17), ("sub", 15), ("l1", 3), ("l2", 3), ("l3", 3), ("s1", 4), ("s2", 4),
                          ("q1", 6), ("v1", 7), ("v2", 8), ("v3", 10), ("v4", 11), ("h1", 12), ("i1", 13),
                          ("i2", 14), ("t1", 16)],
                "deixes": [("^(fn)", 4), ("^(fn)", 16)],
            }),
            (excluded, {
                "milestones": [],
                "onyms": [("d1", 10), ("a1", 10), ("n1", 14), ("n2", 14), ("n3", 14)],
                "deixes": [("^(fn)", 10)],
            }),
        ]
        for text, expected in cases:
            outline = ilvex.outline(text)
            found = {kind: [(entry["key"], entry["line"]) for entry in outline[kind]] for kind in expected}
            self.assertEqual(found, expected)

    def test_errors_after_references(self):
        # Met after references were read, inside axioma bodies included.
        cases = [
            ("@@@!koine\n\nA @(a1) @@:x @(bad onym):@@(ea)\n",
             "doc.ild:3:25: invalid onym identifier `bad onym`"),
            ('@@@!koine\n\n@@@:\nA @(a1)\n@# L @(ok)\nb @("v")\n#@\n:@@@(ax)\n',
             "doc.ild:6:9: milestone `v` has no scheme separator `:`"),
            ('@@@!koine\n\n@# L @(ok)\nb @*x*@(ok2) @("v:1") @*y\n#@\n',
             "doc.ild:4:26: unmatched sim `@*` (episim not found)"),
            ('@@@!koine\n\n@"\nq @(ok)\n"@ By @(bad onym)\n',
             "doc.ild:5:15: invalid onym identifier `bad onym`"),
        ]
        for text, message in cases:
            self.assert_ilvex_error(message, lambda: ilvex.outline(text))

    def test_empty_document(self):
        self.assertEqual(ilvex.outline("@@@!koine@2\n"),
                         {"dialektos": "koine", "blocks": [], "milestones": [], "onyms": [], "deixes": []})

    def test_definition_files_are_refused(self):
        cases = [
            ("@@@!ilvex\n", "doc.ild:1:1: invalid dialektos declaration: `ilvex` declares a dialektos "
                            "definition file, not a document; process it as a definition"),
            ("  @@@!ilvex\n", "doc.ild:1:1: missing dialektos declaration on the first content line"),
        ]
        for text, message in cases:
            self.assert_ilvex_error(message, lambda: ilvex.outline(text))

    def test_decomposed_text_is_matched_composed(self):
        outline = ilvex.outline("@@@!koine\n\nx\n@(cafe\u0301)\n")
        self.assertEqual(outline["onyms"], [{"key": "caf\u00e9", "line": 4}])

    def test_values_that_repeat_are_one_object(self):
        sections = "".join(f"@# Part {i}\ntext\n#@(p{i}).x\n\n" for i in range(3))
        blocks = ilvex.outline("@@@!koine\n\n" + sections)["blocks"]
        self.assertEqual(len(blocks), 3)
        for key in ("kind", "symbol", "name"):
            self.assertTrue(all(b[key] is blocks[0][key] for b in blocks), key)
        self.assertTrue(all(b["genoses"][0] is blocks[0]["genoses"][0] for b in blocks))
        # Each genoses list is the block's own.
        blocks[0]["genoses"].append("y")
        self.assertEqual(blocks[1]["genoses"], ["x"])

    def test_large_outline_of_small_blocks(self):
        # Enough blocks that the outline is read and given back in stretches.
        count = 30000
        sections = "".join(f"@# T{i}\n@(\"p:{i}\") x\n#@(s{i}).g{i % 3}\n\n" for i in range(count))
        outline = ilvex.outline("@@@!koine\n\n" + sections)
        self.assertEqual(len(outline["blocks"]), count)
        for i in (0, 1, 4095, 4096, 4097, 12345, count - 1):
            start = 3 + 4 * i
            self.assertEqual(outline["blocks"][i], {
                "kind": "para", "symbol": "#", "name": "section", "depth": 0, "start": start, "end": start + 2,
                "lemma": f"T{i}", "onym": f"s{i}", "genoses": [f"g{i % 3}"]})
            self.assertEqual(outline["milestones"][i], {"key": f"p:{i}", "line": start + 1})
        self.assertEqual(outline["onyms"], [{"key": f"s{i}", "line": 5 + 4 * i} for i in range(count)])
        last = outline["blocks"][-1]
        self.assertIs(outline["onyms"][-1]["key"], last["onym"])
        self.assertIs(outline["onyms"][-1]["line"], last["end"])

    def test_a_large_outline_leaves_the_interpreters_memory_as_it_was(self):
        # A result this large is built in arenas of large pages.
        class ArenaAllocator(ctypes.Structure):
            _fields_ = [("ctx", ctypes.c_void_p), ("alloc", ctypes.c_void_p), ("free", ctypes.c_void_p)]

        def arena_allocator():
            allocator = ArenaAllocator()
            ctypes.pythonapi.PyObject_GetArenaAllocator(ctypes.byref(allocator))
            return allocator.ctx, allocator.alloc, allocator.free

        def resident_bytes():
            with open("/proc/self/statm") as statm:
                return int(statm.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")

        count = 30000
        text = "@@@!koine\n\n" + "".join(f"@# T{i}\n#@(s{i})\n\n" for i in range(count))
        allocator, before = arena_allocator(), resident_bytes()
        outline = ilvex.outline(text)
        self.assertEqual(arena_allocator(), allocator)
        self.assertEqual(outline["blocks"][-1]["lemma"], f"T{count - 1}")
        del outline
        gc.collect()
        # Its arenas (some 20 MB) are given back once it is freed, and new
        # objects fill the interpreter's own.
        self.assertLess(resident_bytes() - before, 4 << 20)
        made = [{"n": i} for i in range(count)]
        self.assertEqual(sum(d["n"] for d in made), count * (count - 1) // 2)

    def test_the_collector_sees_what_can_hold_a_cycle(self):
        text = "@@@!koine\n\n@# Title\ntext @(\"page:1\") @(here)\n#@(s).x\n\n@# Two\nmore\n#@\n"
        outline = ilvex.outline(text)
        containers = [outline, outline["blocks"], outline["milestones"], outline["onyms"], outline["deixes"]]
        for block in outline["blocks"]:
            containers += [block, block["genoses"]]
        self.assertTrue(all(gc.is_tracked(c) for c in containers))
        # A dict of strings and ints only, as the interpreter leaves it.
        entries = outline["milestones"] + outline["onyms"]
        self.assertEqual(len(entries), 3)
        self.assertFalse(any(gc.is_tracked(e) for e in entries))

        class Marker:
            pass

        # Cycles made later through a block or an entry are collected.
        for make_cycle in (lambda m: (outline["blocks"][1]["genoses"].append(m), setattr(m, "to", outline)),
                           lambda m: (outline["onyms"][1].update(key=m), setattr(m, "to", outline))):
            outline = ilvex.outline(text)
            marker = Marker()
            alive = weakref.ref(marker)
            make_cycle(marker)
            del marker, outline
            gc.collect()
            self.assertIsNone(alive())

    def test_leaves_the_collector_as_it_was(self):
        text = "@@@!koine\n\n@# Title\ntext @(\"page:1\")\n#@\n"
        was_enabled = gc.isenabled()
        try:
            for enabled in (True, False):
                (gc.enable if enabled else gc.disable)()
                self.assertEqual(len(ilvex.outline(text)["blocks"]), 1)
                self.assertEqual(gc.isenabled(), enabled)
        finally:
            (gc.enable if was_enabled else gc.disable)()


if __name__ == "__main__":
    unittest.main()
