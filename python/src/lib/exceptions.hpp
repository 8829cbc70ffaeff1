// The module's exception types and the raising of core failures.
#pragma once

#include <Python.h>

#include <exception>
#include <new>
#include <string>

#include "dialektos/error.hpp"

namespace ilvex::py {

// "ilvex.IlvexError", created on first request and kept for the process.
// Null with a pending exception only when the interpreter refuses the type.
PyObject* ilvex_error_type();

// Raises IlvexError with the error's text; returns null for the caller to return.
PyObject* core_error_to_py(const Error& error);

// Raises IlvexError with one of the binding's own fixed messages.
PyObject* binding_error(const std::string& message);

// Raises NotImplementedError for a function whose body is not part of the module yet.
PyObject* not_implemented(const char* function);

// Raises the BaseException-derived panic exception carrying the message.
void raise_panic(const char* message) noexcept;

// Runs a function body; an exception escaping the core becomes a pending
// Python exception (MemoryError for an allocation failure, otherwise the
// panic exception), so nothing unwinds into the interpreter.
template <class Body>
PyObject* trap_panics(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return PyErr_NoMemory();
    } catch (const std::exception& failure) {
        raise_panic(failure.what());
    } catch (...) {
        raise_panic("internal failure of unknown type");
    }
    return nullptr;
}

}  // namespace ilvex::py
