#include "endo/tei/tei_importer.hpp"

#include <algorithm>
#include <utility>
#include <vector>

#include "endo/tei/tei_context.hpp"
#include "endo/tei/tei_dictionary_frame.hpp"
#include "endo/tei/tei_prose_frame.hpp"
#include "endo/xml/xml_tokenizer.hpp"

namespace ilvex {
namespace {

// Numbered divisions ("div1" to "div9") are divisions like any other: their
// level comes from their nesting.
void rename_numbered_divisions(std::vector<XmlToken>& tokens) {
    const auto numbered = [](std::string& name) {
        if (name.size() == 4 && name.starts_with("div") && name[3] >= '0' && name[3] <= '9') name = "div";
    };
    for (XmlToken& token : tokens) {
        if (auto* open = std::get_if<XmlOpen>(&token)) numbered(open->name);
        if (auto* close = std::get_if<XmlClose>(&token)) numbered(close->name);
    }
}

// One entry anywhere makes the text a dictionary.
bool is_dictionary(const std::vector<XmlToken>& tokens) {
    return std::any_of(tokens.begin(), tokens.end(), [](const XmlToken& token) {
        const auto* open = std::get_if<XmlOpen>(&token);
        return open != nullptr && open->name == "entry";
    });
}

}  // namespace

Result<Document> import_tei(std::string_view text) {
    Result<std::vector<XmlToken>> tokens = tokenize_xml(text);
    if (!tokens) return std::move(tokens).error();
    rename_numbered_divisions(*tokens);
    const bool dictionary = is_dictionary(*tokens);
    TeiContext context(*tokens);
    Result<std::vector<Block>> blocks = dictionary ? import_tei_dictionary(context) : import_tei_prose(context);
    if (!blocks) return std::move(blocks).error();
    return Document{dictionary ? "lexigramma" : "litogramma", std::nullopt, std::move(blocks).value()};
}

Status import_tei(std::string_view text, ImportSink& sink) {
    Result<Document> document = import_tei(text);
    if (!document) return std::move(document).error();
    if (Status declared = sink.declaration(document->dialektos, document->version); !declared) return declared;
    // Each block is let go once handed over, so the tree shrinks as the
    // sink's output grows.
    for (Block& block : document->blocks) {
        Block handed = std::move(block);
        sink.block(std::move(handed));
    }
    return {};
}

}  // namespace ilvex
