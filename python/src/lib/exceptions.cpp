#include "exceptions.hpp"

#include <stdexcept>

namespace ilvex::py {
namespace {

// The process-wide exception types; the interpreter lock serialises their
// one-time creation.
PyObject* error_type = nullptr;
PyObject* panic_type = nullptr;

PyObject* panic_exception_type() {
    if (panic_type == nullptr) {
        panic_type = PyErr_NewExceptionWithDoc(
            "ilvex.PanicException",
            "An internal invariant of ilvex failed; this is a bug, not an error in the input.",
            PyExc_BaseException, nullptr);
    }
    return panic_type;
}

}  // namespace

PyObject* ilvex_error_type() {
    if (error_type == nullptr) {
        error_type = PyErr_NewExceptionWithDoc("ilvex.IlvexError", "An ilvex error.",
                                               PyExc_Exception, nullptr);
        if (error_type == nullptr) {
            PyErr_Clear();
            throw std::runtime_error("Failed to initialize new exception type.");
        }
    }
    return error_type;
}

PyObject* core_error_to_py(const Error& error) { return binding_error(error_message(error)); }

PyObject* binding_error(const std::string& message) {
    PyObject* text = PyUnicode_FromStringAndSize(message.data(), static_cast<Py_ssize_t>(message.size()));
    if (text == nullptr) return nullptr;
    PyErr_SetObject(ilvex_error_type(), text);
    Py_DECREF(text);
    return nullptr;
}

PyObject* not_implemented(const char* function) {
    PyErr_Format(PyExc_NotImplementedError, "%s is not available in this build of ilvex", function);
    return nullptr;
}

void raise_panic(const char* message) noexcept {
    PyObject* type = panic_exception_type();
    if (type == nullptr) return;  // the interpreter's own failure stays pending
    PyErr_SetString(type, message);
}

}  // namespace ilvex::py
