// The cursor over one inline text, shared by the inline parser and the
// suffix reader.
//
// The scanner walks the bytes of a UTF-8 view and only ever stops on
// character boundaries. Locations are in characters: the line and character
// column of a position are counted only when an error is built, so the
// common path never pays for them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "dendron/flat_inlines.hpp"
#include "dendron/reference_sink.hpp"
#include "dialektos/error.hpp"
#include "dialektos/symbol_index.hpp"
#include "parser/inline_scratch.hpp"

namespace ilvex {

class BlockSink;

struct InlineScanner {
    std::string_view text;
    std::string_view path;        // the document's path, for error locations
    std::size_t pos = 0;          // byte offset of the next character; only moves forward
    std::uint64_t base_line = 0;  // 0-based index of the document line the text begins on
    bool backslash = false;       // the document's sigil is the backslash
    std::size_t nesting = 0;      // nested items open around the position
    // Where item lists are gathered; null gives the parse a scratch of its own.
    InlineScratch* scratch = nullptr;
    // Off for a parse that only validates: items are read and checked, then
    // dropped, so no list or text of the tree is built.
    bool keep = true;
    // Where the references read go (a parse for the outline); null inside an
    // endo-axioma, whose body holds none.
    ReferenceSink* references = nullptr;
    // The index of the dialektos the text is parsed with, when there is one.
    const SymbolIndex* symbols = nullptr;
    // Where the top-level items of a long paragraph go in parts as they are
    // read, when its sink takes them (see BlockSink::paragraph_part).
    BlockSink* paragraph_parts = nullptr;
    // Where the items go as a flat list instead of a tree (`keep` off), for
    // a sink that writes such a paragraph itself.
    FlatInlines* flat = nullptr;

    char sigil() const { return backslash ? '\\' : '@'; }
    // The other sigil character escapes the sigil and "|".
    char escape() const { return backslash ? '@' : '\\'; }
    bool at_end() const { return pos >= text.size(); }
    std::string_view rest() const { return at_end() ? std::string_view() : text.substr(pos); }
    // Compared byte by byte: what is looked for is a closer of a few bytes,
    // shorter than the set-up of a call to compare.
    bool at(std::string_view s) const {
        const std::string_view here = rest();
        if (here.size() < s.size()) return false;
        for (std::size_t k = 0; k < s.size(); ++k) {
            if (here[k] != s[k]) return false;
        }
        return true;
    }
    bool byte_is(std::size_t offset, char c) const {
        return offset < text.size() && text[offset] == c;
    }
};

// The text from the position up to the first `delimiter`, the scanner moved
// past the delimiter; nothing when it does not occur, the scanner moved to
// the end. At the end it gives nothing and does not move.
std::optional<std::string_view> read_until(InlineScanner& scanner, std::string_view delimiter);

// The location of the scanner position (past the end counts as the end).
ErrorLocation cursor_position(const InlineScanner& scanner);

// The location of byte `offset` of the scanned text.
ErrorLocation location_at(const InlineScanner& scanner, std::size_t offset);

// `error` placed at byte `offset`, or at the scanner position.
Error error_at(const InlineScanner& scanner, std::size_t offset, Error error);
Error error_here(const InlineScanner& scanner, Error error);

}  // namespace ilvex
