// The entry points for a text handed in by a caller: the check entry, which
// tells a definition file from a document, and the document parser.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "dendron/document.hpp"
#include "dendron/outline.hpp"
#include "dendron/writer.hpp"
#include "dialektos/model.hpp"
#include "dialektos/result.hpp"
#include "parser/declaration.hpp"
#include "parser/parser_state.hpp"

namespace ilvex {

struct ParsedDocument {
    Document document;
    // One per Para, Stichoi, Diaphane and Englossis block, in finishing order;
    // only parse_document_for_outline collects them, elsewhere this is empty.
    OutlineRecords outline_records;
    // The dialektos the declaration named, as resolved.
    Dialektos dialektos;
};

// A definition file's dialektos, or a parsed document. The document keeps
// the dialektos it was parsed with, which its writers are given.
using ParsedInput = std::variant<Dialektos, ParsedDocument>;

// Parses a definition file as one; normalizes anything else to NFC and
// parses it as a document. `path` is where the text nominally lives: its
// directory is where dialektoi are resolved, and it locates every error.
Result<ParsedInput> parse_input(std::string_view text, std::string_view path);

// Parses a document already in NFC against the dialektos it declares,
// without outline records.
Result<ParsedDocument> parse_document(std::string_view text, std::string_view path);

// Whether a caller already knows its text to be in NFC, which spares the
// entry points the check.
enum class TextForm { Unknown, Nfc };

// What a text turned out to be, for callers that only validate.
enum class InputKind { Dialektos, Document };

// parse_input without keeping what was parsed: the same answer and the same
// errors, but a document's blocks are dropped as soon as they have been read
// and no inline content is kept, so validating a large document holds next
// to nothing of it.
Result<InputKind> check_input(std::string_view text, std::string_view path, TextForm form = TextForm::Unknown);

// Resolves the dialektoi of a document's Englossis blocks, from the
// directory its own dialektos is resolved from (that of `path`).
ResolveDialektos englossis_resolver(std::string_view path);

// The brachygraphic text of a document (as write_document gives it, with
// the dialektos it was parsed with and Englossis dialektoi resolved beside
// it), written block by block as the parse goes, so the tree is never held
// whole; nothing for a definition file, once it has parsed without error.
// With a `sink`, the text goes there in pieces (see DocumentWriter) and the
// text returned is empty. `done` is told how far `text` has been read for
// good, as the parse goes.
Result<std::optional<std::string>> write_brachy(std::string_view text, std::string_view path,
                                                const TextSink& sink = {}, TextForm form = TextForm::Unknown,
                                                const TextDone& done = {});

// The plerographic text of a document (as render_plero gives it of the
// parsed tree), named and written block by block as the parse goes; nothing
// for a definition file, once it has parsed without error. An error of the
// document comes before a missing glossa, which comes before a sim that
// cannot be named. A `sink` and `done` are as for write_brachy.
Result<std::optional<std::string>> write_plero(std::string_view text, std::string_view path,
                                               std::optional<std::string_view> lang, const TextSink& sink = {},
                                               TextForm form = TextForm::Unknown, const TextDone& done = {});

// parse_document, as a ParsedInput.
Result<ParsedInput> parse_document_input(std::string_view text, std::string_view path);

// parse_document for the outline, which normalizes the text itself: the
// same document, with its outline records.
Result<ParsedDocument> parse_document_for_outline(std::string_view text, std::string_view path);

// The outline of a document in NFC (as build_outline gives it of
// parse_document_for_outline's parse), built block by block as the parse
// goes, so the tree is never held whole.
Result<Outline> outline_document(std::string_view text, std::string_view path);

}  // namespace ilvex
