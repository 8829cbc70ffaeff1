// The inline scan that the light-markup converters share: plain text copied
// a run at a time, each format's constructs read where their bytes stand,
// and the constructs that several formats have: backslash escapes of ASCII
// punctuation, spans under the flanking rules, code spans, autolinks and
// links "[text](url)".
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "dialektos/byte_set.hpp"
#include "endo/flat_tree.hpp"
#include "endo/light_markup/light_markup.hpp"
#include "endo/light_markup/next_occurrence.hpp"

namespace ilvex {

// The scan of one text that the converters share: the bytes it stops at,
// the indexes of closers, and the constructs several formats read, found
// without being built, so that a converter may build them as a tree or as a
// flat list. Every construct byte is ASCII and no byte of a multi-byte UTF-8
// character is, so the text is scanned as bytes and every index is a byte
// offset.
class LightInlineScanner {
public:
    std::size_t size() const { return text_.size(); }

protected:
    // The bytes the scan stops at: `constructs`, those that may begin a
    // construct of the format, and with `escapes` the backslash, which
    // escapes the ASCII punctuation after it. A format builds its own once,
    // not once for every text it converts.
    struct Starts {
        constexpr Starts(std::string_view constructs, bool escapes)
            : bytes(constructs), constructs(constructs), escapes(escapes) {
            if (escapes) bytes.add('\\');
        }
        ByteSet bytes;
        std::string_view constructs;
        bool escapes;
    };

    // `starts` must outlive the scanner.
    LightInlineScanner(std::string_view text, const Starts& starts);
    LightInlineScanner(const LightInlineScanner&) = delete;
    LightInlineScanner& operator=(const LightInlineScanner&) = delete;
    ~LightInlineScanner() = default;

    // Scans the bytes [begin, end): `text(from, to)` for each run of text
    // (an escaped character is a run of its own, without its backslash),
    // and `construct(i)` at each byte of `constructs`, which gives the
    // index after the construct it read, or nothing when the byte is text.
    template <class Text, class Construct>
    void scan(std::size_t begin, std::size_t end, Text&& text, Construct&& construct) const;

    // The closer of the span that the delimiter at `i` opens under the
    // flanking rules in the range [begin, end), or nothing.
    std::optional<std::size_t> flanking_closer(const ClosingDelimiterIndex& closers, std::size_t i,
                                               std::size_t begin, std::size_t end) const;
    // The closing backtick of a code span opened at `i`.
    std::optional<std::size_t> code_span_close(std::size_t i, std::size_t end) const {
        return backticks_.first(i + 1, end);
    }
    // An autolink "<scheme:rest>" whose "<" is at `i`: its target, which
    // views the text (`in_text`) or, until the next autolink is found, a
    // string of the scanner's own, and the index after its ">".
    struct FoundAutolink {
        std::string_view target;
        bool in_text;
        std::size_t end;
    };
    std::optional<FoundAutolink> find_autolink(std::size_t i, std::size_t end) const;

    // "[text](url)" whose "[" is at `i`; an inline image "![" is none.
    struct Link {
        enum class Form : std::uint8_t {
            Text,           // an empty url: the text alone
            Target,         // no text, or the url itself: the link alone
            TextAndTarget,  // the text, then " (", the link and ")"
        };
        Form form;
        std::size_t text_end;  // the "]"
        std::string_view url;  // trimmed
        std::size_t end;       // the index after the ")"
    };
    std::optional<Link> find_link(std::size_t i, std::size_t begin, std::size_t end) const;

    // The first "]" at or after `from` and before `end`.
    std::optional<std::size_t> close_bracket(std::size_t from, std::size_t end) const {
        return close_brackets_.first(from, end);
    }

    std::string_view text_;

private:
    // The bytes the scan stops at.
    std::size_t find_start(std::string_view range, std::size_t from) const {
        return few_starts_ ? few_starts_->find_in(range, from) : starts_.bytes.find_in(range, from);
    }

    const Starts& starts_;
    // The constructs alone when they are four at most and the text holds no
    // backslash to stop at: four compares a block, set up once a text,
    // find them faster than a scan that loops over its members.
    std::optional<FourBytes> few_starts_;
    NextOccurrence backticks_{text_, "`"};
    NextOccurrence close_brackets_{text_, "]"};
    NextOccurrence close_parens_{text_, ")"};
    mutable std::u32string autolink_candidate_;  // the characters an autolink is read from
    mutable std::string autolink_target_;        // a target that is not ASCII, encoded again
};

template <class Text, class Construct>
void LightInlineScanner::scan(std::size_t begin, std::size_t end, Text&& text, Construct&& construct) const {
    const std::string_view range = text_.substr(0, end);
    std::size_t i = begin;
    while (i < end) {
        const std::size_t next = find_start(range, i);
        if (next > i) text(i, next);
        i = next;
        if (i == end) break;
        if (text_[i] == '\\' && starts_.escapes) {
            // An escaped ASCII punctuation character is text; any other
            // backslash is text itself.
            if (i + 1 < end && is_ascii_punctuation(static_cast<unsigned char>(text_[i + 1]))) {
                text(i + 1, i + 2);
                i += 2;
            } else {
                text(i, i + 1);
                ++i;
            }
            continue;
        }
        if (const std::optional<std::size_t> after = construct(i)) {
            i = *after;
            continue;
        }
        text(i, i + 1);
        ++i;
    }
}

// Converts ranges of one text into inline trees. A construct's content (a
// span's, a link text's) is converted as a range of its own.
class LightInlineConverter : public LightInlineScanner {
public:
    // The inlines of the bytes [begin, end) of the text.
    std::vector<Inline> convert(std::size_t begin, std::size_t end) const;

protected:
    LightInlineConverter(std::string_view text, const Starts& starts) : LightInlineScanner(text, starts) {}
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

    // A code span from the backtick at `i` to the next one.
    std::optional<std::size_t> code_span(std::size_t i, std::size_t end, std::vector<Inline>& out) const;
    // An autolink "<scheme:rest>" whose "<" is at `i`.
    std::optional<std::size_t> autolink(std::size_t i, std::size_t end, std::vector<Inline>& out) const;
    // "[text](url)" whose "[" is at `i`; an inline image "![" stays text.
    std::optional<std::size_t> link(std::size_t i, std::size_t begin, std::size_t end,
                                    std::vector<Inline>& out) const;
};

}  // namespace ilvex
