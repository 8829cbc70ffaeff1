#include "lib/check_entry.hpp"

#include <optional>
#include <utility>

#include "dialektos/resolution.hpp"
#include "dialektos/unicode.hpp"
#include "parser/block_parser.hpp"

namespace ilvex {
namespace {

struct ParseOptions {
    bool collect_records = false;
    bool keep_top_level_blocks = true;
};

Result<ParsedDocument> parse_document_with(std::string_view text, std::string_view path,
                                           ParseOptions options) {
    auto prepared = prepare_document(text, path);
    if (!prepared) return std::move(prepared).error();
    auto& [declaration, state] = *prepared;
    state.collect_records = options.collect_records;
    state.keep_top_level_blocks = options.keep_top_level_blocks;
    auto dialektos = resolve_from_dir(state.dir, declaration.id);
    if (!dialektos) return std::move(dialektos).error();
    auto blocks = parse_blocks(state, *dialektos, std::nullopt);
    if (!blocks) return std::move(blocks).error();
    return ParsedDocument{Document{std::move(declaration.id), std::move(declaration.version),
                                   std::move(blocks).value()},
                          std::move(state.records), std::move(dialektos).value()};
}

// The check entry's routing: a definition file goes to its own parser,
// anything else, in NFC, to `parse_text`. Most texts are in NFC already and
// are parsed in place, without a copy.
template <class OnDefinition, class ParseText>
auto route_input(std::string_view text, std::string_view path, OnDefinition on_definition,
                 ParseText parse_text) {
    if (is_definition_text(text)) return on_definition(parse_definition_file(text, path));
    if (unicode::is_nfc(text)) return parse_text(text);
    return parse_text(unicode::nfc(text));
}

}  // namespace

Result<ParsedInput> parse_input(std::string_view text, std::string_view path) {
    auto on_definition = [](Result<Dialektos> definition) -> Result<ParsedInput> {
        if (!definition) return std::move(definition).error();
        // Filled in place: moving a whole ParsedInput into the Result trips a
        // false "may be used uninitialized" of GCC 12 at -O3.
        Result<ParsedInput> result{ParsedInput(std::in_place_type<Dialektos>)};
        std::get<Dialektos>(result.value()) = std::move(definition).value();
        return result;
    };
    return route_input(text, path, on_definition,
                       [&](std::string_view nfc_text) { return parse_document_input(nfc_text, path); });
}

Result<InputKind> check_input(std::string_view text, std::string_view path) {
    auto on_definition = [](Result<Dialektos> definition) -> Result<InputKind> {
        if (!definition) return std::move(definition).error();
        return InputKind::Dialektos;
    };
    return route_input(text, path, on_definition, [&](std::string_view nfc_text) -> Result<InputKind> {
        auto parsed = parse_document_with(nfc_text, path, {.keep_top_level_blocks = false});
        if (!parsed) return std::move(parsed).error();
        return InputKind::Document;
    });
}

Result<ParsedDocument> parse_document(std::string_view text, std::string_view path) {
    return parse_document_with(text, path, {});
}

Result<ParsedInput> parse_document_input(std::string_view text, std::string_view path) {
    auto parsed = parse_document(text, path);
    if (!parsed) return std::move(parsed).error();
    return ParsedInput(std::in_place_type<ParsedDocument>, std::move(parsed).value());
}

Result<ParsedDocument> parse_document_for_outline(std::string_view text, std::string_view path) {
    return parse_document_with(text, path, {.collect_records = true});
}

}  // namespace ilvex
