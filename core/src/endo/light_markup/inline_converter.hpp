// The inline scan that the light-markup converters share: plain text copied
// a run at a time, each format's constructs read where their bytes stand,
// and the constructs that several formats have: backslash escapes of ASCII
// punctuation, spans under the flanking rules, code spans, autolinks and
// links "[text](url)".
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "dialektos/byte_set.hpp"
#include "endo/light_markup/light_markup.hpp"
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
    // The bytes the scan stops at: `constructs`, those that may begin a
    // construct of the format, and with `escapes` the backslash, which
    // escapes the ASCII punctuation after it. A format builds its own once,
    // not once for every text it converts.
    struct Starts {
        constexpr Starts(std::string_view constructs, bool escapes) : bytes(constructs), escapes(escapes) {
            if (escapes) bytes.add('\\');
        }
        ByteSet bytes;
        bool escapes;
    };

    // `starts` must outlive the converter.
    LightInlineConverter(std::string_view text, const Starts& starts) : text_(text), starts_(starts) {}
    LightInlineConverter(const LightInlineConverter&) = delete;
    LightInlineConverter& operator=(const LightInlineConverter&) = delete;
    ~LightInlineConverter() = default;

    // The construct that the byte at `i`, one of `constructs`, begins in the
    // range [begin, end): its items appended to `out`, and the index after
    // it; or nothing, `out` left as it was: the byte is text. Constructs
    // append to the list being converted rather than giving lists of their
    // own, most of which would hold one item.
    virtual std::optional<std::size_t> construct_at(std::size_t i, std::size_t begin, std::size_t end,
                                                    std::vector<Inline>& out) const = 0;

    // The inlines of [begin, end) appended to `out`, as convert gives them
    // but for the backslashes at the end of a text, which the list they end
    // up in isolates once it is whole.
    void convert_into(std::size_t begin, std::size_t end, std::vector<Inline>& out) const;

    // The closer of the span that the delimiter at `i` opens under the
    // flanking rules in the range [begin, end), or nothing.
    std::optional<std::size_t> flanking_closer(const ClosingDelimiterIndex& closers, std::size_t i,
                                               std::size_t begin, std::size_t end) const;
    // A code span from the backtick at `i` to the next one.
    std::optional<std::size_t> code_span(std::size_t i, std::size_t end, std::vector<Inline>& out) const;
    // An autolink "<scheme:rest>" whose "<" is at `i`.
    std::optional<std::size_t> autolink(std::size_t i, std::size_t end, std::vector<Inline>& out) const;
    // "[text](url)" whose "[" is at `i`; an inline image "![" stays text.
    std::optional<std::size_t> link(std::size_t i, std::size_t begin, std::size_t end,
                                    std::vector<Inline>& out) const;
    // The items of a literal text (a code span's) appended to `out`.
    static void append_literal(std::string_view text, std::vector<Inline>& out);
    // The first "]" at or after `from` and before `end`.
    std::optional<std::size_t> close_bracket(std::size_t from, std::size_t end) const {
        return close_brackets_.first(from, end);
    }

    std::string_view text_;

private:
    const Starts& starts_;
    NextOccurrence backticks_{text_, "`"};
    NextOccurrence close_brackets_{text_, "]"};
    NextOccurrence close_parens_{text_, ")"};
    mutable std::u32string autolink_candidate_;  // the characters an autolink is read from
};

}  // namespace ilvex
