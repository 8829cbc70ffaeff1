#include "endo/docbook/docbook_importer.hpp"

#include <optional>
#include <string>
#include <utility>

#include "dialektos/unicode.hpp"
#include "endo/docbook/docbook_converter.hpp"
#include "endo/docbook/docbook_tokens.hpp"
#include "endo/import_context.hpp"
#include "endo/import_errors.hpp"
#include "endo/tree_builders.hpp"

namespace ilvex {
namespace {

constexpr std::string_view docbook_dialektos = "il-docbook";
constexpr std::string_view document_title_symbol = "=";

bool is_root(std::string_view name) { return name == "book" || name == "article" || name == "chapter"; }

// Hands a root's blocks to the sink as they come; the first, when it is a
// title, as the document title. Every other title stays a plain paragraph.
class RootOutput {
public:
    explicit RootOutput(ImportSink& sink) : sink_(sink) {}

    void flush(MarkedBlocks& blocks) {
        if (blocks.blocks().empty()) return;
        if (!started_) {
            started_ = true;
            if (auto title = take_docbook_title(blocks)) {
                sink_.block(single_sim_paragraph(document_title_symbol, std::move(*title)));
            }
        }
        for (Block& block : std::move(blocks).release()) sink_.block(std::move(block));
        blocks = MarkedBlocks();
    }

private:
    ImportSink& sink_;
    bool started_ = false;
};

Status import_root(const XmlOpen& root, DocbookConverter& converter, ImportContext& context, ImportSink& sink) {
    Result<NestingDepth::Level> level = context.enter();
    if (!level) return std::move(level).error();
    if (root.self_closing) return {};
    RootOutput output(sink);
    MarkedBlocks content;
    return converter.import_docbook_blocks(root.name, content,
                                           [&output](MarkedBlocks& blocks) { output.flush(blocks); });
}

// Blank text and roots, one after another.
Status import_roots(DocbookTokens& tokens, ImportSink& sink) {
    ImportContext context(docbook_import_error);
    DocbookConverter converter(tokens, context);
    while (true) {
        Result<std::optional<XmlToken>> token = tokens.next();
        if (!token) return std::move(token).error();
        if (!token->has_value()) return {};
        const XmlToken& next = **token;
        if (const auto* text = std::get_if<XmlText>(&next); text && unicode::trim(text->text).empty()) continue;
        const auto* open = std::get_if<XmlOpen>(&next);
        if (open == nullptr || !is_root(open->name)) {
            return context.error(joined({"unexpected ", format_xml_token(next), " at document level"}));
        }
        if (Status imported = import_root(*open, converter, context, sink); !imported) return imported;
    }
}

}  // namespace

Status import_docbook(std::string_view text, ImportSink& sink) {
    if (Status declared = sink.declaration(docbook_dialektos, std::nullopt); !declared) return declared;
    DocbookTokens tokens(text);
    if (Status imported = import_roots(tokens, sink); !imported) {
        return tokens.first_error(std::move(imported).error());
    }
    return {};
}

Result<Document> import_docbook(std::string_view text) {
    DocumentCollector collector;
    if (Status imported = import_docbook(text, collector); !imported) return std::move(imported).error();
    return std::move(collector).document();
}

}  // namespace ilvex
