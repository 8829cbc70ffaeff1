// Binding of module-function arguments: conversion of bound Python objects
// into owned values. Each conversion that fails leaves a pending exception
// carrying the note "while processing '<name>'" and returns false.
#pragma once

#include <Python.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace ilvex::py {

// A `str`, copied as UTF-8.
bool convert_str(PyObject* object, const char* name, std::string& out);

// A `str`'s UTF-8 without a copy: a view of the object's own UTF-8 (which
// the interpreter keeps with a non-ASCII `str` once asked for it), valid
// while the object lives. For a large text that the call only reads.
bool borrow_str(PyObject* object, const char* name, std::string_view& out);

// A document's text as the document functions read it: the `str`'s own
// characters when it is ASCII (a view, as borrow_str gives); otherwise its
// UTF-8 in NFC, encoded and normalized line group by line group into
// `storage`, which `out` then views. The interpreter's own UTF-8 copy is
// never made, and a text that is not in NFC is held once, normalized,
// rather than also as it came.
bool borrow_document_text(PyObject* object, const char* name, std::string& storage, std::string_view& out);

// A `str`, or `fallback` when the argument was omitted (passed as null).
bool convert_str_or(PyObject* object, const char* name, const char* fallback, std::string& out);

// `None` (or an omitted argument, passed as null) is absent; otherwise a `str`.
bool convert_optional_str(PyObject* object, const char* name, std::optional<std::string>& out);

// `None` or omitted is absent; otherwise a `dict` whose keys and values are `str`.
bool convert_optional_str_dict(PyObject* object, const char* name,
                               std::optional<std::map<std::string, std::string>>& out);

// A new `str` from owned UTF-8.
PyObject* to_py_str(const std::string& text);

}  // namespace ilvex::py
