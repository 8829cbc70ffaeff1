// The BibTeX importer: entries "@type{key, name = value, ...}" whose values
// are quoted, braced or digits, and @comment blocks, into a document of the
// standard dialektos bibliogramma: an entry block per entry (the key as its
// lemma, the lower-cased type as its genos) holding a field block per field
// (the lower-cased name as its lemma, the value as one paragraph). Values
// are kept as written, white space aside: no macros, concatenation, crossref
// or TeX decoding.
#pragma once

#include <string>
#include <string_view>

#include "dendron/document.hpp"
#include "dialektos/result.hpp"
#include "endo/import_sink.hpp"

namespace ilvex {

// Gives `sink` the declaration, then each entry as soon as it is read.
// Fails ("missing or unreadable resource: bibtex import: ...") on anything
// outside that subset: text between entries, "%" comments, @string,
// @preamble, parenthesised entries, macros and "#" concatenation.
Status import_bibtex(std::string_view text, ImportSink& sink);

// The whole imported tree, collected from the above.
Result<Document> import_bibtex(std::string_view text);

// `text` trimmed of white space at both ends, with every other run of white
// space replaced by one space.
std::string normalize_whitespace(std::string_view text);

}  // namespace ilvex
