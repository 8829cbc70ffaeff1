// The writer of a document tree, one block at a time: the blocks and their
// layout in tree_writer_blocks.cpp, inline text and the spelling of sims in
// tree_writer_inlines.cpp.
#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "dendron/document.hpp"
#include "dendron/recent_entries.hpp"
#include "dendron/writer.hpp"
#include "dendron/writer_forms.hpp"
#include "dialektos/model.hpp"
#include "dialektos/sim_lookup.hpp"
#include "dialektos/symbol_index.hpp"

namespace ilvex::writing {

class TreeWriter {
public:
    TreeWriter(std::string& out, const Dialektos* dialektos, const ResolveDialektos& resolve)
        : out_(out), dialektos_(dialektos), resolve_(resolve), document_dialektos_(dialektos) {}

    void declaration(std::string_view dialektos, const std::optional<std::string>& version);

    // The next block of the innermost body opened and not yet closed, or of
    // the top level. The first top-level block that writes anything is
    // preceded by the blank line after the declaration.
    void next(const Block& block);

    // A block with a body, handed over before its children: its opener is
    // written now, its closing line by `close`.
    void open(const Block& block);

    // How much of the text written so far nothing looks back into any
    // more: all of it between blocks; within a paragraph written in parts,
    // what comes before the current line (read while the line may still
    // meet the closer of the enclosing block).
    std::size_t settled() const { return paragraph_ && !line_.at_line_start ? line_.line_start : out_.size(); }
    // The first `size` bytes of the text written, no more than settled(),
    // have gone elsewhere: positions after them move back, and none before
    // them is remembered any longer (the latest escape only matters within
    // the text it is in, and a paragraph's part ends in markup).
    void forget_written(std::size_t size) {
        escaped_at_ = nowhere;
        line_.line_start = line_.line_start >= size ? line_.line_start - size : 0;
    }
    // A paragraph of the body or top level that a caller writes itself, at
    // the end of the text written: begin_written_paragraph() writes what
    // separates it from the block before and returns where the text ended
    // before that, to cut it back to should the caller give up; once the
    // caller has written the text that next() would write (without its last
    // line feed), end_written_paragraph() ends it.
    std::size_t begin_written_paragraph();
    void end_written_paragraph();
    // Whether sims are spelled against `dialektos` where the writer stands
    // (the document's dialektos is not in force inside an Englossis).
    bool spells_against(const Dialektos* dialektos) const { return dialektos_ == dialektos; }
    // The closer of the innermost body opened, "" at the top level.
    std::string_view body_closer() const { return enclosing_closer(); }
    // A block with a body that open() would open with the line `opener`
    // (line feed included) and close with `closer`, which a caller has
    // written; its closing line, written too, goes through
    // written_close().
    void written_open(BlockKind kind, std::string_view opener, std::string closer);
    void written_close(std::string_view closing_line);

    void close(const Block& block);

    // The first items of a paragraph of the body or top level, in as many
    // parts as the caller likes, the last item of each not a text; the
    // paragraph's next() brings the rest and ends it. The text written
    // meanwhile may go elsewhere only as far as settled() says.
    void paragraph_part(const std::vector<Inline>& part);

private:
    struct Known;

    // How a para-simmere opens and closes: its token, the closer of its
    // body, and whether its form requires a lemma and a hypograph.
    struct ParaSpelling {
        std::string token;
        std::string closer;
        bool lemma_required = false;
        bool hypograph_required = false;
    };

    // How the body of a block ends: the closer that its lines may not begin
    // with, and whether the closing line requires a hypograph (known from
    // the opener, so that the close looks nothing up again).
    struct BodyEnd {
        std::string closer;
        bool hypograph_required = false;
    };

    // A block whose body is being written block by block.
    struct OpenBody {
        BodyEnd end;
        std::optional<BlockKind> previous;  // the last block of the body written
        const Dialektos* outer_dialektos;   // in force again after the body
    };

    std::optional<BlockKind> top_level_previous_;
    std::vector<OpenBody> open_;

    std::optional<BlockKind>& previous() { return open_.empty() ? top_level_previous_ : open_.back().previous; }
    std::string_view enclosing_closer() const { return open_.empty() ? std::string_view() : open_.back().end.closer; }

    // A sim token as written: the symbol or "{name}", and whether an empty
    // comment must follow it.
    struct Token {
        std::string text;
        bool comment_after = false;
    };

    // `closer` is the closer of the enclosing block ("" at the top level):
    // no line of a paragraph or verse may begin with it.
    void blocks(const std::vector<Block>& list, std::string_view closer);

    // One block of a sequence, after the blank line that separates it from
    // the last block written (`previous`), unless a monosim block stands on
    // either side.
    void sequence_item(const Block& block, std::optional<BlockKind>& previous, std::string_view closer);

    void separate(const std::optional<BlockKind>& previous, BlockKind next);
    // Before a block of the body or top level that writes something: the
    // blank line after the declaration, before the first one, or the one
    // that separates it from the block before.
    void separate_next(BlockKind kind);

    // Writes the opener of a block with a body (an Englossis puts its
    // dialektos in force) and returns how the body ends.
    BodyEnd open_body(const Block& block);

    // Writes the closing line of a block with a body.
    void close_body(const Block& block, const BodyEnd& end);

    void write(const Block& block, std::string_view closer);

    // A line that would close the block early, or a carriage return that
    // a document line loses at its end, cannot stand in the body: such a
    // text is written as the literal blocks that hold the same lines.
    void monad_enlexis(const Block::MonadEnlexis& x, std::string_view closer);

    void call_line(std::string_view open, std::string_view param, std::string_view close);

    // Writes the opener line of a para-simmere and returns its spelling.
    const ParaSpelling& opener(const std::string& symbol, bool mirrored, const Taxis& taxis,
                               const std::vector<Inline>& lemma);

    // The hypograph is written as text that follows no markup: the space in
    // front of it already ends the suffix.
    void closing_line(std::string_view closer, const Suffix& suffix, const std::vector<Inline>& hypograph,
                      bool required = false);

    // The para-simmere form of the sim a block's symbol (or "{name}") names.
    const ParaSimmere* para_form(std::string_view symbol);

    // The dialektos an Englossis block names, resolved once per id; null
    // when it cannot be resolved.
    const Dialektos* embedded(const std::string& id);

    // What is known of `dialektos_`, kept for each dialektos met; the last
    // one asked for is remembered, so most blocks find theirs at once.
    Known& known();

    // The index of `dialektos_`, built once for each dialektos met.
    const SymbolIndex& symbols();

    // A name lookup passes over every sim and glossa entry: each name is
    // looked up once per dialektos.
    NameLookup named(std::string_view name);

    // How a para-simmere of `symbol` opens and closes, worked out once per
    // dialektos, symbol, mirroring and presence of a taxis.
    const ParaSpelling& para_spelling(std::string_view symbol, bool mirrored, bool taxis);

    // Strophes are separated by one blank line; an empty one would only
    // add blank lines, which separate nothing more.
    void strophes(const std::vector<Strophe>& list, std::string_view closer);

    // A lemma or a hypograph: " " and the text, or nothing when the text
    // writes nothing. Where the sim requires one, an empty one (which the
    // parser reads from a comment) is written as a comment.
    void phrase(const std::vector<Inline>& list, bool required);

    // Writes inline text that stands on lines of its own, and leaves out
    // what the parser trims there, so that the text reads back as written.
    void text_lines(const std::vector<Inline>& list, Lines lines, std::string_view block_closer);

    // The line state of a text that begins on a line of its own here.
    void begin_text_lines(Lines lines, std::string_view block_closer);

    // Ends a paragraph whose items are written, and its line.
    void end_paragraph();

    // The rest of a paragraph begun by paragraph_part.
    void finish_paragraph(const Block& block);

    void trim_end(std::size_t start);

    // `closer` is the closer of the enclosing inline item, "" when none.
    void inlines(const std::vector<Inline>& list, std::string_view closer);

    // Writes the items of `list` after an item that left `previous`, and
    // leaves there what the last one leaves.
    void items_after(const std::vector<Inline>& list, std::string_view closer, After& previous);

    void items(const std::vector<Inline>& list, std::string_view closer, After& previous);

    // An enlexis holding its own closer is written in pieces that do not,
    // split just after the quote. So is one holding a line feed that the
    // text after it cannot follow on a line of its own: in a text of one
    // line, or where the parser would trim the next line's start, end the
    // paragraph there or read a block form; such a line feed is written
    // between the pieces as text. The suffix goes with the last piece.
    std::vector<Inline> enlexis_pieces(const Inline::Enlexis& enlexis);

    // Whether a paragraph line that begins with `rest` (an enlexis's text
    // up to its closer) stays in the paragraph, as the block parser reads
    // it. Unsure cases count as not.
    bool continues_paragraph(std::string_view rest);

    // Whether the sim token at the start of `text` names a sim that is not
    // a para-simmere.
    bool opens_no_para_simmere(std::string_view text);

    // `list` with each enlexis that needs it in pieces; null when none does.
    std::optional<std::vector<Inline>> in_pieces(const std::vector<Inline>& list);

    // No escape writes a backslash in front of the sigil or "|": the
    // backslashes that end a text in front of markup, or of a closer that
    // begins with "|", are written as an enlexis.
    void text_with_backslashes(std::string_view text, const Inline* next, std::string_view closer, After& previous);

    void text_item(std::string_view text, const Inline* next, std::string_view closer, After& previous);

    // Returns where the text itself begins, after a suffix guard.
    std::size_t write_text(std::string_view text, bool after_markup, bool before_markup);

    // Whether the enclosing closer would be read at a scanning position of
    // the text written from `start`, with `next` after it.
    bool closes_early(std::size_t start, std::string_view next, std::string_view closer) const;

    // Whether what follows the current line so far could still make it
    // begin with the closer of the enclosing block: a line already as long
    // as the closer cannot.
    bool line_may_meet_block_closer() const;

    // Whether the current line, text so far and then `next`, would begin
    // with the closer of the enclosing block.
    bool meets_block_closer(std::string_view next) const;

    void begin_visible();

    // A deixis that opens a paragraph line is a para-simmere token to the
    // block parser: on a later line it would end the paragraph, and on the
    // first line a target of digits would read as a taxis.
    void before_deixis(std::string_view target, std::string_view closer);

    // The closer of an inline item, written where a paragraph line begins,
    // could be read as (the start of) the closer of the enclosing block.
    void write_closer(std::string_view closer);

    void write(const Inline& item, std::string_view closer);

    void call(std::string_view head, std::string_view param);

    // How an endo-simmere is written: its token and its closer.
    struct EndoSpelling {
        Token token;
        std::string closer;
    };

    EndoSpelling spell_endo(std::string_view symbol, std::string_view run, bool mirrored);

    // Content that adds no symbol character after the token leaves the
    // spelling the same for every item of a sim, so it is worked out once;
    // any other content is spelled into `uncommon`.
    const EndoSpelling& endo_spelling(const Inline::EndoSimmere& x, EndoSpelling& uncommon);

    // The spelling of a sim whose symbol the parser would read from `run`
    // (the symbol and what is written after it). A symbol that would run on
    // into a longer one, or that begins with "(" (which opens an onym anchor
    // after the sigil), is spelled so that the parser finds this sim again:
    // an endo-simmere keeps its symbol and gets an empty comment after it,
    // any other sim is named.
    Token sim_token(std::string_view symbol, std::string_view run, bool endo);

    struct LineState {
        Lines lines = Lines::Single;
        std::string_view block_closer;
        bool first_line = true;     // a paragraph still on its first line
        bool at_line_start = true;  // nothing but white space on the current line yet
        std::size_t line_start = 0; // where the current line's first visible character is
    };

    // The spellings worked out for one dialektos and mirroring, by symbol;
    // the elements stay in place while more are added, so a spelling in use
    // is never moved. Symbols of one ASCII character are also found by it,
    // and longer ones (every "{name}" of plerographic text) among those
    // found lately.
    struct EndoSpellings {
        using BySymbol = std::unordered_map<std::string, EndoSpelling, SymbolHash, std::equal_to<>>;
        BySymbol by_symbol;
        std::array<const EndoSpelling*, 128> one_byte{};
        RecentEntries<BySymbol::value_type> recent;
    };

    // What the writer has worked out for one dialektos: its symbol index
    // (shared for a standard one), its name lookups, and the spellings of
    // its para-simmeres and (by mirroring) of its plain endo-simmeres.
    struct Known {
        // Made empty, without first clearing the room its optional parts
        // leave unused (as a map's operator[] would otherwise do).
        Known() {}

        const SymbolIndex* symbols = nullptr;
        std::optional<SymbolIndex> own_symbols;  // when no shared index exists
        std::unordered_map<std::string, NameLookup, SymbolHash, std::equal_to<>> names;
        using ParaSpellings = std::unordered_map<std::string, ParaSpelling, SymbolHash, std::equal_to<>>;
        ParaSpellings para_spellings;
        RecentEntries<ParaSpellings::value_type> recent_para_spellings;
        std::array<std::unique_ptr<EndoSpellings>, 2> plain_endo_spellings;  // made when first used
    };

    std::string& out_;
    const Dialektos* dialektos_;
    const ResolveDialektos& resolve_;
    LineState line_;
    // While a paragraph is written in parts: what its last item written left.
    std::optional<After> paragraph_;
    std::size_t escaped_at_ = nowhere;  // the character after the latest escaping backslash
    std::string opener_buffer_;         // reused by every text followed by markup
    std::map<std::string, std::optional<Dialektos>, std::less<>> embedded_;
    // What is known of the document's own dialektos is kept at hand; that of
    // the dialektoi of Englossis blocks, in the map.
    const Dialektos* document_dialektos_;
    Known document_known_;
    std::map<const Dialektos*, Known> known_;
    const Dialektos* known_for_ = nullptr;
    Known* known_last_ = nullptr;
    std::string key_buffer_;  // reused to look spellings up without a copy
};

}  // namespace ilvex::writing
