// dialektos, std_dialektoi and version.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "arguments.hpp"
#include "exceptions.hpp"
#include "dialektos/memory_source.hpp"
#include "dialektos/resolution.hpp"
#include "dialektos/serialization.hpp"
#include "dialektos/std_library.hpp"
#include "functions.hpp"
#include "lib/version.hpp"
#include "lock_release.hpp"

namespace ilvex::py {

PyObject* version(PyObject*, PyObject*) {
    return PyUnicode_FromStringAndSize(ilvex::version.data(),
                                       static_cast<Py_ssize_t>(ilvex::version.size()));
}

PyObject* dialektos(PyObject*, PyObject* args, PyObject* kwargs) {
    return trap_panics([&]() -> PyObject* {
        static const char* keywords[] = {"id", "dir", "sources", nullptr};
        PyObject* id_object = nullptr;
        PyObject* dir_object = nullptr;
        PyObject* sources_object = nullptr;
        if (!PyArg_ParseTupleAndKeywords(args, kwargs, "O|OO:dialektos", const_cast<char**>(keywords),
                                         &id_object, &dir_object, &sources_object)) {
            return nullptr;
        }
        std::string id;
        std::optional<std::string> dir;
        std::optional<std::map<std::string, std::string>> sources;
        if (!convert_str(id_object, "id", id) || !convert_optional_str(dir_object, "dir", dir) ||
            !convert_optional_str_dict(sources_object, "sources", sources)) {
            return nullptr;
        }
        if (dir && sources) return binding_error("dir and sources are mutually exclusive");
        using Files = std::map<std::string, std::string>;
        // Reading files is worth releasing the lock for, whatever their size.
        std::size_t work_size = dir ? LockRelease::threshold : 0;
        if (sources) {
            for (const auto& [name, text] : *sources) work_size += text.size();
        }
        Result<std::string> serialized = without_lock(work_size, [&]() -> Result<std::string> {
            Result<Dialektos> resolved =
                dir ? resolve_from_dir(*dir, id)
                    : resolve_from_sources(MemorySource(std::move(sources).value_or(Files{})), id);
            if (!resolved) return std::move(resolved).error();
            return serialize_dialektos(resolved.value());
        });
        if (!serialized) return core_error_to_py(serialized.error());
        return to_py_str(serialized.value());
    });
}

PyObject* std_dialektoi(PyObject*, PyObject*) {
    return trap_panics([]() -> PyObject* {
        const std::vector<std::string> ids = std_dialektos_ids();
        PyObject* list = PyList_New(static_cast<Py_ssize_t>(ids.size()));
        if (list == nullptr) return nullptr;
        for (std::size_t i = 0; i < ids.size(); ++i) {
            PyObject* id = to_py_str(ids[i]);
            if (id == nullptr) {
                Py_DECREF(list);
                return nullptr;
            }
            PyList_SET_ITEM(list, static_cast<Py_ssize_t>(i), id);
        }
        return list;
    });
}

}  // namespace ilvex::py
