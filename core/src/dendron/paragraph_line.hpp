// The text of a paragraph, written straight from its inlines (as a tree or
// as a flat list) when they are of the few kinds most paragraphs hold:
// texts with no more to escape than a sigil, over one line or several,
// endo-simmeres spelled by their symbol, enlexeis, deixeis, monosims,
// milestones and onym anchors; and the opening and closing lines of a Para
// with neither lemma nor hypograph. Most of a document is such blocks, and
// the writer's general cases (pieces, names, the tree itself) cost it more
// than the text does.
#pragma once

#include <array>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "dendron/flat_inlines.hpp"
#include "dendron/writer_forms.hpp"
#include "dialektos/model.hpp"
#include "dialektos/symbol_index.hpp"

namespace ilvex {

// The "{name}" that plerographic text writes a sim by, for its symbol:
// null when the sim has none to be written by (a paragraph is then left to
// the writer, whose naming meets the same failure and tells it).
class SimNames {
public:
    virtual ~SimNames() = default;
    virtual const std::string* name_of(std::string_view symbol) = 0;
};

// Writes what the document writer writes for a paragraph, or declines, and
// the paragraph is left to the writer: every rule the writer applies to
// these kinds is applied here the same way, and a paragraph that would
// meet any other (a sigil, backslash or carriage return to write
// otherwise, a sim spelled by name or with a comment, an enlexis in
// pieces, a deixis opening a line, a line that may yet meet the closer of
// the block around it, an item of another kind) is declined.
class ParagraphLineWriter {
public:
    // `dialektos` is the one the writer spells sims against; it must
    // outlive this writer.
    explicit ParagraphLineWriter(const Dialektos& dialektos);

    // Appends to `text` the text of a paragraph of `inlines` as written in
    // a body whose closer is `block_closer` ("" at the top level), without
    // its last line feed; false when the paragraph is left to the writer
    // (what was appended is then of no use). With `names`, each sim is
    // written by its "{name}", as the writer writes a tree whose symbols
    // were renamed so.
    bool write(const FlatInlines& inlines, std::string_view block_closer, std::string& text,
               SimNames* names = nullptr);
    bool write(const std::vector<Inline>& inlines, std::string_view block_closer, std::string& text,
               SimNames* names = nullptr);

    // The opening line of `para` (line feed included), the closer of its
    // body and its closing line, as the writer writes them; false when it
    // is left to the writer.
    bool para_lines(const Block::Para& para, std::string& opener, std::string& closer, std::string& closing);

private:
    // The items from `i` up to the Close that ends their list, or to the
    // end: `closer` is the closer of the enclosing endo-simmere, "" for the
    // paragraph itself. `i` is left at that Close.
    bool items(std::size_t& i, std::string_view closer);
    // The item at `i`, not a text, and `i` moved past it; `previous` what
    // it leaves for the text after it.
    bool item(std::size_t& i, writing::After& previous);
    bool endo_simmere(std::size_t& i, const FlatInline*& close);
    // The call "@symbol(param)" of a monosim or deixis, when the writer
    // spells its sim by the symbol, or "@{name}(param)".
    bool call(std::string_view symbol, std::string_view param, const Suffix* suffix);
    // What a sim of `symbol` is written by: the symbol, or its name when
    // the list is written by name; empty when it has none.
    std::string_view token_of(std::string_view symbol) const;
    // How the item `next`, not a text, begins: its sigils and what follows
    // them (see writing::opener_of); empty when its sim cannot be named.
    std::string_view opener_of(const FlatInline& next);
    bool text(std::string_view text, const FlatInline* next, std::string_view closer,
              const writing::After& previous);
    // Whether the closer of the enclosing item would be read at a scanning
    // position of the text written from `start`, with `opener` after it.
    bool closes_early(std::size_t start, std::string_view opener, std::string_view closer) const;
    // Whether the current line, text so far and then `opener`, would begin
    // with the closer of the enclosing block.
    bool meets_block_closer(std::string_view opener);
    // What the parser may take into the symbol of the endo-simmere opened
    // at `open`, as writing::lead_after_opener tells it of a tree.
    std::string lead_after(std::size_t open) const;
    // Whether the content of the endo-simmere opened at `open` begins with
    // an ASCII character that no symbol takes (most content begins with a
    // letter or a space): nothing after its symbol can then run on into it.
    bool begins_plain(std::size_t open) const;
    // Whether the writer spells the sim of `symbol`, met with `run` after
    // the sigil, by its symbol with no comment after it.
    bool spelled_as_is(std::string_view symbol, std::string_view run) const;
    // The first visible character of the current line is written next.
    void begin_visible();

    // How an endo-simmere whose text begins with no symbol character is
    // written: by its symbol or not (by name, it always is), and its closer.
    struct EndoSpelling {
        std::string symbol;
        bool mirrored;
        const SimNames* names;  // null: spelled by the symbol
        bool as_is;
        std::string opener;  // the sigil and the symbol or name
        std::string closer;
    };
    // Null when the sim cannot be named.
    const EndoSpelling* endo_spelling(std::string_view symbol, bool mirrored);
    // The spelling among all those met, or made now, and remembered in `slot`.
    const EndoSpelling* find_endo_spelling(std::size_t slot, std::string_view symbol, bool mirrored);

    // How a Para of a symbol, with or without a taxis, is opened and closed.
    struct ParaSpelling {
        std::string symbol;
        bool mirrored;
        bool taxis;
        bool as_is;
        bool lemma_required;
        bool hypograph_required;
        std::string closer;
    };
    const ParaSpelling& para_spelling(const Block::Para& para);

    // The index of a standard dialektos is shared; another gets its own.
    std::optional<SymbolIndex> own_symbols_;
    const SymbolIndex& symbols_;
    std::deque<EndoSpelling> endo_spellings_;  // the few symbols met; a deque keeps them in place
    // The one met last for each first byte (less its top bit), 0x80 more
    // when mirrored and 0x100 more when named.
    std::array<const EndoSpelling*, 512> last_spellings_{};
    std::deque<ParaSpelling> para_spellings_;
    // The items of the list being written (their count read once: a
    // paragraph's loops test it at every item).
    const FlatInline* list_ = nullptr;
    std::size_t size_ = 0;
    bool texts_as_they_stand_ = false;
    SimNames* names_ = nullptr;  // the names of the list being written, if by name
    FlatInlines flattened_;  // a tree's items, flattened for write
    std::string* out_ = nullptr;
    std::string_view block_closer_;
    bool at_line_start_ = true;  // nothing but white space on the current line yet
    std::size_t line_start_ = 0; // where the current line's first visible character is
    std::size_t escaped_at_ = 0; // the character after the latest escaping backslash
    std::string line_;           // the current line and the opener after it, to test against the closer
    std::string joined_;  // consecutive texts, which the writer writes as one
    std::string opener_;
};

}  // namespace ilvex
