// The inline scan that the Markdown and djot converters share: plain text
// copied a run at a time, backslash escapes of ASCII punctuation, code
// spans, autolinks and links "[text](url)"; each format adds the constructs
// of its own (its emphasis, its footnote references).
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "dialektos/byte_set.hpp"
#include "endo/light_markup/next_occurrence.hpp"

namespace ilvex {

// Converts ranges of one text. A construct's content (a span's, a link
// text's) is converted as a range of its own. Every construct byte is ASCII
// and no byte of a multi-byte UTF-8 character is, so the text is scanned as
// bytes and every index is a byte offset.
class LightInlineConverter {
public:
    // The inlines of the bytes [begin, end) of the text.
    std::vector<Inline> convert(std::size_t begin, std::size_t end) const;
    std::size_t size() const { return text_.size(); }

protected:
    // What a construct at `i` gave: the index after it, the items to emit.
    struct Construct {
        std::size_t end;
        std::vector<Inline> items;
    };

    // `constructs`: the bytes that may begin a construct of the format,
    // besides the backslash of an escape.
    LightInlineConverter(std::string_view text, std::string_view constructs);
    LightInlineConverter(const LightInlineConverter&) = delete;
    LightInlineConverter& operator=(const LightInlineConverter&) = delete;
    ~LightInlineConverter() = default;

    // The construct that the byte at `i`, one of `constructs`, begins in the
    // range [begin, end), or nothing: the byte is text.
    virtual std::optional<Construct> construct_at(std::size_t i, std::size_t begin,
                                                  std::size_t end) const = 0;

    // A code span from the backtick at `i` to the next one.
    std::optional<Construct> code_span(std::size_t i, std::size_t end) const;
    // An autolink "<scheme:rest>" whose "<" is at `i`.
    std::optional<Construct> autolink(std::size_t i, std::size_t end) const;
    // "[text](url)" whose "[" is at `i`; an inline image "![" stays text.
    std::optional<Construct> link(std::size_t i, std::size_t begin, std::size_t end) const;
    // The first "]" at or after `from` and before `end`.
    std::optional<std::size_t> close_bracket(std::size_t from, std::size_t end) const {
        return close_brackets_.first(from, end);
    }

    std::string_view text_;

private:
    ByteSet starts_;
    NextOccurrence backticks_{text_, '`', false};
    NextOccurrence close_brackets_{text_, ']', false};
    NextOccurrence close_parens_{text_, ')', false};
};

}  // namespace ilvex
