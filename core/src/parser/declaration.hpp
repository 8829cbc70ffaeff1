// The declaration line: how a text says whether it is a definition file or
// a document, and which dialektos a document is written in.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "dialektos/result.hpp"
#include "parser/parser_state.hpp"

namespace ilvex {

// Whether the text declares the meta-dialektos: its first line (the second
// after a "#!" line), trimmed, is "@@@!ilvex" or its backslash spelling,
// optionally followed by "@" and a version.
bool is_definition_text(std::string_view text);

struct DocumentDeclaration {
    std::string id;
    std::optional<std::string> version;  // one or two dot-separated digit runs
};

// A document whose declaration has been read: the parser state is ready for
// the block parser, positioned after the declaration, whose line (and a
// "#!" line before it) is dropped; line numbers stay those of the text.
struct PreparedDocument {
    DocumentDeclaration declaration;
    ParserState state;
};

// Reads the declaration of `text` (already in NFC); refuses a missing or
// malformed declaration and the meta-dialektos. Resolves nothing. The
// state's lines view `text`, which must outlive the parse.
Result<PreparedDocument> prepare_document(std::string_view text, std::string_view path);

}  // namespace ilvex
