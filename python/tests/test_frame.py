"""The module frame: exports, the exception type, signatures and argument binding."""

import inspect
import unittest

import ilvex


class ExportsTest(unittest.TestCase):
    def test_all_lists_the_functions_then_the_exception(self):
        self.assertEqual(
            ilvex.__all__,
            ["version", "check", "brachy", "plero", "outline", "endo", "dialektos",
             "std_dialektoi", "IlvexError"],
        )
        for name in ilvex.__all__:
            self.assertTrue(hasattr(ilvex, name), name)

    def test_module_doc_is_empty(self):
        self.assertEqual(ilvex.__doc__, "")

    def test_exception_type(self):
        self.assertTrue(issubclass(ilvex.IlvexError, Exception))
        self.assertEqual(ilvex.IlvexError.__bases__, (Exception,))
        self.assertEqual(ilvex.IlvexError.__name__, "IlvexError")
        self.assertEqual(ilvex.IlvexError.__module__, "ilvex")
        self.assertEqual(ilvex.IlvexError.__doc__, "An ilvex error.")

    def test_version(self):
        self.assertEqual(ilvex.version(), "0.3.1")
        with self.assertRaises(TypeError):
            ilvex.version(1)
        with self.assertRaises(TypeError):
            ilvex.std_dialektoi("x")


class SignatureTest(unittest.TestCase):
    def test_text_signatures(self):
        cases = {
            "check": "(text, path='doc.ild')",
            "brachy": "(text, path='doc.ild')",
            "plero": "(text, lang=None, path='doc.ild')",
            "outline": "(text, path='doc.ild')",
            "endo": "(format, text, scheme=None)",
            "dialektos": "(id, dir=None, sources=None)",
            "std_dialektoi": "()",
            "version": "()",
        }
        for name, signature in cases.items():
            function = getattr(ilvex, name)
            self.assertEqual(str(inspect.signature(function)), signature, name)
            for parameter in inspect.signature(function).parameters.values():
                self.assertEqual(parameter.kind, inspect.Parameter.POSITIONAL_OR_KEYWORD)

    def test_docstrings_follow_the_signature(self):
        self.assertEqual(ilvex.version.__doc__, "The bindings (and wrapped core) version.")
        self.assertEqual(ilvex.std_dialektoi.__doc__, "The ids of the embedded std dialektoi.")
        self.assertTrue(ilvex.endo.__doc__.startswith(
            "Foreign format -> canonical ilvex (brachygraphic spelling).\nFormats: markdown"))
        self.assertTrue(ilvex.check.__doc__.endswith("imports resolve from its directory and errors locate there."))


class BindingTest(unittest.TestCase):
    """Binding failures are TypeErrors; conversion failures carry a note naming the parameter."""

    def assert_conversion_fails(self, call, parameter, error=TypeError):
        with self.assertRaises(error) as caught:
            call()
        self.assertEqual(caught.exception.__notes__, [f"while processing '{parameter}'"])

    def test_binding_failures_have_no_note(self):
        calls = [
            lambda: ilvex.check(),
            lambda: ilvex.endo("markdown"),
            lambda: ilvex.check("x", "p", "extra"),
            lambda: ilvex.check("x", text="y"),
            lambda: ilvex.check("x", bogus=1),
            lambda: ilvex.dialektos(),
        ]
        for call in calls:
            with self.assertRaises(TypeError) as caught:
                call()
            self.assertFalse(hasattr(caught.exception, "__notes__"))

    def test_wrong_types_fail_their_conversion(self):
        self.assert_conversion_fails(lambda: ilvex.check(1), "text")
        self.assert_conversion_fails(lambda: ilvex.check("x", path=None), "path")
        self.assert_conversion_fails(lambda: ilvex.check(None), "text")
        self.assert_conversion_fails(lambda: ilvex.plero("x", lang=3), "lang")
        self.assert_conversion_fails(lambda: ilvex.endo(b"markdown", "x"), "format")
        self.assert_conversion_fails(lambda: ilvex.endo("markdown", "x", scheme=1), "scheme")
        self.assert_conversion_fails(lambda: ilvex.dialektos("x", dir=1), "dir")
        self.assert_conversion_fails(lambda: ilvex.dialektos("x", sources=[]), "sources")
        self.assert_conversion_fails(lambda: ilvex.dialektos("x", sources={1: "a"}), "sources")
        self.assert_conversion_fails(lambda: ilvex.dialektos("x", sources={"a": None}), "sources")

    def test_conversions_run_in_parameter_order(self):
        # Both are wrong: only the first parameter is reported.
        self.assert_conversion_fails(lambda: ilvex.check(path=1, text=2), "text")
        self.assert_conversion_fails(lambda: ilvex.dialektos(1, sources=3), "id")
        self.assert_conversion_fails(lambda: ilvex.endo(format="x", text=None, scheme=2), "text")

    def test_lone_surrogates_fail_with_the_interpreters_error(self):
        self.assert_conversion_fails(lambda: ilvex.check("\ud800"), "text", UnicodeEncodeError)
        self.assert_conversion_fails(lambda: ilvex.endo("markdown", "x\udc00"), "text", UnicodeEncodeError)
        self.assert_conversion_fails(
            lambda: ilvex.dialektos("x", sources={"a.lektos": "\udfff"}), "sources", UnicodeEncodeError)

    def test_positional_and_keyword_binding_reach_the_body(self):
        # Once binding and conversion succeed, the body runs (and may report
        # that it is not available yet); never a TypeError.
        calls = [
            lambda: ilvex.check("x"),
            lambda: ilvex.check(text="x", path="a/b.ild"),
            lambda: ilvex.plero("x", None, "p.ild"),
            lambda: ilvex.plero(text="x", lang=None),
            lambda: ilvex.plero("x", lang=""),
            lambda: ilvex.endo(format="markdown", text="x", scheme=None),
            lambda: ilvex.dialektos(id="koine", dir=None, sources=None),
            lambda: ilvex.outline("x", "p"),
        ]
        for call in calls:
            try:
                call()
            except (ilvex.IlvexError, NotImplementedError):
                pass


if __name__ == "__main__":
    unittest.main()
