#include "endo/tei/tei_blocks.hpp"

#include <array>
#include <string>
#include <utility>

#include "dialektos/unicode.hpp"
#include "endo/placeholder_marks.hpp"
#include "endo/tei/tei_drama.hpp"
#include "endo/tei/tei_inlines.hpp"
#include "endo/tei/tei_milestone.hpp"
#include "endo/tei/tei_notes.hpp"
#include "endo/tei/tei_tokens.hpp"
#include "endo/tei/tei_verse.hpp"
#include "endo/tree_builders.hpp"
#include "endo/whitespace.hpp"
#include "endo/writable.hpp"

namespace ilvex {
namespace {

constexpr std::size_t max_division_level = 5;
constexpr std::array<std::string_view, max_division_level + 1> heading_symbols = {"==",  "===", "#",
                                                                                   "##",  "###", "####"};
constexpr std::string_view blockquote_symbol = "\"";
constexpr std::size_t max_punctuation_text = 3;

void append(std::vector<Block>& to, std::vector<Block>&& from) {
    for (Block& block : from) to.push_back(std::move(block));
}

Block paragraph(std::vector<Inline> inlines) { return Block::Paragraph{std::move(inlines)}; }

Block para(std::string_view symbol, std::vector<Block> children, std::vector<Inline> lemma = {},
           std::vector<Inline> hypograph = {}) {
    return Block::Para{true, std::string(symbol), std::move(lemma), std::move(children), std::move(hypograph), {},
                       Taxis::absent()};
}

Block annotation_paragraph(std::string genos, std::vector<Inline> inlines) {
    std::vector<Inline> only;
    only.emplace_back(Inline::EndoSimmere{",", std::move(inlines), Suffix{std::nullopt, {std::move(genos)}}, true});
    return paragraph(std::move(only));
}

Block verse_block(std::vector<Strophe> strophes, std::vector<std::string> genoses = {}) {
    Block::Stichoi verse;
    verse.symbol = "~";
    verse.strophes = std::move(strophes);
    verse.suffix.genoses = std::move(genoses);
    return verse;
}

Error unsupported(const TeiContext& context, std::size_t i, std::string_view where) {
    return context.error("unsupported " + format_xml_token(context.tokens[i]) + " in " + std::string(where));
}

bool closes(const XmlToken& token, std::string_view name) {
    const auto* close = std::get_if<XmlClose>(&token);
    return close != nullptr && close->name == name;
}

bool is_ascii_punctuation(char32_t c) {
    return (c >= '!' && c <= '/') || (c >= ':' && c <= '@') || (c >= '[' && c <= '`') || (c >= '{' && c <= '~');
}

// Whether text standing between blocks may be passed over: up to three
// characters of ASCII punctuation (a stray comma or dash).
bool is_stray_punctuation(std::string_view trimmed) {
    if (unicode::char_count(trimmed) > max_punctuation_text) return false;
    std::size_t i = 0;
    while (i < trimmed.size()) {
        const char32_t c = unicode::next_char(trimmed, i);
        if (!is_ascii_punctuation(c) && !unicode::is_whitespace(c)) return false;
    }
    return true;
}

std::size_t division_level(const XmlOpen& open, std::size_t enclosing) {
    const auto type = attribute_value(open.attrs, "type");
    if (type == "part" || type == "book") return 0;
    if (type == "chapter" || type == "canto") return 1;
    return std::min(enclosing + 1, max_division_level);
}

struct MarkedTeiBlocks {
    MarkedBlocks blocks;
    std::size_t next = 0;
};

// Where a walk that streams hands the blocks of its level: the stream
// itself at the body's level, a division read in pieces below it.
class LevelOutput {
public:
    // Takes the blocks made so far out of `blocks`, leaving it empty.
    virtual void flush(MarkedBlocks& blocks) = 0;
    // A division is about to be opened in the stream: the level's next
    // block (its first, maybe) is that division, which is no head.
    virtual void settle() = 0;

protected:
    ~LevelOutput() = default;
};

Result<MarkedTeiBlocks> marked_blocks(TeiContext& context, std::size_t start, std::string_view close,
                                     std::size_t level, TeiBlockStream* stream = nullptr,
                                     LevelOutput* output = nullptr);

// The lemma of a division: the content of the head it begins with, if any.
std::vector<Inline> take_head_lemma(MarkedBlocks& blocks) {
    std::optional<Block> head = blocks.take_first(BlockMark::Head);
    if (!head) return {};
    auto& inlines = std::get<Block::Paragraph>(head->node).inlines;
    return std::move(std::get<Inline::EndoSimmere>(inlines.back().node).children);
}

// The body's level: its blocks go to the stream as they are.
class BodyOutput final : public LevelOutput {
public:
    explicit BodyOutput(TeiBlockStream& stream) : stream_(stream) {}

    void flush(MarkedBlocks& blocks) override {
        for (Block& block : std::move(blocks).release()) stream_.block(std::move(block));
        blocks = MarkedBlocks();
    }
    void settle() override {}

private:
    TeiBlockStream& stream_;
};

// A division read in pieces. Its first block decides its form, as for a
// division read whole: a head with content makes it a heading block, opened
// in the stream before the rest of its blocks and closed after them;
// otherwise its blocks join the enclosing level.
class DivisionPieces final : public LevelOutput {
public:
    DivisionPieces(TeiBlockStream& stream, std::string_view symbol, LevelOutput& enclosing)
        : stream_(stream), symbol_(symbol), enclosing_(enclosing) {}

    void flush(MarkedBlocks& blocks) override {
        if (state_ == State::Undecided && !blocks.blocks().empty()) decide(blocks);
        if (state_ == State::Spliced) {
            enclosing_.flush(blocks);
        } else if (state_ == State::Opened) {
            for (Block& block : std::move(blocks).release()) stream_.block(std::move(block));
            blocks = MarkedBlocks();
        }
    }

    void settle() override {
        if (state_ == State::Undecided) state_ = State::Spliced;
        if (state_ == State::Spliced) enclosing_.settle();
    }

    void finish() {
        if (state_ == State::Opened) stream_.close();
    }

private:
    enum class State : std::uint8_t { Undecided, Opened, Spliced };

    void decide(MarkedBlocks& blocks) {
        std::vector<Inline> lemma = take_head_lemma(blocks);
        if (lemma.empty()) {
            state_ = State::Spliced;
            return;
        }
        // The division stands in the enclosing level where its first block
        // does; every level around must have begun before it is opened.
        enclosing_.settle();
        state_ = State::Opened;
        stream_.open(para(symbol_, {}, std::move(lemma)));
    }

    TeiBlockStream& stream_;
    std::string_view symbol_;
    LevelOutput& enclosing_;
    State state_ = State::Undecided;
};

// One walk over block content; heads are marked so that a division can
// take its first one as its lemma.
class BlockWalk {
public:
    // With an `output`, the walk hands its blocks on after each element and
    // lets go of the tokens before the next.
    // With a `stream`, its divisions go there in pieces.
    BlockWalk(TeiContext& context, std::string_view close, std::size_t level, TeiBlockStream* stream,
              LevelOutput* output)
        : context_(context), close_(close), level_(level), stream_(stream), output_(output) {}

    Result<MarkedTeiBlocks> run(std::size_t start) {
        TeiTokens& tokens = context_.tokens;
        std::size_t i = start;
        while (true) {
            if (output_ != nullptr) {
                output_->flush(out_);
                tokens.release(i);
            }
            if (!tokens.has(i)) return tei_unterminated_error(close_);
            const XmlToken& token = tokens[i];
            if (const auto* end = std::get_if<XmlClose>(&token)) {
                if (end->name == close_) return MarkedTeiBlocks{std::move(out_), i + 1};
                // The end of a paragraph whose content became a said.
                if (end->name != "p") return context_.error("unsupported " + format_xml_token(token) + " at block level");
                ++i;
                continue;
            }
            if (const auto* piece = std::get_if<XmlText>(&token)) {
                const std::string_view trimmed = unicode::trim(piece->text);
                if (!trimmed.empty() && !is_stray_punctuation(trimmed)) {
                    return context_.error("bare text at block level: `" + std::string(trimmed) + "`");
                }
                ++i;
                continue;
            }
            Result<std::size_t> next = element(i);
            if (!next) return std::move(next).error();
            i = *next;
        }
    }

private:
    void push(Block block) { out_.push(std::move(block)); }

    void push_all(std::vector<Block>&& blocks) {
        for (Block& block : blocks) out_.push(std::move(block));
    }

    // A block made of the element's inlines, then the note bodies met in
    // them.
    template <class Make>
    Result<std::size_t> inline_block(std::size_t i, Make&& make) {
        Result<TeiInlines> content = tei_element_inlines(context_, i);
        if (!content) return std::move(content).error();
        push(make(std::move(content->inlines)));
        push_all(std::move(content->blocks));
        return content->next;
    }

    Result<std::size_t> element(std::size_t i) {
        TeiTokens& tokens = context_.tokens;
        const XmlOpen& open = std::get<XmlOpen>(tokens[i]);
        const std::string_view name = open.name;
        if (name == "p") return paragraph_element(i);
        if (name == "ab") {
            const std::size_t first = skip_blank_texts(tokens, i + 1);
            const auto* child = !open.self_closing && tokens.has(first) ? std::get_if<XmlOpen>(&tokens[first]) : nullptr;
            if (child != nullptr && (child->name == "l" || child->name == "lg")) return ab_verse(i);
            return inline_block(i, paragraph);
        }
        if (name == "salute" || name == "signed") return inline_block(i, paragraph);
        if (name == "l") return line_run(i);
        if (name == "lg") {
            Result<TeiLineGroup> group = tei_element_line_group(context_, i);
            if (!group) return std::move(group).error();
            if (group->stichoi) push(std::move(*group->stichoi));
            push_all(std::move(group->blocks));
            return group->next;
        }
        if (name == "sp") {
            if (open.self_closing) return i + 1;
            Result<TeiBlocks> speech = import_tei_speech(context_, i + 1, level_);
            if (!speech) return std::move(speech).error();
            push_all(std::move(speech->blocks));
            return speech->next;
        }
        if (name == "said") {
            Result<TeiBlock> said = import_tei_said(context_, i);
            if (!said) return std::move(said).error();
            push(std::move(said->block));
            return said->next;
        }
        if (name == "speaker") {
            return inline_block(i, [](std::vector<Inline> inlines) {
                return annotation_paragraph("speaker", std::move(inlines));
            });
        }
        if (name == "label") {
            return inline_block(i, [](std::vector<Inline> inlines) {
                return annotation_paragraph("label", std::move(inlines));
            });
        }
        if (name == "stage") {
            return inline_block(i, [](std::vector<Inline> inlines) {
                std::vector<Block> only;
                only.push_back(paragraph(std::move(inlines)));
                return para(":[", std::move(only));
            });
        }
        if (name == "trailer" || name == "dateline") {
            return inline_block(i, [](std::vector<Inline> inlines) {
                return single_sim_paragraph("-/", std::move(inlines));
            });
        }
        if (name == "head") return head(i);
        if (name == "div") return division(i);
        if (name == "q" || name == "quote") {
            Result<TeiBlocks> quoted = tei_element_content_blocks(context_, i);
            if (!quoted) return std::move(quoted).error();
            push(para(blockquote_symbol, std::move(quoted->blocks)));
            return quoted->next;
        }
        if (name == "note") {
            if (open.self_closing) return i + 1;
            Result<TeiBlocks> body = import_tei_note_body(context_, i + 1);
            if (!body) return std::move(body).error();
            push(para("^!", std::move(body->blocks)));
            return body->next;
        }
        if (name == "table") {
            if (open.self_closing) return i + 1;
            Result<TeiBlock> table = import_tei_table(context_, i + 1);
            if (!table) return std::move(table).error();
            push(std::move(table->block));
            return table->next;
        }
        if (name == "epigraph") {
            if (open.self_closing) return i + 1;
            Result<TeiBlock> epigraph = import_tei_epigraph(context_, i + 1);
            if (!epigraph) return std::move(epigraph).error();
            push(std::move(epigraph->block));
            return epigraph->next;
        }
        if (name == "opener" || name == "closer") {
            if (open.self_closing) return i + 1;
            Result<MarkedTeiBlocks> inner = marked_blocks(context_, i + 1, name, level_);
            if (!inner) return std::move(inner).error();
            out_.append(std::move(inner->blocks));
            return inner->next;
        }
        if (name == "cit") return citation(i);
        if (name == "list") return list(i);
        if (name == "figure") return figure(i);
        if (name == "castList") return cast_list(i);
        if (name == "milestone") {
            if (std::optional<Inline> milestone = tei_milestone_element(open)) {
                push(paragraph({std::move(*milestone)}));
            }
            return after_element(i);
        }
        if (name == "pb" || name == "anchor" || name == "delSpan" || name == "addSpan") {
            return after_own_close(tokens, i);
        }
        // A gap may describe what is missing (`<desc>`); nothing of it is kept.
        if (name == "app" || name == "listPerson" || name == "desc" || name == "space" || name == "docAuthor" ||
            name == "interpGrp" || name == "lb" || name == "gap") {
            return after_element(i);
        }
        return context_.error("unsupported " + format_xml_token(tokens[i]) + " at block level");
    }

    Result<std::size_t> after_element(std::size_t i) { return ilvex::after_element(context_.tokens, i); }

    // A p that holds nothing but one said becomes that said's block.
    Result<std::size_t> paragraph_element(std::size_t i) {
        TeiTokens& tokens = context_.tokens;
        if (std::get<XmlOpen>(tokens[i]).self_closing) return i + 1;
        const std::size_t first = skip_blank_texts(tokens, i + 1);
        const auto* child = tokens.has(first) ? std::get_if<XmlOpen>(&tokens[first]) : nullptr;
        if (child != nullptr && child->name == "said" && tei_said_in_p(context_, first)) {
            Result<TeiBlock> said = import_tei_said(context_, first);
            if (!said) return std::move(said).error();
            push(std::move(said->block));
            return said->next;
        }
        return inline_block(i, paragraph);
    }

    Result<std::size_t> ab_verse(std::size_t i) {
        const XmlOpen& open = std::get<XmlOpen>(context_.tokens[i]);
        std::vector<std::string> genoses;
        if (const auto type = attribute_value(open.attrs, "type")) genoses = lowercase_name_list(*type);
        Result<TeiAbVerse> verse = import_tei_ab_verse(context_, i + 1);
        if (!verse) return std::move(verse).error();
        push(verse_block(std::move(verse->strophes), std::move(genoses)));
        push_all(std::move(verse->blocks));
        return verse->next;
    }

    // Consecutive l elements, blank text between them, as one verse block.
    Result<std::size_t> line_run(std::size_t i) {
        TeiTokens& tokens = context_.tokens;
        Strophe lines;
        std::vector<Block> set_aside;
        while (tokens.has(i)) {
            if (is_blank_text(tokens[i])) {
                ++i;
                continue;
            }
            const auto* open = std::get_if<XmlOpen>(&tokens[i]);
            if (open == nullptr || open->name != "l") break;
            if (open->self_closing) {
                ++i;
                continue;
            }
            Result<TeiInlines> line = import_tei_inlines(context_, i + 1, "l");
            if (!line) return std::move(line).error();
            trim_inlines(line->inlines);
            lines.push_back(std::move(line->inlines));
            append(set_aside, std::move(line->blocks));
            i = line->next;
        }
        std::vector<Strophe> strophes;
        strophes.push_back(std::move(lines));
        push(verse_block(std::move(strophes)));
        push_all(std::move(set_aside));
        return i;
    }

    Result<std::size_t> head(std::size_t i) {
        if (std::get<XmlOpen>(context_.tokens[i]).self_closing) return i + 1;
        Result<TeiInlines> content = tei_element_inlines(context_, i);
        if (!content) return std::move(content).error();
        out_.push_marked(annotation_paragraph("head", std::move(content->inlines)), BlockMark::Head);
        push_all(std::move(content->blocks));
        return content->next;
    }

    // A division under a heading made of its first head, or, without a
    // head or with an empty one, its blocks spliced into this list.
    Result<std::size_t> division(std::size_t i) {
        const XmlOpen& open = std::get<XmlOpen>(context_.tokens[i]);
        if (open.self_closing) return i + 1;
        const std::size_t level = division_level(open, level_);
        if (stream_ != nullptr) return division_in_pieces(i, level);
        Result<MarkedTeiBlocks> inner = marked_blocks(context_, i + 1, "div", level);
        if (!inner) return std::move(inner).error();
        std::vector<Inline> lemma = take_head_lemma(inner->blocks);
        if (lemma.empty()) {
            out_.append(std::move(inner->blocks));
        } else {
            push(para(heading_symbols[level], std::move(inner->blocks).release(), std::move(lemma)));
        }
        return inner->next;
    }

    // A division of a walk that streams, read in pieces.
    Result<std::size_t> division_in_pieces(std::size_t i, std::size_t level) {
        DivisionPieces pieces(*stream_, heading_symbols[level], *output_);
        Result<MarkedTeiBlocks> inner = marked_blocks(context_, i + 1, "div", level, stream_, &pieces);
        if (!inner) return std::move(inner).error();
        pieces.finish();
        return inner->next;
    }

    // A quotation with its source: the blocks of its quotes, the source as
    // the hypograph.
    Result<std::size_t> citation(std::size_t i) {
        TeiTokens& tokens = context_.tokens;
        if (std::get<XmlOpen>(tokens[i]).self_closing) return i + 1;
        std::vector<Block> children;
        std::vector<Inline> source;
        std::size_t j = i + 1;
        while (true) {
            j = skip_blank_texts(tokens, j);
            if (!tokens.has(j)) return tei_unterminated_error("cit");
            if (closes(tokens[j], "cit")) break;
            const auto* open = std::get_if<XmlOpen>(&tokens[j]);
            if (open != nullptr && (open->name == "quote" || open->name == "q")) {
                Result<TeiBlocks> quoted = tei_element_content_blocks(context_, j);
                if (!quoted) return std::move(quoted).error();
                append(children, std::move(quoted->blocks));
                j = quoted->next;
            } else if (open != nullptr && open->name == "bibl") {
                Result<TeiInlines> bibl = tei_element_inlines_without_notes(context_, j);
                if (!bibl) return std::move(bibl).error();
                if (!open->self_closing) source = std::move(bibl->inlines);
                j = bibl->next;
            } else {
                return unsupported(context_, j, "<cit>");
            }
        }
        push(para(blockquote_symbol, std::move(children), {}, std::move(source)));
        return j + 1;
    }

    Result<std::size_t> list(std::size_t i) {
        TeiTokens& tokens = context_.tokens;
        const XmlOpen& tag = std::get<XmlOpen>(tokens[i]);
        if (tag.self_closing) return i + 1;
        const bool ordered = attribute_value(tag.attrs, "type") == "ordered";
        std::vector<Block> children;
        std::uint64_t number = 0;
        std::size_t j = i + 1;
        while (true) {
            j = skip_blank_texts(tokens, j);
            if (!tokens.has(j)) return tei_unterminated_error("list");
            if (closes(tokens[j], "list")) break;
            const auto* open = std::get_if<XmlOpen>(&tokens[j]);
            if (open != nullptr && open->name == "item") {
                Result<TeiInlines> item = tei_element_inlines(context_, j);
                if (!item) return std::move(item).error();
                std::vector<Block> body;
                body.push_back(paragraph(std::move(item->inlines)));
                Block::Para made = std::get<Block::Para>(para(ordered ? ".-" : "-", std::move(body)).node);
                if (ordered) made.taxis = Taxis::of(++number);
                children.emplace_back(std::move(made));
                append(children, std::move(item->blocks));
                j = item->next;
            } else if (open != nullptr && open->name == "head") {
                Result<TeiInlines> head = tei_element_inlines_without_notes(context_, j);
                if (!head) return std::move(head).error();
                children.push_back(single_sim_paragraph("#_", std::move(head->inlines)));
                j = head->next;
            } else {
                return unsupported(context_, j, "<list>");
            }
        }
        push(para(ordered ? ".." : "--", std::move(children)));
        return j + 1;
    }

    Result<std::size_t> figure(std::size_t i) {
        TeiTokens& tokens = context_.tokens;
        const XmlOpen& tag = std::get<XmlOpen>(tokens[i]);
        if (tag.self_closing) return i + 1;
        Block::Para made;
        made.mirrored = false;
        made.symbol = "<";
        if (const auto id = attribute_value(tag.attrs, "xml:id")) {
            Result<std::string> onym = context_.import.onym(*id);
            if (!onym) return std::move(onym).error();
            made.suffix.onym = std::move(*onym);
        }
        std::size_t j = i + 1;
        while (true) {
            j = skip_blank_texts(tokens, j);
            if (!tokens.has(j)) return tei_unterminated_error("figure");
            if (closes(tokens[j], "figure")) break;
            const auto* open = std::get_if<XmlOpen>(&tokens[j]);
            const std::string_view name = open != nullptr ? std::string_view(open->name) : std::string_view();
            if (name == "head") {
                Result<TeiInlines> head = tei_element_inlines_without_notes(context_, j);
                if (!head) return std::move(head).error();
                made.lemma = std::move(head->inlines);
                j = head->next;
            } else if (name == "graphic") {
                if (const auto url = attribute_value(open->attrs, "url")) {
                    made.children.emplace_back(Block::Enmedia{writable_parameter(*url)});
                }
                j = after_own_close(tokens, j);
            } else if (name == "figDesc") {
                Result<std::size_t> next = after_element(j);
                if (!next) return next;
                j = *next;
            } else {
                return unsupported(context_, j, "<figure>");
            }
        }
        push(std::move(made));
        return j + 1;
    }

    // A cast list leaves its heads and cast items at the level it stands.
    Result<std::size_t> cast_list(std::size_t i) {
        TeiTokens& tokens = context_.tokens;
        if (std::get<XmlOpen>(tokens[i]).self_closing) return i + 1;
        std::vector<Block> made;
        std::size_t j = i + 1;
        while (true) {
            j = skip_blank_texts(tokens, j);
            if (!tokens.has(j)) return tei_unterminated_error("castList");
            if (closes(tokens[j], "castList")) break;
            const auto* open = std::get_if<XmlOpen>(&tokens[j]);
            if (open == nullptr || (open->name != "head" && open->name != "castItem")) {
                return unsupported(context_, j, "<castList>");
            }
            Result<TeiInlines> content = tei_element_inlines_without_notes(context_, j);
            if (!content) return std::move(content).error();
            made.push_back(single_sim_paragraph(open->name == "head" ? "#_" : ":!", std::move(content->inlines)));
            j = content->next;
        }
        push_all(std::move(made));
        return j + 1;
    }

    TeiContext& context_;
    std::string_view close_;
    std::size_t level_;
    TeiBlockStream* stream_;
    LevelOutput* output_;
    MarkedBlocks out_;
};

Result<MarkedTeiBlocks> marked_blocks(TeiContext& context, std::size_t start, std::string_view close,
                                     std::size_t level, TeiBlockStream* stream, LevelOutput* output) {
    Result<NestingDepth::Level> entered = context.import.enter();
    if (!entered) return std::move(entered).error();
    return BlockWalk(context, close, level, stream, output).run(start);
}

// One table row as a line: "| a | b |".
Result<TeiInlines> table_row(TeiContext& context, std::size_t start) {
    TeiTokens& tokens = context.tokens;
    std::string line = "|";
    std::size_t j = start;
    while (true) {
        j = skip_blank_texts(tokens, j);
        if (!tokens.has(j)) return tei_unterminated_error("table");
        if (closes(tokens[j], "row")) break;
        const auto* open = std::get_if<XmlOpen>(&tokens[j]);
        if (open == nullptr || open->name != "cell") return unsupported(context, j, "<row>");
        Result<TeiInlines> cell = tei_element_inlines_without_notes(context, j);
        if (!cell) return std::move(cell).error();
        line += ' ';
        line += inline_plain_text(cell->inlines);
        line += " |";
        j = cell->next;
    }
    if (line == "|") line = "|  |";
    std::vector<Inline> only;
    only.emplace_back(Inline::Text{std::move(line)});
    return TeiInlines{std::move(only), {}, j + 1};
}

}  // namespace

Result<TeiBlocks> import_tei_blocks(TeiContext& context, std::size_t start, std::string_view close,
                                    std::size_t level) {
    Result<MarkedTeiBlocks> marked = marked_blocks(context, start, close, level);
    if (!marked) return std::move(marked).error();
    return TeiBlocks{std::move(marked->blocks).release(), marked->next};
}

Result<std::size_t> stream_tei_blocks(TeiContext& context, std::size_t start, std::string_view close,
                                      TeiBlockStream& stream) {
    BodyOutput output(stream);
    Result<MarkedTeiBlocks> marked = marked_blocks(context, start, close, 0, &stream, &output);
    if (!marked) return std::move(marked).error();
    return marked->next;
}

Result<TeiBlocks> import_tei_content_blocks(TeiContext& context, std::size_t start, std::string_view close) {
    TeiTokens& tokens = context.tokens;
    std::size_t first = start;
    while (tokens.has(first)) {
        const auto* open = std::get_if<XmlOpen>(&tokens[first]);
        const bool milestone = open != nullptr && open->self_closing && open->name == "milestone";
        if (!milestone && !is_blank_text(tokens[first])) break;
        ++first;
    }
    const auto* open = tokens.has(first) ? std::get_if<XmlOpen>(&tokens[first]) : nullptr;
    if (open != nullptr && (open->name == "lg" || open->name == "l" || open->name == "p")) {
        return import_tei_blocks(context, start, close, 0);
    }
    Result<TeiInlines> content = import_tei_inlines(context, start, close);
    if (!content) return std::move(content).error();
    TeiBlocks out;
    out.blocks.push_back(paragraph(std::move(content->inlines)));
    append(out.blocks, std::move(content->blocks));
    out.next = content->next;
    return out;
}

Result<TeiBlocks> tei_element_content_blocks(TeiContext& context, std::size_t open) {
    const XmlOpen& tag = std::get<XmlOpen>(context.tokens[open]);
    if (tag.self_closing) {
        TeiBlocks empty;
        empty.blocks.push_back(paragraph({}));
        empty.next = open + 1;
        return empty;
    }
    return import_tei_content_blocks(context, open + 1, tag.name);
}

Result<TeiBlock> import_tei_table(TeiContext& context, std::size_t start) {
    Result<NestingDepth::Level> level = context.import.enter();
    if (!level) return std::move(level).error();
    TeiTokens& tokens = context.tokens;
    Block::Stichoi table;
    table.symbol = "+";
    Strophe rows;
    std::size_t j = start;
    while (true) {
        j = skip_blank_texts(tokens, j);
        if (!tokens.has(j)) return tei_unterminated_error("table");
        if (closes(tokens[j], "table")) break;
        const auto* open = std::get_if<XmlOpen>(&tokens[j]);
        if (open != nullptr && open->name == "row") {
            if (open->self_closing) {
                rows.push_back({Inline::Text{"|  |"}});
                ++j;
                continue;
            }
            Result<TeiInlines> row = table_row(context, j + 1);
            if (!row) return std::move(row).error();
            rows.push_back(std::move(row->inlines));
            j = row->next;
        } else if (open != nullptr && open->name == "head") {
            Result<TeiInlines> head = tei_element_inlines_without_notes(context, j);
            if (!head) return std::move(head).error();
            table.lemma = std::move(head->inlines);
            j = head->next;
        } else {
            return unsupported(context, j, "<table>");
        }
    }
    table.strophes.push_back(std::move(rows));
    return TeiBlock{Block(std::move(table)), j + 1};
}

std::vector<std::string> lowercase_name_list(std::string_view text) {
    std::vector<std::string> genoses;
    if (std::optional<std::string> genos = writable_genos(unicode::ascii_lowercase(text))) {
        genoses.push_back(std::move(*genos));
    }
    return genoses;
}

}  // namespace ilvex
