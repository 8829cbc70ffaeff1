#include "endo/import_errors.hpp"

#include <string>
#include <utility>

namespace ilvex {
namespace {

Error prefixed(ErrorKind kind, std::string_view prefix, std::string_view message) {
    std::string payload(prefix);
    payload += message;
    return Error(kind, std::move(payload));
}

}  // namespace

Error tei_import_error(std::string_view message) {
    return prefixed(ErrorKind::MissingResource, "tei import: ", message);
}

Error docbook_import_error(std::string_view message) {
    return prefixed(ErrorKind::MissingResource, "docbook import: ", message);
}

Error jats_import_error(std::string_view message) {
    return prefixed(ErrorKind::MissingResource, "jats import: ", message);
}

Error usfm_import_error(std::string_view message) {
    return prefixed(ErrorKind::MissingResource, "usfm import: ", message);
}

Error usx_import_error(std::string_view message) {
    return prefixed(ErrorKind::MissingResource, "usx import: ", message);
}

Error osis_import_error(std::string_view message) {
    return prefixed(ErrorKind::MissingResource, "osis import: ", message);
}

Error djot_import_error(std::string_view message) {
    return prefixed(ErrorKind::MissingResource, "djot import: ", message);
}

Error org_import_error(std::string_view message) {
    return prefixed(ErrorKind::MissingResource, "org import: ", message);
}

Error bibtex_import_error(std::string_view message) {
    return prefixed(ErrorKind::MissingResource, "bibtex import: ", message);
}

Error html_import_error(std::string_view message) {
    return prefixed(ErrorKind::Other, "html import: ", message);
}

Error rst_import_error(std::string_view message) {
    return prefixed(ErrorKind::Other, "rst import: ", message);
}

}  // namespace ilvex
