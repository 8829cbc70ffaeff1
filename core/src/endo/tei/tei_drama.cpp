#include "endo/tei/tei_drama.hpp"

#include <limits>
#include <string>
#include <utility>

#include "endo/tei/tei_blocks.hpp"
#include "endo/tei/tei_inlines.hpp"
#include "endo/tei/tei_milestone.hpp"
#include "endo/tei/tei_notes.hpp"
#include "endo/tei/tei_tokens.hpp"
#include "endo/whitespace.hpp"

namespace ilvex {
namespace {

void append(std::vector<Block>& to, std::vector<Block>&& from) {
    for (Block& block : from) to.push_back(std::move(block));
}

Block dialogue(std::vector<Inline> prefix, std::vector<Block> children) {
    return Block::Para{true, ":", std::move(prefix), std::move(children), {}, {}, Taxis::absent()};
}

Result<std::size_t> after_element(const TeiContext& context, std::size_t i) {
    const XmlOpen& open = std::get<XmlOpen>(context.tokens[i]);
    if (open.self_closing) return i + 1;
    return context.tokens.skip(i + 1, open.name);
}

// Whether the speech whose content runs from `first` (its first token that
// is not blank text) up to `end` is verse: it begins with a line or line
// group, holds a line, and holds no paragraph, ab or quotation.
bool is_verse_speech(TeiContext& context, std::size_t first, std::size_t end) {
    TeiTokens& tokens = context.tokens;
    if (first >= end || !tokens.has(first)) return false;
    const auto* open = std::get_if<XmlOpen>(&tokens[first]);
    if (open == nullptr || (open->name != "l" && open->name != "lg")) return false;
    return tokens.lines_before(end) > tokens.lines_before(first) &&
           tokens.prose_before(end) == tokens.prose_before(first);
}

// The lines of a verse speech, gathered in one strophe, and the blocks set
// aside for after the verse block.
class VerseSpeech {
public:
    explicit VerseSpeech(TeiContext& context) : context_(context) {}

    Result<std::size_t> run(std::size_t start) {
        TeiTokens& tokens = context_.tokens;
        std::size_t i = start;
        while (true) {
            i = skip_blank_texts(tokens, i);
            if (!tokens.has(i)) return tei_unterminated_error("sp");
            const XmlToken& token = tokens[i];
            if (const auto* close = std::get_if<XmlClose>(&token)) {
                if (close->name == "sp") return i + 1;
                if (close->name == "lg") {
                    ++i;
                    continue;
                }
                return unsupported(i);
            }
            const auto* open = std::get_if<XmlOpen>(&token);
            if (open == nullptr) return unsupported(i);
            Result<std::size_t> next = element(i, *open);
            if (!next) return next;
            i = *next;
        }
    }

    Strophe lines;
    std::vector<Block> set_aside;

private:
    Error unsupported(std::size_t i) const {
        return context_.error("unsupported " + format_xml_token(context_.tokens[i]) + " in a verse speech");
    }

    Result<std::size_t> element(std::size_t i, const XmlOpen& open) {
        const std::string_view name = open.name;
        if (name == "lg") return i + 1;
        if (name == "lb" || name == "pb") return after_element(context_, i);
        if (name == "gap") {
            lines.push_back({Inline::Text{"[\u2026]"}});
            return after_element(context_, i);
        }
        if (name == "milestone") {
            if (std::optional<Inline> milestone = tei_milestone_element(open)) lines.push_back({std::move(*milestone)});
            return after_element(context_, i);
        }
        if (name == "l") {
            if (open.self_closing) return i + 1;
            Result<TeiInlines> line = import_tei_inlines(context_, i + 1, "l");
            if (!line) return std::move(line).error();
            trim_inlines(line->inlines);
            lines.push_back(std::move(line->inlines));
            append(set_aside, std::move(line->blocks));
            return line->next;
        }
        if (name == "note") {
            if (open.self_closing) return i + 1;
            Result<TeiNote> note = import_tei_note(context_, i + 1, true);
            if (!note) return std::move(note).error();
            if (lines.empty()) {
                lines.push_back({std::move(note->callout)});
            } else {
                lines.back().push_back(std::move(note->callout));
            }
            set_aside.push_back(std::move(*note->footnote));
            return note->next;
        }
        if (name == "stage") {
            Result<TeiInlines> stage = tei_element_inlines_without_notes(context_, i);
            if (!stage) return std::move(stage).error();
            trim_inlines(stage->inlines);
            lines.push_back({Inline::EndoSimmere{":(", std::move(stage->inlines), {}, true}});
            return stage->next;
        }
        return unsupported(i);
    }

    TeiContext& context_;
};

}  // namespace

Result<TeiBlocks> import_tei_speech(TeiContext& context, std::size_t start, std::size_t level) {
    Result<NestingDepth::Level> entered = context.import.enter();
    if (!entered) return std::move(entered).error();
    TeiTokens& tokens = context.tokens;
    std::size_t i = skip_blank_texts(tokens, start);
    if (!tokens.has(i)) return tei_unterminated_error("sp");
    std::vector<Inline> prefix;
    std::vector<Block> speaker_blocks;
    if (const auto* open = std::get_if<XmlOpen>(&tokens[i]); open != nullptr && open->name == "speaker") {
        Result<TeiInlines> speaker = tei_element_inlines(context, i);
        if (!speaker) return std::move(speaker).error();
        prefix = std::move(speaker->inlines);
        speaker_blocks = std::move(speaker->blocks);
        i = speaker->next;
    }
    // The speech ends at the end tag matching its start tag, or with the
    // text.
    std::size_t end = std::numeric_limits<std::size_t>::max();
    if (start > 0) {
        if (const std::optional<std::size_t> close = tokens.close_of(start - 1)) end = *close;
    }
    TeiBlocks out;
    if (!is_verse_speech(context, skip_blank_texts(tokens, i), end)) {
        Result<TeiBlocks> content = import_tei_blocks(context, i, "sp", level);
        if (!content) return std::move(content).error();
        if (prefix.empty()) {
            out.blocks = std::move(content->blocks);
        } else {
            out.blocks.push_back(dialogue(std::move(prefix), std::move(content->blocks)));
        }
        append(out.blocks, std::move(speaker_blocks));
        out.next = content->next;
        return out;
    }
    VerseSpeech verse(context);
    Result<std::size_t> next = verse.run(i);
    if (!next) return std::move(next).error();
    Block::Stichoi stichoi;
    stichoi.symbol = prefix.empty() ? "~" : ":~";
    stichoi.lemma = std::move(prefix);
    stichoi.strophes.push_back(std::move(verse.lines));
    out.blocks.emplace_back(std::move(stichoi));
    append(out.blocks, std::move(speaker_blocks));
    append(out.blocks, std::move(verse.set_aside));
    out.next = *next;
    return out;
}

Result<TeiBlock> import_tei_said(TeiContext& context, std::size_t open) {
    Result<NestingDepth::Level> entered = context.import.enter();
    if (!entered) return std::move(entered).error();
    TeiTokens& tokens = context.tokens;
    const XmlOpen& tag = std::get<XmlOpen>(tokens[open]);
    std::string speaker(attribute_value(tag.attrs, "who").value_or(""));
    speaker.erase(0, speaker.find_first_not_of('#') == std::string::npos ? speaker.size()
                                                                           : speaker.find_first_not_of('#'));
    std::vector<Inline> milestones;
    std::vector<Inline> prefix;
    TeiInlines content{{}, {}, open + 1};
    if (!tag.self_closing) {
        std::size_t i = skip_blank_texts(tokens, open + 1);
        while (tokens.has(i)) {
            const auto* child = std::get_if<XmlOpen>(&tokens[i]);
            if (child == nullptr || child->name != "milestone") break;
            if (std::optional<Inline> milestone = tei_milestone_element(*child)) milestones.push_back(std::move(*milestone));
            Result<std::size_t> next = after_element(context, i);
            if (!next) return std::move(next).error();
            i = skip_blank_texts(tokens, *next);
        }
        const auto* child = tokens.has(i) ? std::get_if<XmlOpen>(&tokens[i]) : nullptr;
        if (child != nullptr && child->name == "label") {
            Result<TeiInlines> label = tei_element_inlines_without_notes(context, i);
            if (!label) return std::move(label).error();
            prefix = std::move(label->inlines);
            trim_inlines(prefix);
            if (!prefix.empty()) {
                if (auto* last = std::get_if<Inline::Text>(&prefix.back().node)) {
                    while (last->text.ends_with('.')) last->text.pop_back();
                    if (last->text.empty()) prefix.pop_back();
                }
            }
            i = label->next;
        } else if (!speaker.empty()) {
            prefix.emplace_back(Inline::Text{speaker});
        }
        Result<TeiInlines> rest = import_tei_inlines(context, i, "said");
        if (!rest) return std::move(rest).error();
        content = std::move(*rest);
        trim_inlines(content.inlines);
    } else if (!speaker.empty()) {
        prefix.emplace_back(Inline::Text{speaker});
    }
    milestones.insert(milestones.end(), std::make_move_iterator(content.inlines.begin()),
                      std::make_move_iterator(content.inlines.end()));
    std::vector<Block> children;
    children.emplace_back(Block::Paragraph{std::move(milestones)});
    append(children, std::move(content.blocks));
    std::size_t next = skip_blank_texts(tokens, content.next);
    if (tokens.has(next)) {
        if (const auto* close = std::get_if<XmlClose>(&tokens[next]); close != nullptr && close->name == "p") ++next;
    }
    if (prefix.empty()) return TeiBlock{Block::Diaphane{std::move(children), {}}, next};
    return TeiBlock{dialogue(std::move(prefix), std::move(children)), next};
}

bool tei_said_in_p(const TeiContext& context, std::size_t open) {
    TeiTokens& tokens = context.tokens;
    std::size_t end = open;
    if (!std::get<XmlOpen>(tokens[open]).self_closing) {
        const std::optional<std::size_t> close = context.tokens.close_of(open);
        if (!close) return false;
        end = *close;
    }
    const std::size_t next = skip_blank_texts(tokens, end + 1);
    if (!tokens.has(next)) return false;
    const auto* close = std::get_if<XmlClose>(&tokens[next]);
    return close != nullptr && close->name == "p";
}

}  // namespace ilvex
