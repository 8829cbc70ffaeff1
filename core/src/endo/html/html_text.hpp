// Values of an HTML text as the importer takes them: numbers in names and
// attributes, class words, and the white space of text that the document
// writes on one line, on verse lines or as running text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "endo/xml/xml_token.hpp"

namespace ilvex {

// An unsigned decimal number: an optional "+", then ASCII digits only,
// leading zeros allowed, the value fitting 64 bits ("+05" gives 5).
std::optional<std::uint64_t> read_html_number(std::string_view text);

// The first "class" attribute split at white space, empty pieces dropped;
// none without one.
std::vector<std::string_view> html_class_words(const std::vector<XmlAttribute>& attrs);

// The words that can be written as genoses, each kept, lower-cased or
// dropped.
std::vector<std::string> html_class_genoses(const std::vector<std::string_view>& words);

bool is_white_space_only(std::string_view text);

// Running text, written on lines of a paragraph: a blank line there would
// end it, so every white-space run holding two or more line feeds becomes
// one line feed. Texts side by side are joined first (they are written as
// one), in nested markup too.
void as_running_text(std::vector<Inline>& inlines);

// A lemma or hypograph, written on one line: white space runs become one
// space, in nested markup too, and the ends are trimmed.
void as_single_line(std::vector<Inline>& inlines);

// A verse line: each line feed becomes a space, in nested markup too.
void as_verse_line(std::vector<Inline>& inlines);

}  // namespace ilvex
