#include "lib/check_entry.hpp"

#include <optional>
#include <utility>

#include "dialektos/resolution.hpp"
#include "dialektos/unicode.hpp"
#include "parser/block_parser.hpp"

namespace ilvex {

Result<ParsedInput> parse_input(std::string_view text, std::string_view path) {
    if (is_definition_text(text)) {
        auto definition = parse_definition_file(text, path);
        if (!definition) return std::move(definition).error();
        // Filled in place: moving a whole ParsedInput into the Result trips a
        // false "may be used uninitialized" of GCC 12 at -O3.
        Result<ParsedInput> result{ParsedInput(std::in_place_type<Dialektos>)};
        std::get<Dialektos>(result.value()) = std::move(definition).value();
        return result;
    }
    // Most texts are in NFC already: they are parsed in place, without a copy.
    if (unicode::is_nfc(text)) return parse_document_input(text, path);
    return parse_document_input(unicode::nfc(text), path);
}

namespace {

Result<ParsedDocument> parse_document_with(std::string_view text, std::string_view path,
                                           bool collect_records) {
    auto prepared = prepare_document(text, path);
    if (!prepared) return std::move(prepared).error();
    auto& [declaration, state] = *prepared;
    state.collect_records = collect_records;
    auto dialektos = resolve_from_dir(state.dir, declaration.id);
    if (!dialektos) return std::move(dialektos).error();
    auto blocks = parse_blocks(state, *dialektos, std::nullopt);
    if (!blocks) return std::move(blocks).error();
    return ParsedDocument{Document{std::move(declaration.id), std::move(declaration.version),
                                   std::move(blocks).value()},
                          std::move(state.records), std::move(dialektos).value()};
}

}  // namespace

Result<ParsedDocument> parse_document(std::string_view text, std::string_view path) {
    return parse_document_with(text, path, false);
}

Result<ParsedInput> parse_document_input(std::string_view text, std::string_view path) {
    auto parsed = parse_document(text, path);
    if (!parsed) return std::move(parsed).error();
    return ParsedInput(std::in_place_type<ParsedDocument>, std::move(parsed).value());
}

Result<ParsedDocument> parse_document_for_outline(std::string_view text, std::string_view path) {
    return parse_document_with(text, path, true);
}

}  // namespace ilvex
