#include "endo/jats/jats_content.hpp"

#include <algorithm>
#include <array>
#include <iterator>
#include <string>
#include <utility>

#include "dendron/writable_values.hpp"
#include "dialektos/unicode.hpp"
#include "endo/labelled_link.hpp"
#include "endo/tree_builders.hpp"
#include "endo/whitespace.hpp"
#include "endo/writable.hpp"
#include "endo/xml/xml_entities.hpp"

namespace ilvex {
namespace {

constexpr std::string_view footnote_symbol = "^";
constexpr std::string_view cite_symbol = ">[";
constexpr std::string_view blockquote_symbol = "\"";
// By the depth of the converter that meets the section; deeper ones keep the last.
constexpr std::array<std::string_view, 4> section_symbols = {"#", "##", "###", "####"};

Block para(std::string_view symbol, std::vector<Inline> lemma, std::vector<Block> children,
           Suffix suffix = {}) {
    Block::Para block;
    block.symbol = std::string(symbol);
    block.lemma = std::move(lemma);
    block.children = std::move(children);
    block.suffix = std::move(suffix);
    block.taxis = Taxis::absent();
    return block;
}

void append(std::vector<Block>& to, std::vector<Block> more) {
    to.insert(to.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
}

// The content of the element whose start tag `open` stands before `start`;
// a self-closing tag is a whole empty element.
Result<JatsBlocks> blocks_of(JatsWalk& walk, std::size_t start, const XmlOpen& open, std::size_t depth) {
    if (open.self_closing) return JatsBlocks{{}, start};
    return convert_jats_blocks(walk, start, open.name, depth);
}

Result<JatsInlines> inlines_of(JatsWalk& walk, std::size_t start, const XmlOpen& open) {
    if (open.self_closing) return JatsInlines{{}, {}, start};
    return convert_jats_inlines(walk, start, open.name);
}

// The ids of an IDREFS value, split at white space.
std::vector<std::string> split_ids(std::string_view value) {
    std::vector<std::string> ids;
    std::string id;
    for (std::size_t i = 0; i < value.size();) {
        const std::size_t at = i;
        if (unicode::is_whitespace(unicode::next_char(value, i))) {
            if (!id.empty()) ids.push_back(std::move(id));
            id.clear();
        } else {
            id += value.substr(at, i - at);
        }
    }
    if (!id.empty()) ids.push_back(std::move(id));
    return ids;
}

// The texts directly in `inlines`, nested sims contributing nothing.
std::string direct_text(const std::vector<Inline>& inlines) {
    std::string text;
    for (const Inline& item : inlines) {
        if (const auto* piece = std::get_if<Inline::Text>(&item.node)) text += piece->text;
    }
    return text;
}

class BlockStep {
public:
    BlockStep(JatsWalk& walk, MarkedBlocks& blocks, std::size_t depth)
        : walk_(walk), blocks_(blocks), depth_(depth) {}

    // Converts the element whose start tag `open` stands before `start`;
    // gives the index after it.
    Result<std::size_t> element(std::size_t start, const XmlOpen& open) {
        if (open.name == "p") return paragraph(start, open);
        if (open.name == "title") return title(start, open);
        if (open.name == "sec") return section(start, open);
        if (open.name == "disp-quote") return quotation(start, open);
        return walk_.error(unsupported(open, " at block level"));
    }

private:
    Result<std::size_t> paragraph(std::size_t start, const XmlOpen& open) {
        Result<JatsInlines> content = inlines_of(walk_, start, open);
        if (!content) return std::move(content).error();
        if (!content->inlines.empty()) blocks_.push(Block::Paragraph{std::move(content->inlines)});
        push_notes(std::move(content->notes));
        return content->next;
    }

    Result<std::size_t> title(std::size_t start, const XmlOpen& open) {
        Result<JatsInlines> content = inlines_of(walk_, start, open);
        if (!content) return std::move(content).error();
        blocks_.push_marked(Block::Paragraph{std::move(content->inlines)}, BlockMark::Title);
        push_notes(std::move(content->notes));
        return content->next;
    }

    // A section needs a title that says something: its lemma cannot be empty.
    Result<std::size_t> section(std::size_t start, const XmlOpen& open) {
        Result<JatsBlocks> content = blocks_of(walk_, start, open, depth_ + 1);
        if (!content) return std::move(content).error();
        std::optional<Block> title = content->blocks.take_first(BlockMark::Title);
        std::vector<Inline>* lemma = title ? &std::get<Block::Paragraph>(title->node).inlines : nullptr;
        if (lemma == nullptr || lemma->empty()) return walk_.error("sec without a title");
        const std::string_view symbol = section_symbols[std::min(depth_, section_symbols.size() - 1)];
        blocks_.push(para(symbol, std::move(*lemma), released_blocks(std::move(content->blocks))));
        return content->next;
    }

    Result<std::size_t> quotation(std::size_t start, const XmlOpen& open) {
        Result<JatsBlocks> content = blocks_of(walk_, start, open, depth_);
        if (!content) return std::move(content).error();
        blocks_.push(para(blockquote_symbol, {}, released_blocks(std::move(content->blocks))));
        return content->next;
    }

    void push_notes(std::vector<Block> notes) {
        for (Block& note : notes) blocks_.push(std::move(note));
    }

    JatsWalk& walk_;
    MarkedBlocks& blocks_;
    std::size_t depth_;
};

class InlineStep {
public:
    InlineStep(JatsWalk& walk, JatsInlines& out) : walk_(walk), out_(out) {}

    Result<std::size_t> element(std::size_t start, const XmlOpen& open) {
        if (open.name == "bold") return wrapped(start, open, "*");
        if (open.name == "italic") return wrapped(start, open, "/");
        if (open.name == "monospace") return monospace(start, open);
        if (open.name == "ext-link") return external_link(start, open);
        if (open.name == "xref") return cross_reference(start, open);
        if (open.name == "fn") return footnote(start, open);
        return walk_.error(unsupported(open, " inline"));
    }

private:
    Result<std::size_t> wrapped(std::size_t start, const XmlOpen& open, std::string_view symbol) {
        Result<JatsInlines> content = inlines_of(walk_, start, open);
        if (!content) return std::move(content).error();
        out_.inlines.emplace_back(
            Inline::EndoSimmere{std::string(symbol), std::move(content->inlines), {}, true});
        append(out_.notes, std::move(content->notes));
        return content->next;
    }

    // Literal text stands on one line: its white space runs become spaces.
    Result<std::size_t> monospace(std::size_t start, const XmlOpen& open) {
        Result<ElementText> content = walk_.tokens.text_only(start, open);
        if (!content) return std::move(content).error();
        const std::string text = collapse_whitespace(content->text);
        if (!text.empty()) {
            for (Inline& piece : literal_inlines(text)) out_.inlines.push_back(std::move(piece));
        }
        return content->next;
    }

    // With a target, the visible text stays beside it; without one, the
    // text is the target.
    Result<std::size_t> external_link(std::size_t start, const XmlOpen& open) {
        Result<JatsInlines> content = inlines_of(walk_, start, open);
        if (!content) return std::move(content).error();
        append(out_.notes, std::move(content->notes));
        const std::optional<std::string_view> href = attribute_value(open.attrs, "xlink:href");
        const std::string_view target = href ? unicode::trim(*href) : std::string_view();
        if (!target.empty()) {
            for (Inline& item : labelled_link(std::move(content->inlines), writable_parameter(target))) {
                out_.inlines.push_back(std::move(item));
            }
        } else if (const std::string text = one_line(direct_text(content->inlines)); !text.empty()) {
            out_.inlines.push_back(link_inline(text));
        }
        return content->next;
    }

    // One cite per id of the rid; the element's own text is not kept.
    Result<std::size_t> cross_reference(std::size_t start, const XmlOpen& open) {
        if (attribute_value(open.attrs, "ref-type") != std::optional<std::string_view>("bibr")) {
            return walk_.error("only xref[ref-type=bibr] is supported");
        }
        const std::optional<std::string_view> rid = attribute_value(open.attrs, "rid");
        const std::vector<std::string> ids = rid ? split_ids(*rid) : std::vector<std::string>();
        if (ids.empty()) return walk_.error("xref without rid");
        for (const std::string& id : ids) out_.inlines.emplace_back(Inline::Monosim{std::string(cite_symbol), id, {}});
        if (open.self_closing) return start;
        return walk_.tokens.skip(start, open.name);
    }

    // The note is numbered before its content, so an outer note comes
    // before the notes nested in it.
    Result<std::size_t> footnote(std::size_t start, const XmlOpen& open) {
        std::string name = "n";
        name += std::to_string(++walk_.notes);
        Result<JatsBlocks> content = blocks_of(walk_, start, open, 0);
        if (!content) return std::move(content).error();
        out_.inlines.emplace_back(Inline::Deixis{std::string(footnote_symbol), name, {}});
        out_.notes.push_back(para(footnote_symbol, {}, released_blocks(std::move(content->blocks)),
                                  Suffix{std::move(name), {}}));
        return content->next;
    }

    JatsWalk& walk_;
    JatsInlines& out_;
};

}  // namespace

Result<JatsBlocks> convert_jats_blocks(JatsWalk& walk, std::size_t start, std::string_view close,
                                       std::size_t depth, ImportSink* sink) {
    Result<NestingDepth::Level> level = walk.context.enter();
    if (!level) return std::move(level).error();
    JatsBlocks out{{}, 0};
    BlockStep step(walk, out.blocks, depth);
    for (std::size_t i = start;;) {
        Result<const XmlToken*> at = walk.tokens.at(i);
        if (!at) return std::move(at).error();
        if (*at == nullptr) break;
        const XmlToken& token = **at;
        if (const auto* text = std::get_if<XmlText>(&token)) {
            const std::string_view trimmed = unicode::trim(text->text);
            if (!trimmed.empty()) {
                std::string message = "bare text at block level: `";
                message += trimmed;
                message += '`';
                return walk.error(message);
            }
            ++i;
        } else if (const auto* end = std::get_if<XmlClose>(&token)) {
            if (end->name != close) return walk.error(unsupported(token, " at block level"));
            out.next = i + 1;
            return out;
        } else {
            Result<std::size_t> next = step.element(i + 1, std::get<XmlOpen>(token));
            if (!next) return std::move(next).error();
            i = *next;
        }
        if (sink != nullptr) {
            for (Block& block : released_blocks(std::exchange(out.blocks, {}))) sink->block(std::move(block));
            walk.tokens.release(i);
        }
    }
    return walk.error(unterminated(close));
}

Result<JatsInlines> convert_jats_inlines(JatsWalk& walk, std::size_t start, std::string_view close) {
    Result<NestingDepth::Level> level = walk.context.enter();
    if (!level) return std::move(level).error();
    JatsInlines out{{}, {}, 0};
    InlineStep step(walk, out);
    for (std::size_t i = start;;) {
        Result<const XmlToken*> at = walk.tokens.at(i);
        if (!at) return std::move(at).error();
        if (*at == nullptr) break;
        const XmlToken& token = **at;
        if (const auto* text = std::get_if<XmlText>(&token)) {
            std::string collapsed = collapse_whitespace(decode_xml_entities(text->text));
            if (!collapsed.empty()) out.inlines.emplace_back(Inline::Text{std::move(collapsed)});
            ++i;
        } else if (const auto* end = std::get_if<XmlClose>(&token)) {
            if (end->name != close) return walk.error(unsupported(token, " inline"));
            trim_run_edges(out.inlines);
            isolate_trailing_backslashes(out.inlines);
            out.next = i + 1;
            return out;
        } else {
            Result<std::size_t> next = step.element(i + 1, std::get<XmlOpen>(token));
            if (!next) return std::move(next).error();
            i = *next;
        }
    }
    return walk.error(unterminated(close));
}

std::vector<Block> released_blocks(MarkedBlocks blocks) {
    std::vector<Block> out = std::move(blocks).release();
    std::erase_if(out, [](const Block& block) {
        const auto* paragraph = std::get_if<Block::Paragraph>(&block.node);
        return paragraph != nullptr && paragraph->inlines.empty();
    });
    return out;
}

}  // namespace ilvex
