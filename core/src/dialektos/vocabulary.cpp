#include "dialektos/vocabulary.hpp"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "dialektos/unicode.hpp"

namespace ilvex {
namespace {

struct Addition {
    std::string_view term;
    std::string_view alias;
};

struct Conflict {
    std::string_view alias;
    std::string_view earlier;  // the smallest term holding the alias
    std::string_view later;    // the next smallest
};

// A check of the whole vocabulary visits the terms in byte order and each
// term's aliases in byte order, and stops at the first alias that a smaller
// term holds too. For an alias held by several terms that visit happens at its
// second smallest holder, so the first conflict is the one with the smallest
// (second holder, alias). Only aliases this block added can have two holders.
std::optional<Conflict> first_conflict(const std::vector<Addition>& added,
                                       const AliasClaims& claims) {
    // Every (alias, holder) pair, sorted: the additions, and the earlier
    // owner of each added alias, listed once however often it was added.
    std::vector<std::pair<std::string_view, std::string_view>> holders;
    holders.reserve(2 * added.size());
    for (const Addition& addition : added) {
        holders.emplace_back(addition.alias, addition.term);
        if (const auto owner = claims.find(addition.alias); owner != claims.end()) {
            holders.emplace_back(addition.alias, owner->second);
        }
    }
    std::sort(holders.begin(), holders.end());
    holders.erase(std::unique(holders.begin(), holders.end()), holders.end());
    std::optional<Conflict> first;
    for (std::size_t i = 1; i < holders.size(); ++i) {
        const bool second_holder = holders[i].first == holders[i - 1].first &&
                                   (i < 2 || holders[i - 2].first != holders[i].first);
        if (!second_holder) continue;
        const Conflict conflict{holders[i].first, holders[i - 1].second, holders[i].second};
        if (!first || std::pair(conflict.later, conflict.alias) < std::pair(first->later, first->alias)) {
            first = conflict;
        }
    }
    return first;
}

}  // namespace

Result<std::size_t> read_vocabulary_block(const DefinitionText& text, std::size_t open,
                                          VocabularyState state) {
    const Keywords& keywords = text.keywords;
    const std::string name(unicode::trim(text.lines.trimmed(open).substr(keywords.vocabulary_open.size())));
    Vocabulary& vocabulary = state.vocabularies[name];
    std::vector<Addition> added;
    for (std::size_t index = open + 1; index < text.lines.size(); ++index) {
        const std::string_view line = text.lines.trimmed(index);
        if (line == keywords.vocabulary_close) {
            AliasClaims& claims = state.claims[name];
            if (const auto conflict = first_conflict(added, claims)) {
                return text.invalid(index, "vocabulary " + quoted(name) + ": alias " +
                                               quoted(conflict->alias) + " is claimed by both " +
                                               quoted(conflict->earlier) + " and " +
                                               quoted(conflict->later));
            }
            for (const Addition& addition : added) {
                claims.emplace(std::string(addition.alias), std::string(addition.term));
            }
            return index + 1;
        }
        if (line.empty()) continue;
        const auto colon = line.find(':');
        if (colon == std::string_view::npos) {
            return text.invalid(index, "vocabulary " + quoted(name) + ": malformed line " + quoted(line));
        }
        auto& [term, aliases] = *vocabulary.try_emplace(std::string(unicode::trim(line.substr(0, colon)))).first;
        for (const std::string_view alias : split_words(line.substr(colon + 1))) {
            const auto [it, inserted] = aliases.emplace(alias);
            if (inserted) added.push_back({term, *it});
        }
    }
    return text.invalid(text.lines.size() - 1, "unterminated vocabulary " + quoted(name));
}

}  // namespace ilvex
