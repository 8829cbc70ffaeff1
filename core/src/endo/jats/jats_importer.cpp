#include "endo/jats/jats_importer.hpp"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dialektos/unicode.hpp"
#include "endo/jats/jats_content.hpp"
#include "endo/jats/jats_references.hpp"
#include "endo/jats/jats_walk.hpp"
#include "endo/tree_builders.hpp"

namespace ilvex {
namespace {

constexpr std::string_view litogramma = "litogramma";
constexpr std::string_view title_symbol = "=";
constexpr std::string_view author_symbol = "=:";
constexpr std::string_view abstract_symbol = "=\"";

// The parts of a contributor's name as they are read.
struct ContribName {
    std::string surname;
    std::string given_names;
    std::string string_name;

    std::string name() const {
        if (!string_name.empty()) return string_name;
        if (given_names.empty()) return surname;
        return one_line(given_names + " " + surname);
    }
};

class DocumentReader {
public:
    DocumentReader(std::string_view text, ImportSink& sink) : walk_(text), sink_(sink) {}

    // A converter's error may come before a tokenizer error further on; the
    // tokenizer's is reported, as the whole text would be tokenized first.
    Status read() {
        for (std::size_t i = 0;;) {
            walk_.tokens.release(i);
            Result<const XmlToken*> at = walk_.tokens.at(i);
            if (!at) return std::move(at).error();
            if (*at == nullptr) break;
            Result<std::size_t> next = top_level(i, **at);
            if (!next) return walk_.tokens.first_error(std::move(next).error());
            i = *next;
        }
        references_.write(sink_);
        return {};
    }

private:
    Result<std::size_t> top_level(std::size_t i, const XmlToken& token) {
        if (const auto* text = std::get_if<XmlText>(&token); text && unicode::trim(text->text).empty()) {
            return i + 1;
        }
        if (const auto* end = std::get_if<XmlClose>(&token); end && end->name == "article") return i + 1;
        const auto* open = std::get_if<XmlOpen>(&token);
        if (open != nullptr && open->name == "article") return i + 1;
        if (open != nullptr && open->name == "front") return front(i + 1, *open);
        if (open != nullptr && open->name == "body") return body(i + 1, *open);
        if (open != nullptr && open->name == "back") return references_.read_back(walk_, i + 1, *open);
        return walk_.error("unexpected " + format_xml_token(token) + " at document level");
    }

    Result<std::size_t> body(std::size_t start, const XmlOpen& open) {
        if (open.self_closing) return start;
        // The blocks go to the sink as they are completed.
        Result<JatsBlocks> content = convert_jats_blocks(walk_, start, "body", 0, &sink_);
        if (!content) return std::move(content).error();
        return content->next;
    }

    // Only the title, the contributors and the abstract are read, at any
    // depth; the rest of the front matter is passed over.
    Result<std::size_t> front(std::size_t start, const XmlOpen& open) {
        if (open.self_closing) return start;
        std::size_t depth = 1;
        for (std::size_t i = start;;) {
            walk_.tokens.release(i);
            Result<const XmlToken*> at = walk_.tokens.at(i);
            if (!at) return std::move(at).error();
            if (*at == nullptr) break;
            const XmlToken& token = **at;
            if (const auto* end = std::get_if<XmlClose>(&token)) {
                if (end->name == "front" && --depth == 0) return i + 1;
                ++i;
                continue;
            }
            const auto* element = std::get_if<XmlOpen>(&token);
            if (element == nullptr) {
                ++i;
                continue;
            }
            if (element->name == "front" && !element->self_closing) ++depth;
            Result<std::size_t> next = front_element(i + 1, *element);
            if (!next) return std::move(next).error();
            i = *next;
        }
        return walk_.error("unterminated <front>");
    }

    Result<std::size_t> front_element(std::size_t start, const XmlOpen& open) {
        if (open.name == "article-title") return article_title(start, open);
        if (open.name == "contrib") return contributor(start, open);
        if (open.name == "abstract") return abstract(start, open);
        return start;
    }

    // The notes of the title follow it, so that each callout has its note.
    Result<std::size_t> article_title(std::size_t start, const XmlOpen& open) {
        if (open.self_closing) return start;
        Result<JatsInlines> content = convert_jats_inlines(walk_, start, open.name);
        if (!content) return std::move(content).error();
        if (!content->inlines.empty()) sink_.block(single_sim_paragraph(title_symbol, std::move(content->inlines)));
        emit(std::move(content->notes));
        return content->next;
    }

    Result<std::size_t> contributor(std::size_t start, const XmlOpen& open) {
        if (open.self_closing) return start;
        ContribName parts;
        for (std::size_t i = start;;) {
            Result<const XmlToken*> at = walk_.tokens.at(i);
            if (!at) return std::move(at).error();
            if (*at == nullptr) break;
            const XmlToken& token = **at;
            if (const auto* end = std::get_if<XmlClose>(&token); end && end->name == "contrib") {
                add_author(parts.name());
                return i + 1;
            }
            const auto* part = std::get_if<XmlOpen>(&token);
            std::string* slot = part == nullptr                  ? nullptr
                                : part->name == "surname"        ? &parts.surname
                                : part->name == "given-names"    ? &parts.given_names
                                : part->name == "string-name"    ? &parts.string_name
                                                                 : nullptr;
            if (slot == nullptr) {
                ++i;
                continue;
            }
            Result<ElementText> content = walk_.tokens.text_only(i + 1, *part);
            if (!content) return std::move(content).error();
            *slot = one_line(content->text);
            i = content->next;
        }
        return walk_.error("unterminated <contrib>");
    }

    void add_author(std::string name) {
        if (name.empty()) return;
        std::vector<Inline> inlines;
        inlines.emplace_back(Inline::Text{std::move(name)});
        sink_.block(single_sim_paragraph(author_symbol, std::move(inlines)));
    }

    Result<std::size_t> abstract(std::size_t start, const XmlOpen& open) {
        JatsBlocks content{{}, start};
        if (!open.self_closing) {
            Result<JatsBlocks> converted = convert_jats_blocks(walk_, start, open.name, 0);
            if (!converted) return std::move(converted).error();
            content = std::move(converted).value();
        }
        Block::Para block;
        block.symbol = std::string(abstract_symbol);
        block.children = released_blocks(std::move(content.blocks));
        block.taxis = Taxis::absent();
        sink_.block(std::move(block));
        return content.next;
    }

    void emit(std::vector<Block> blocks) {
        for (Block& block : blocks) sink_.block(std::move(block));
    }

    JatsWalk walk_;
    ImportSink& sink_;
    JatsReferences references_;
};

}  // namespace

Status import_jats(std::string_view text, ImportSink& sink) {
    if (Status declared = sink.declaration(litogramma, std::nullopt); !declared) return declared;
    return DocumentReader(text, sink).read();
}

Result<Document> import_jats(std::string_view text) {
    DocumentCollector collector;
    if (Status imported = import_jats(text, collector); !imported) return std::move(imported).error();
    return std::move(collector).document();
}

}  // namespace ilvex
