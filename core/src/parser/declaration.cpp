#include "parser/declaration.hpp"

#include <utility>

#include "dialektos/lexical.hpp"
#include "dialektos/unicode.hpp"
#include "parser/document_lines.hpp"

namespace ilvex {
namespace {

constexpr std::string_view meta_dialektos = "ilvex";

bool starts_with_declaration_sigils(std::string_view line) {
    return line.starts_with("@@@!") || line.starts_with("\\\\\\!");
}

// One or two non-empty runs of ASCII digits joined by one ".".
bool is_valid_version(std::string_view version) {
    int parts = 1;
    std::size_t run = 0;
    for (const char c : version) {
        if (c == '.') {
            if (run == 0 || ++parts > 2) return false;
            run = 0;
        } else if (c >= '0' && c <= '9') {
            ++run;
        } else {
            return false;
        }
    }
    return run > 0;
}

// The line of the standard split (see split_standard_lines) that begins at
// `start`, where a line of `text` begins.
std::string_view standard_line_at(std::string_view text, std::size_t start) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) return text.substr(start);
    std::string_view line = text.substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    return line;
}

Error declaration_error(std::string payload, std::string_view path, std::size_t index) {
    return Error(ErrorKind::InvalidDeclaration, std::move(payload))
        .at(std::string(path), index + 1);
}

}  // namespace

bool is_definition_text(std::string_view text) {
    // Only the first line, or the second after a "#!" line, can hold the
    // declaration: nothing else of the text is looked at.
    std::size_t start = 0;
    if (text.starts_with("#!")) {
        const std::size_t first_end = text.find('\n');
        if (first_end == std::string_view::npos) return false;
        start = first_end + 1;
    }
    if (start >= text.size()) return false;
    const std::string_view trimmed = unicode::trim(standard_line_at(text, start));
    if (!starts_with_declaration_sigils(trimmed)) return false;
    const std::string_view rest = trimmed.substr(4);
    return rest.substr(0, rest.find('@')) == meta_dialektos;
}

Result<PreparedDocument> prepare_document(std::string_view text, std::string_view path) {
    DocumentLines lines(text);
    if (!lines.has(0)) return Error(ErrorKind::MissingDeclaration);
    const std::size_t index = lines[0].starts_with("#!") ? 1 : 0;
    if (!lines.has(index)) return Error(ErrorKind::MissingDeclaration);

    const std::string_view line = lines[index];
    if (!starts_with_declaration_sigils(line)) {
        return Error(ErrorKind::MissingDeclaration).at(std::string(path), index + 1);
    }
    const std::string_view rest = unicode::trim_end(line.substr(4));
    const std::size_t at = rest.find('@');
    DocumentDeclaration declaration{std::string(rest.substr(0, at)), std::nullopt};
    if (at != std::string_view::npos) declaration.version = std::string(rest.substr(at + 1));
    if (!is_valid_name(declaration.id) ||
        (declaration.version && !is_valid_version(*declaration.version))) {
        return declaration_error(std::string(rest), path, index);
    }
    if (declaration.id == meta_dialektos) {
        return declaration_error(
            "`ilvex` declares a dialektos definition file, not a document; process it as a "
            "definition",
            path, index);
    }

    ParserState state;
    state.backslash = line[0] == '\\';
    // The body begins after the declaration, which is never read again.
    lines.drop_before(index + 1);
    state.lines = std::move(lines);
    state.path = std::string(path);
    state.dir = document_directory(path);
    state.pos = index + 1;
    return PreparedDocument{std::move(declaration), std::move(state)};
}

}  // namespace ilvex
