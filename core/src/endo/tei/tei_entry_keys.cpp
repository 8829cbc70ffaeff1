#include "endo/tei/tei_entry_keys.hpp"

#include <unordered_set>

#include "dialektos/unicode.hpp"

namespace ilvex {

std::string tei_headword_key(const Block::Para& entry) {
    std::string key;
    for (const Inline& item : entry.lemma) {
        if (const auto* text = std::get_if<Inline::Text>(&item.node)) key += text->text;
    }
    return key;
}

TeiEntrySummary summarize_tei_entry(const Block::Para& entry, std::optional<std::string_view> id) {
    return TeiEntrySummary{tei_headword_key(entry), entry.taxis,
                           id ? std::optional<std::string>(*id) : std::nullopt};
}

void number_tei_homographs(std::vector<TeiEntrySummary>& entries) {
    struct Homographs {
        std::size_t count = 0;
        std::uint64_t numbered = 0;
        std::unordered_set<std::uint64_t> taken;  // numbers the source gave
    };
    std::unordered_map<std::string_view, Homographs> by_key;
    std::vector<Homographs*> homographs_of;  // one per entry
    homographs_of.reserve(entries.size());
    for (const TeiEntrySummary& entry : entries) {
        Homographs& homographs = by_key[entry.headword];
        ++homographs.count;
        if (entry.taxis.state == Taxis::State::Number) homographs.taken.insert(entry.taxis.number);
        homographs_of.push_back(&homographs);
    }
    // A number the source gave one homograph is not given to another, so no
    // two entries share a key.
    for (std::size_t k = 0; k < entries.size(); ++k) {
        Homographs& homographs = *homographs_of[k];
        if (entries[k].taxis.state != Taxis::State::Absent || homographs.count < 2) continue;
        do {
            ++homographs.numbered;
        } while (homographs.taken.contains(homographs.numbered));
        entries[k].taxis = Taxis::of(homographs.numbered);
    }
}

std::string tei_headword_slug(std::string_view headword) {
    const std::string_view text = unicode::trim(headword);
    std::string slug;
    bool separated = false;  // something other than alphanumerics since the last one
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        if (!unicode::is_alphanumeric(unicode::next_char(text, i))) {
            separated = true;
            continue;
        }
        if (separated && !slug.empty()) slug += '-';
        separated = false;
        slug.append(text.substr(start, i - start));
    }
    return slug;
}

std::unordered_map<std::string, std::string> tei_entry_keys(const std::vector<TeiEntrySummary>& entries) {
    std::unordered_map<std::string, std::string> keys;
    for (const TeiEntrySummary& entry : entries) {
        if (!entry.id) continue;
        std::string key = tei_headword_slug(entry.headword);
        if (entry.taxis.state == Taxis::State::Number) {
            key += '-';
            key += std::to_string(entry.taxis.number);
        } else if (key.empty()) {
            continue;
        }
        keys.insert_or_assign(*entry.id, std::move(key));
    }
    return keys;
}

}  // namespace ilvex
