// Binding of module-function arguments: conversion of bound Python objects
// into owned values. Each conversion that fails leaves a pending exception
// carrying the note "while processing '<name>'" and returns false.
#pragma once

#include <Python.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "byte_buffer.hpp"

namespace ilvex::py {

// A `str`, copied as UTF-8.
bool convert_str(PyObject* object, const char* name, std::string& out);

// A `str`'s text as UTF-8 for a call that only reads it: the `str`'s own
// characters when it is ASCII (a view, valid while the object lives);
// otherwise encoded into `storage`, which `out` then views and which the
// call may release as soon as it is done with the text. The interpreter's
// own UTF-8 copy, which would stay attached to the caller's `str` for its
// life, is never made. A lone surrogate leaves the interpreter's
// UnicodeEncodeError, for the whole text.
bool borrow_text(PyObject* object, const char* name, ByteBuffer& storage, std::string_view& out);

// A document's text as borrow_text gives it, but in NFC: encoded and
// normalized line group by line group, so that a text that is not in NFC is
// held once, normalized, rather than also as it came.
bool borrow_document_text(PyObject* object, const char* name, ByteBuffer& storage, std::string_view& out);

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
