// What a dictionary's entries are known by: homograph numbers for entries
// that share a headword, and the key an entry identifier is rewritten to.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "dendron/document.hpp"

namespace ilvex {

// What an entry's key needs: its headword key, its taxis and its
// identifier.
struct TeiEntrySummary {
    std::string headword;
    Taxis taxis;
    std::optional<std::string> id;
};

// The headword key of an entry block: the texts standing directly in its
// lemma, joined, untrimmed.
std::string tei_headword_key(const Block::Para& entry);

TeiEntrySummary summarize_tei_entry(const Block::Para& entry, std::optional<std::string_view> id);

// Numbers 1, 2, ... the untaxed entries, in document order, whose headword
// key more than one entry shares, passing over the numbers that entries of
// the same key carry already (those count, keep their number and take
// none).
void number_tei_homographs(std::vector<TeiEntrySummary>& entries);

// The headword as a key: alphanumeric runs as they are, case kept, joined
// by single "-" in place of whatever stands between them.
std::string tei_headword_slug(std::string_view headword);

// Identifier to key for each identified entry: the slug of its headword,
// then "-" and its number when it has one; an entry without number and
// with an empty slug gets no key. A later identifier wins.
std::unordered_map<std::string, std::string> tei_entry_keys(const std::vector<TeiEntrySummary>& entries);

}  // namespace ilvex
