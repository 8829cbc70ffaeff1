#include "endo/tei/tei_header.hpp"

#include <optional>
#include <string_view>
#include <utility>

#include "endo/tei/tei_walk.hpp"
#include "endo/tei/tei_inlines.hpp"
#include "endo/tree_builders.hpp"
#include "endo/xml/xml_walk.hpp"

namespace ilvex {
namespace {

bool opens(const XmlToken& token, std::string_view name) {
    const auto* open = std::get_if<XmlOpen>(&token);
    return open != nullptr && !open->self_closing && open->name == name;
}

// Whether the title statement of the header from `start` on names a main
// title. Only the title statement counts: a main title of a source
// description is another work's.
bool has_main_title(TeiTokens& tokens, std::size_t start) {
    std::size_t header = 1, statement = 0;
    for (std::size_t i = start; tokens.has(i) && header > 0; ++i) {
        if (opens(tokens[i], "teiHeader")) ++header;
        if (tei_walk::is_close(tokens[i], "teiHeader")) --header;
        if (opens(tokens[i], "titleStmt")) ++statement;
        if (tei_walk::is_close(tokens[i], "titleStmt") && statement > 0) --statement;
        const auto* open = std::get_if<XmlOpen>(&tokens[i]);
        if (statement > 0 && open != nullptr && open->name == "title" &&
            attribute_value(open->attrs, "type") == std::string_view("main")) {
            return true;
        }
    }
    return false;
}

// The symbol of a title's paragraph, or nothing when a main title elsewhere
// in the statement leaves it out.
std::optional<std::string_view> title_symbol(std::optional<std::string_view> type, bool main_title) {
    if (type == std::string_view("sub")) return "=_";
    if (!main_title || type == std::string_view("main")) return "=";
    return std::nullopt;
}

}  // namespace

Result<std::size_t> import_tei_header(TeiContext& context, std::size_t start, std::vector<Block>& blocks) {
    TeiTokens& tokens = context.tokens;
    const bool main_title = has_main_title(tokens, start);
    for (std::size_t i = start; tokens.has(i);) {
        if (tei_walk::is_close(tokens[i], "teiHeader")) return i + 1;
        const auto* open = std::get_if<XmlOpen>(&tokens[i]);
        if (open == nullptr || open->self_closing || open->name == "titleStmt" || open->name == "fileDesc") {
            ++i;
            continue;
        }
        std::optional<std::string_view> symbol;
        if (open->name == "title") {
            symbol = title_symbol(attribute_value(open->attrs, "type"), main_title);
        } else if (open->name == "author") {
            symbol = "=:";
        } else if (open->name == "editor") {
            symbol = "=;";
        } else {
            Result<std::size_t> next = tokens.skip(i + 1, open->name);
            if (!next) return next;
            i = *next;
            continue;
        }
        // A header keeps no note bodies, so its notes leave nothing.
        Result<TeiInlines> content = tei_element_inlines_without_notes(context, i);
        if (!content) return std::move(content).error();
        if (symbol) blocks.push_back(single_sim_paragraph(*symbol, std::move(content->inlines)));
        i = content->next;
    }
    return context.error("unterminated <teiHeader>");
}

}  // namespace ilvex
