// The tokens of a DocBook text, read one at a time as the converters walk
// it: a long text is never held as a whole token list. A tokenizer error
// anywhere in the text wins over a converter's error before it, so a failed
// conversion reads the rest of the text for one (first_error).
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "dialektos/result.hpp"
#include "endo/import_context.hpp"
#include "endo/xml/xml_tokenizer.hpp"

namespace ilvex {

// The pieces of a message side by side.
std::string joined(std::initializer_list<std::string_view> pieces);

class DocbookTokens {
public:
    explicit DocbookTokens(std::string_view text) : reader_(XmlTokenReader::xml(text)) {}

    // The next token, or nothing at the end of the text.
    Result<std::optional<XmlToken>> next() { return reader_.next(); }

    // The next token inside element `name`: the end of the text fails with
    // "unterminated <name>" built by `make_error`.
    Result<XmlToken> next_inside(std::string_view name, ImportErrorConstructor make_error);

    // Reads past the end of element `name`, whose start tag was just read:
    // nested start tags of the same name count up, its end tags down, other
    // tokens are passed over. No end fails with "tei import: unterminated
    // <name>", as every XML importer reports an element it skips.
    Status skip(std::string_view name);

    // The text of element `name`, which may hold text only: entity-decoded,
    // line feeds (only those) removed at both ends. Any markup fails with
    // "docbook import: unsupported <debug text> in <name>".
    Result<std::string> text_only(std::string_view name);

    // The error to report for a conversion that failed with `failure`: the
    // first tokenizer error in the rest of the text, else `failure`.
    Error first_error(Error failure);

private:
    XmlTokenReader reader_;
};

}  // namespace ilvex
