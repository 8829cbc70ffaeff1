// The tokens of a TEI text as its converters walk them by index: read from
// the tokenizer only as far as a converter looks, and dropped once the
// import is past them, so that an import holds a window of tokens, never
// the whole list. Beside each token the window keeps what look-aheads ask
// of it (the index of its end tag, how many verse lines and prose blocks
// open before it), so that no question rescans what an earlier one read.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialektos/error.hpp"
#include "dialektos/result.hpp"
#include "endo/tei/tei_slot_queue.hpp"
#include "endo/xml/xml_tokenizer.hpp"
#include "endo/xml/xml_walk.hpp"

namespace ilvex {

class TeiTokens {
public:
    explicit TeiTokens(std::string_view text) : reader_(XmlTokenReader::xml(text)) {}

    TeiTokens(const TeiTokens&) = delete;
    TeiTokens& operator=(const TeiTokens&) = delete;

    // Whether there is a token at index `i` (counted from the first token of
    // the text). A tokenizer error ends the tokens where it stands; the
    // import reports it in place of whatever the converters made of the
    // tokens before it (see error()).
    bool has(std::size_t i) { return i < first_ + slots_.size() || read_to(i); }

    // The token at `i`, which has(i) confirmed and release() has not
    // dropped. References stay valid until released. Numbered divisions
    // ("div1" to "div9") are read as "div": their level comes from their
    // nesting.
    const XmlToken& operator[](std::size_t i) {
        if (i >= first_ && i < first_ + slots_.size()) return slots_[i - first_].token;
        return slot(i).token;
    }

    // For a start tag at `i`, the index of its end tag: the first later end
    // tag of its name at which the start and end tags of that name in
    // between balance. Nothing for a self-closing tag, an unclosed one, or
    // a token that is no start tag.
    std::optional<std::size_t> close_of(std::size_t i);

    // How many start tags of verse lines ("l"), and of prose ("p", "ab",
    // "quote"), stand before index `i`; an index past the last token gives
    // those of the whole text.
    std::size_t lines_before(std::size_t i);
    std::size_t prose_before(std::size_t i);

    // The index just after the end tag of element `name` whose content
    // starts at `start`, as skip_element_at gives it. Fails with "tei import:
    // unterminated <name>".
    Result<std::size_t> skip(std::size_t start, std::string_view name);

    // element_plain_text_at of the element `name` whose content starts at
    // `start`.
    Result<ElementText> plain_text(std::size_t start, std::string_view name);

    // The last 60 characters of the nearest text before `i` that is not
    // blank, trimmed and undecoded: where an error message says the
    // unread token stands.
    std::string near_text(std::size_t i);

    // Drops the tokens before index `i`: nothing may refer to them any more.
    void release(std::size_t i);

    // The tokenizer error that ended the tokens, once met.
    const std::optional<Error>& error() const { return error_; }

    // The error to report for a conversion that failed with `failure`: the
    // tokenizer error of the rest of the text, if any, else `failure`.
    Error first_error(Error failure);

private:
    struct Slot {
        XmlToken token;
        std::size_t close;  // the index of its end tag, once a look-ahead asked
        std::size_t lines_before;
        std::size_t prose_before;
    };

    // Reads one more token; false at the end of the tokens.
    bool read();
    // Reads up to index `i`; false when the tokens end before it.
    bool read_to(std::size_t i);
    // Fills in the end of the start tag `name` at `i`, and of those of its
    // name before that end.
    void find_close(std::size_t i, std::string_view name);
    Slot& slot(std::size_t i);

    XmlTokenReader reader_;
    TeiSlotQueue<Slot> slots_;  // keeps references as it grows
    std::size_t first_ = 0;     // the index of slots_.front()
    bool ended_ = false;
    std::optional<Error> error_;
    std::size_t lines_ = 0;     // verse line start tags read so far
    std::size_t prose_ = 0;     // prose start tags read so far
    std::string released_near_;  // the end of the last text released that is not blank
};

}  // namespace ilvex
