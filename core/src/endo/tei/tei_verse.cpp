#include "endo/tei/tei_verse.hpp"

#include <string>
#include <utility>

#include "endo/tei/tei_blocks.hpp"
#include "endo/tei/tei_inlines.hpp"
#include "endo/tei/tei_notes.hpp"
#include "endo/tei/tei_tokens.hpp"
#include "endo/whitespace.hpp"

namespace ilvex {
namespace {

void append(std::vector<Block>& to, std::vector<Block>&& from) {
    for (Block& block : from) to.push_back(std::move(block));
}

Error unsupported(const TeiContext& context, std::size_t i, std::string_view where) {
    return context.error("unsupported " + format_xml_token(context.tokens[i]) + " in " + std::string(where));
}

bool closes(const XmlToken& token, std::string_view name) {
    const auto* close = std::get_if<XmlClose>(&token);
    return close != nullptr && close->name == name;
}

// Strophes being filled line by line.
class StropheList {
public:
    void line(std::vector<Inline> inlines) { current_.push_back(std::move(inlines)); }

    void finish() {
        if (!current_.empty()) done_.push_back(std::move(current_));
        current_.clear();
    }

    // Puts `item` at the end of the latest line, or on a line of its own
    // when there is none yet.
    void attach(Inline item) {
        if (!current_.empty()) {
            current_.back().push_back(std::move(item));
        } else if (!done_.empty()) {
            done_.back().back().push_back(std::move(item));
        } else {
            current_.push_back({std::move(item)});
        }
    }

    void append(std::vector<Strophe>&& strophes) {
        for (Strophe& strophe : strophes) done_.push_back(std::move(strophe));
    }

    std::vector<Strophe> release() && {
        finish();
        return std::move(done_);
    }

private:
    Strophe current_;
    std::vector<Strophe> done_;
};

struct GroupParts {
    std::vector<Inline> lemma;
    std::vector<Block> head_blocks;  // the note bodies of the head
    std::vector<Strophe> strophes;
    std::vector<Block> blocks;
    std::size_t next = 0;
};

Result<GroupParts> line_group_parts(TeiContext& context, std::size_t start) {
    Result<NestingDepth::Level> level = context.import.enter();
    if (!level) return std::move(level).error();
    TeiTokens& tokens = context.tokens;
    GroupParts group;
    StropheList strophes;
    std::size_t i = start;
    while (true) {
        i = skip_blank_texts(tokens, i);
        if (!tokens.has(i)) return tei_unterminated_error("lg");
        const XmlToken& token = tokens[i];
        if (closes(token, "lg")) {
            group.strophes = std::move(strophes).release();
            group.next = i + 1;
            return group;
        }
        const auto* open = std::get_if<XmlOpen>(&token);
        if (open != nullptr && open->name == "l") {
            if (open->self_closing) {
                ++i;
                continue;
            }
            Result<TeiInlines> line = import_tei_inlines(context, i + 1, "l");
            if (!line) return std::move(line).error();
            strophes.line(std::move(line->inlines));
            append(group.blocks, std::move(line->blocks));
            i = line->next;
        } else if (open != nullptr && open->name == "head") {
            Result<TeiInlines> head = tei_element_inlines(context, i);
            if (!head) return std::move(head).error();
            group.lemma = std::move(head->inlines);
            group.head_blocks = std::move(head->blocks);
            i = head->next;
        } else if (open != nullptr && open->name == "lg") {
            strophes.finish();
            if (open->self_closing) {
                ++i;
                continue;
            }
            Result<GroupParts> nested = line_group_parts(context, i + 1);
            if (!nested) return nested;
            strophes.append(std::move(nested->strophes));
            append(group.blocks, std::move(nested->blocks));
            i = nested->next;
        } else {
            return unsupported(context, i, "<lg>");
        }
    }
}

}  // namespace

Result<TeiLineGroup> import_tei_line_group(TeiContext& context, std::size_t start) {
    Result<GroupParts> parts = line_group_parts(context, start);
    if (!parts) return std::move(parts).error();
    TeiLineGroup group;
    group.blocks = std::move(parts->head_blocks);
    append(group.blocks, std::move(parts->blocks));
    Block::Stichoi verse;
    verse.symbol = "~";
    verse.lemma = std::move(parts->lemma);
    verse.strophes = std::move(parts->strophes);
    group.stichoi = Block(std::move(verse));
    group.next = parts->next;
    return group;
}

Result<TeiLineGroup> tei_element_line_group(TeiContext& context, std::size_t open) {
    if (std::get<XmlOpen>(context.tokens[open]).self_closing) return TeiLineGroup{std::nullopt, {}, open + 1};
    return import_tei_line_group(context, open + 1);
}

Result<TeiAbVerse> import_tei_ab_verse(TeiContext& context, std::size_t start) {
    Result<NestingDepth::Level> level = context.import.enter();
    if (!level) return std::move(level).error();
    TeiTokens& tokens = context.tokens;
    TeiAbVerse verse;
    StropheList strophes;
    std::size_t i = start;
    while (true) {
        i = skip_blank_texts(tokens, i);
        if (!tokens.has(i)) return tei_unterminated_error("ab");
        const XmlToken& token = tokens[i];
        const auto* open = std::get_if<XmlOpen>(&token);
        if (closes(token, "ab")) {
            verse.strophes = std::move(strophes).release();
            verse.next = i + 1;
            return verse;
        }
        if (closes(token, "lg")) {
            strophes.finish();
            ++i;
        } else if (open != nullptr && open->name == "lg") {
            ++i;
        } else if (open != nullptr && open->self_closing && (open->name == "l" || open->name == "note")) {
            ++i;
        } else if (open != nullptr && open->name == "l") {
            Result<TeiInlines> line = import_tei_inlines(context, i + 1, "l");
            if (!line) return std::move(line).error();
            trim_inlines(line->inlines);
            strophes.line(std::move(line->inlines));
            append(verse.blocks, std::move(line->blocks));
            i = line->next;
        } else if (open != nullptr && open->name == "note") {
            Result<TeiNote> note = import_tei_note(context, i + 1, true);
            if (!note) return std::move(note).error();
            strophes.attach(std::move(note->callout));
            verse.blocks.push_back(std::move(*note->footnote));
            i = note->next;
        } else {
            return unsupported(context, i, "an <ab> verse");
        }
    }
}

Result<TeiBlock> import_tei_epigraph(TeiContext& context, std::size_t start) {
    Result<NestingDepth::Level> level = context.import.enter();
    if (!level) return std::move(level).error();
    TeiTokens& tokens = context.tokens;
    Block::Para epigraph;
    epigraph.symbol = "\"/";
    std::size_t i = start;
    while (true) {
        i = skip_blank_texts(tokens, i);
        if (!tokens.has(i)) return tei_unterminated_error("epigraph");
        const XmlToken& token = tokens[i];
        if (closes(token, "epigraph")) return TeiBlock{Block(std::move(epigraph)), i + 1};
        if (closes(token, "cit")) {
            ++i;
            continue;
        }
        const auto* open = std::get_if<XmlOpen>(&token);
        const std::string_view name = open != nullptr ? std::string_view(open->name) : std::string_view();
        if (name == "p") {
            Result<TeiInlines> paragraph = tei_element_inlines(context, i);
            if (!paragraph) return std::move(paragraph).error();
            epigraph.children.emplace_back(Block::Paragraph{std::move(paragraph->inlines)});
            append(epigraph.children, std::move(paragraph->blocks));
            i = paragraph->next;
        } else if (name == "q" || name == "quote") {
            Result<TeiBlocks> quoted = tei_element_content_blocks(context, i);
            if (!quoted) return std::move(quoted).error();
            append(epigraph.children, std::move(quoted->blocks));
            i = quoted->next;
        } else if (name == "lg") {
            Result<TeiLineGroup> group = tei_element_line_group(context, i);
            if (!group) return std::move(group).error();
            if (group->stichoi) epigraph.children.push_back(std::move(*group->stichoi));
            append(epigraph.children, std::move(group->blocks));
            i = group->next;
        } else if (name == "pb") {
            i = after_own_close(tokens, i);
        } else if (name == "gap") {
            Result<std::size_t> next = after_element(tokens, i);
            if (!next) return std::move(next).error();
            i = *next;
        } else if (name == "cit") {
            ++i;
        } else if (name == "bibl") {
            Result<TeiInlines> source = tei_element_inlines_without_notes(context, i);
            if (!source) return std::move(source).error();
            if (!open->self_closing) epigraph.hypograph = std::move(source->inlines);
            i = source->next;
        } else {
            return unsupported(context, i, "<epigraph>");
        }
    }
}

}  // namespace ilvex
