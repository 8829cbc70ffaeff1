// The tokens of an XML text as converters walk them by index, read from the
// tokenizer only as far as a converter asks and dropped once no converter
// needs them, so that an import holds a window of tokens, never the whole
// list.
#pragma once

#include <cstddef>
#include <deque>
#include <string_view>

#include "dialektos/result.hpp"
#include "endo/xml/xml_tokenizer.hpp"
#include "endo/xml/xml_walk.hpp"

namespace ilvex {

class TokenWindow {
public:
    explicit TokenWindow(std::string_view text) : reader_(XmlTokenReader::xml(text)) {}

    // The token at index `i` (counted from the first token of the text, and
    // not released), null after the last one, or the tokenizer's error.
    // References to tokens stay valid until they are released.
    Result<const XmlToken*> at(std::size_t i);

    // Drops the tokens before index `i`: nothing may refer to them any more.
    void release(std::size_t i);

    // The error an import reports for `error`, met at some token: a
    // tokenizer error later in the text comes first, as it would had the
    // whole text been tokenized before converting.
    Error first_error(Error error);

    // element_text_only for the element whose start tag `open` stands just
    // before `start`; a self-closing tag has no content to read on to.
    Result<ElementText> text_only(std::size_t start, const XmlOpen& open);

    // skip_element_at: the index after the end tag of the element `name`
    // whose content starts at `start`, counting nested elements of that
    // name. Each token is read once.
    Result<std::size_t> skip(std::size_t start, std::string_view name);

private:
    XmlTokenReader reader_;
    std::deque<XmlToken> tokens_;  // a deque keeps references as it grows
    std::size_t first_ = 0;        // the index of tokens_.front()
};

}  // namespace ilvex
