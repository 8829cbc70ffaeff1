#include "endo/tei/tei_notes.hpp"

#include <string>
#include <utility>

#include "endo/tei/tei_inlines.hpp"
#include "endo/tei/tei_tokens.hpp"
#include "endo/tei/tei_verse.hpp"
#include "endo/whitespace.hpp"

namespace ilvex {
namespace {

bool is_empty_body(const std::vector<Block>& blocks) {
    for (const Block& block : blocks) {
        const auto* paragraph = std::get_if<Block::Paragraph>(&block.node);
        if (paragraph == nullptr || !paragraph->inlines.empty()) return false;
    }
    return true;
}

void append(std::vector<Block>& to, std::vector<Block>&& from) {
    for (Block& block : from) to.push_back(std::move(block));
}

}  // namespace

Result<TeiBlocks> import_tei_note_body(TeiContext& context, std::size_t start) {
    Result<NestingDepth::Level> level = context.import.enter();
    if (!level) return std::move(level).error();
    TeiTokens& tokens = context.tokens;
    TeiBlocks body;
    std::size_t i = start;
    while (true) {
        i = skip_blank_texts(tokens, i);
        if (!tokens.has(i)) return tei_unterminated_error("note");
        const XmlToken& token = tokens[i];
        if (const auto* close = std::get_if<XmlClose>(&token); close != nullptr && close->name == "note") {
            body.next = i + 1;
            break;
        }
        const auto* open = std::get_if<XmlOpen>(&token);
        if (open != nullptr && (open->name == "p" || open->name == "span")) {
            Result<TeiInlines> content = tei_element_inlines(context, i);
            if (!content) return std::move(content).error();
            trim_inlines(content->inlines);
            body.blocks.emplace_back(Block::Paragraph{std::move(content->inlines)});
            append(body.blocks, std::move(content->blocks));
            i = content->next;
            continue;
        }
        if (open != nullptr && open->name == "lg") {
            Result<TeiLineGroup> group = tei_element_line_group(context, i);
            if (!group) return std::move(group).error();
            if (group->stichoi) body.blocks.push_back(std::move(*group->stichoi));
            append(body.blocks, std::move(group->blocks));
            i = group->next;
            continue;
        }
        // The rest of the note is one run of text.
        Result<TeiInlines> rest = import_tei_inlines(context, i, "note");
        if (!rest) return std::move(rest).error();
        append(body.blocks, std::move(rest->blocks));
        trim_inlines(rest->inlines);
        if (!rest->inlines.empty()) body.blocks.emplace_back(Block::Paragraph{std::move(rest->inlines)});
        body.next = rest->next;
        break;
    }
    if (body.blocks.empty()) body.blocks.emplace_back(Block::Paragraph{});
    return body;
}

Result<TeiNote> import_tei_note(TeiContext& context, std::size_t start, bool keep_empty) {
    const std::uint64_t before = context.notes;
    ++context.notes;
    std::string name = "n";
    name += std::to_string(context.notes);
    Result<TeiBlocks> body = import_tei_note_body(context, start);
    if (!body) return std::move(body).error();
    TeiNote note{Inline::Deixis{"^", name, {}}, std::nullopt, body->next};
    if (!keep_empty && is_empty_body(body->blocks)) {
        context.notes = before;
        return note;
    }
    note.footnote = Block::Para{true, "^", {}, std::move(body->blocks), {}, Suffix{name, {}}, Taxis::absent()};
    return note;
}

}  // namespace ilvex
