#include "endo/tei/tei_prose_frame.hpp"

#include <string>
#include <string_view>
#include <utility>

#include "endo/tei/tei_blocks.hpp"
#include "endo/tei/tei_header.hpp"
#include "endo/tei/tei_inlines.hpp"
#include "endo/tei/tei_post_passes.hpp"
#include "endo/tei/tei_tokens.hpp"
#include "endo/tei/tei_verse.hpp"
#include "endo/tree_builders.hpp"
#include "endo/xml/xml_walk.hpp"

namespace ilvex {
namespace {

Error unexpected(const TeiContext& context, const XmlToken& token) {
    std::string message = "unexpected ";
    message += format_xml_token(token);
    message += " at document level";
    return context.error(message);
}

// A title or author of the front matter as its sim's paragraph; the notes
// in it leave nothing.
Result<std::size_t> front_title(TeiContext& context, std::size_t index, std::string_view symbol,
                                std::vector<Block>& blocks) {
    Result<TeiInlines> content = tei_element_inlines_without_notes(context, index);
    if (!content) return std::move(content).error();
    blocks.push_back(single_sim_paragraph(symbol, std::move(content->inlines)));
    return content->next;
}

// The argument as the abstract, a Para of its blocks.
Result<std::size_t> argument(TeiContext& context, std::size_t index, std::vector<Block>& blocks) {
    Result<TeiBlocks> content = import_tei_blocks(context, index + 1, "argument", 0);
    if (!content) return std::move(content).error();
    Block::Para abstract;
    abstract.symbol = "=\"";
    abstract.children = std::move(content->blocks);
    blocks.push_back(std::move(abstract));
    return content->next;
}

// One element of the front matter at `index`: the title page's titles and
// authors, the epigraph and the argument; any other element is skipped
// whole.
Result<std::size_t> front_element(TeiContext& context, std::size_t index, std::vector<Block>& blocks) {
    const XmlOpen& open = std::get<XmlOpen>(context.tokens[index]);
    const std::string_view name = open.name;
    if (name == "docTitle") return index + 1;
    if (name == "titlePart") return front_title(context, index, "=", blocks);
    if (name == "docAuthor" || name == "byline") return front_title(context, index, "=:", blocks);
    if (open.self_closing) return index + 1;
    if (name == "epigraph") {
        Result<TeiBlock> epigraph = import_tei_epigraph(context, index + 1);
        if (!epigraph) return std::move(epigraph).error();
        blocks.push_back(std::move(epigraph->block));
        return epigraph->next;
    }
    if (name == "argument") return argument(context, index, blocks);
    return context.tokens.skip(index + 1, name);
}

// The front matter from `start` (after its start tag) to its end tag.
Result<std::size_t> front(TeiContext& context, std::size_t start, std::vector<Block>& blocks) {
    TeiTokens& tokens = context.tokens;
    std::size_t depth = 1;
    for (std::size_t i = start; tokens.has(i);) {
        if (const auto* close = std::get_if<XmlClose>(&tokens[i])) {
            if (close->name == "front" && --depth == 0) return i + 1;
            ++i;
            continue;
        }
        const auto* open = std::get_if<XmlOpen>(&tokens[i]);
        if (open == nullptr) {
            ++i;
            continue;
        }
        if (open->name == "front") {
            if (!open->self_closing) ++depth;
            ++i;
            continue;
        }
        Result<std::size_t> next = front_element(context, i, blocks);
        if (!next) return next;
        i = *next;
    }
    return context.error("unterminated <front>");
}

// The prose text's blocks, milestones normalized on the way, handed to the
// import's sink as they are read.
class ProseOutput final : public TeiBlockStream {
public:
    explicit ProseOutput(ImportSink& sink) : sink_(sink) {}

    void block(Block&& block) override {
        normalize_tei_milestones(block, milestones_);
        sink_.block(std::move(block));
    }

    // The division's lemma is walked now, its blocks as they come: the
    // order of a walk over the whole division.
    void open(Block&& division) override {
        normalize_tei_milestones(division, milestones_);
        sink_.open(std::move(division));
    }

    void close() override { sink_.close(); }

private:
    ImportSink& sink_;
    TeiMilestoneState milestones_;
};

// One start tag of the top level at `index`: the blocks of the body go to
// `output` as they are read, those of any other element to `blocks`.
Result<std::size_t> top_level_element(TeiContext& context, std::size_t index, std::vector<Block>& blocks,
                                      ProseOutput& output) {
    const XmlOpen& open = std::get<XmlOpen>(context.tokens[index]);
    const std::string_view name = open.name;
    if (name == "TEI" || name == "TEI.2" || name == "text") return index + 1;
    if (name == "pb") return after_own_close(context.tokens, index);
    // A gap may describe what is missing (`<desc>`); nothing of it is kept.
    if (name == "gap") return after_element(context.tokens, index);
    const bool known = name == "teiHeader" || name == "front" || name == "body" || name == "back" ||
                       name == "standOff" || name == "interpGrp";
    if (!known) return unexpected(context, context.tokens[index]);
    if (open.self_closing) return index + 1;
    if (name == "teiHeader") return import_tei_header(context, index + 1, blocks);
    if (name == "front") return front(context, index + 1, blocks);
    if (name == "body") return stream_tei_blocks(context, index + 1, "body", output);
    return context.tokens.skip(index + 1, name);
}

// The walk over the top level.
Status walk(TeiContext& context, ProseOutput& output) {
    TeiTokens& tokens = context.tokens;
    for (std::size_t i = 0; tokens.has(i);) {
        const XmlToken& token = tokens[i];
        if (is_blank_text(token)) {
            ++i;
            continue;
        }
        if (const auto* close = std::get_if<XmlClose>(&token)) {
            if (close->name != "TEI" && close->name != "TEI.2" && close->name != "text") {
                return unexpected(context, token);
            }
            ++i;
            continue;
        }
        if (std::holds_alternative<XmlText>(token)) return unexpected(context, token);
        std::vector<Block> blocks;
        Result<std::size_t> next = top_level_element(context, i, blocks, output);
        if (!next) return std::move(next).error();
        for (Block& block : blocks) output.block(std::move(block));
        i = *next;
        tokens.release(i);
    }
    return {};
}

}  // namespace

Status import_tei_prose(std::string_view text, ImportSink& sink) {
    TeiContext context(text);
    ProseOutput output(sink);
    if (Status walked = walk(context, output); !walked) return context.tokens.first_error(std::move(walked).error());
    if (context.tokens.error()) return *context.tokens.error();
    return {};
}

}  // namespace ilvex
