// The tokens of an HTML text as the importer's converters read them: one at
// a time, with one token of look-ahead, the document head and the html and
// body tags left out.
#pragma once

#include <optional>
#include <string_view>

#include "dialektos/error.hpp"
#include "dialektos/result.hpp"
#include "endo/xml/xml_token.hpp"
#include "endo/xml/xml_tokenizer.hpp"

namespace ilvex {

class HtmlTokens {
public:
    explicit HtmlTokens(std::string_view text) : reader_(XmlTokenReader::html(text)) {}

    // The next token, or null at the end. A tokenizer error also ends the
    // tokens; the converters then fail as at any end, and the import
    // reports the tokenizer's error instead (see result()).
    const XmlToken* peek();

    // The next token, taken out; nothing at the end.
    std::optional<XmlToken> take();

    // Drops the next token, which the caller has peeked at.
    void skip() { (void)take(); }

    // What the import gives once the converters are done, `converted` being
    // their status: an error of the tokenizer comes first, wherever in the
    // text it lies, as though the whole text had been tokenized before any
    // of it was converted. After a converter error the rest of the text is
    // read for one.
    Status result(Status converted);

private:
    // Reads the next token that the filter keeps into `next_`.
    void fill();

    XmlTokenReader reader_;
    std::optional<XmlToken> next_;
    bool filled_ = false;
    bool ended_ = false;
    bool in_head_ = false;
    std::optional<Error> error_;
};

// Whether `token` (null at the end) is a start or end tag named `name`.
bool is_html_open(const XmlToken* token, std::string_view name);
bool is_html_close(const XmlToken* token, std::string_view name);

}  // namespace ilvex
