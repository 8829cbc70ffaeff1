#include "endo/tei/tei_entry_keys.hpp"

#include <unordered_set>

#include "dialektos/unicode.hpp"

namespace ilvex {
namespace {

// The entry blocks: top-level Paras of the symbol "!".
Block::Para* as_entry(Block& block) {
    auto* para = std::get_if<Block::Para>(&block.node);
    return para != nullptr && para->symbol == "!" ? para : nullptr;
}

}  // namespace

std::string tei_headword_key(const Block::Para& entry) {
    std::string key;
    for (const Inline& item : entry.lemma) {
        if (const auto* text = std::get_if<Inline::Text>(&item.node)) key += text->text;
    }
    return key;
}

void number_tei_homographs(std::vector<Block>& blocks) {
    struct Homographs {
        std::size_t count = 0;
        std::uint64_t numbered = 0;
        std::unordered_set<std::uint64_t> taken;  // numbers the source gave
    };
    std::unordered_map<std::string, Homographs> by_key;
    std::vector<std::pair<Block::Para*, Homographs*>> entries;
    for (Block& block : blocks) {
        Block::Para* entry = as_entry(block);
        if (entry == nullptr) continue;
        Homographs& homographs = by_key[tei_headword_key(*entry)];
        ++homographs.count;
        if (entry->taxis.state == Taxis::State::Number) homographs.taken.insert(entry->taxis.number);
        entries.emplace_back(entry, &homographs);
    }
    // A number the source gave one homograph is not given to another, so no
    // two entries share a key.
    for (auto& [entry, homographs] : entries) {
        if (entry->taxis.state != Taxis::State::Absent || homographs->count < 2) continue;
        do {
            ++homographs->numbered;
        } while (homographs->taken.contains(homographs->numbered));
        entry->taxis = Taxis::of(homographs->numbered);
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

std::unordered_map<std::string, std::string> tei_entry_keys(const std::vector<Block>& blocks,
                                                            const std::vector<TeiEntryId>& ids) {
    std::unordered_map<std::string, std::string> keys;
    for (const TeiEntryId& id : ids) {
        const auto* entry = std::get_if<Block::Para>(&blocks[id.block].node);
        if (entry == nullptr) continue;
        std::string key = tei_headword_slug(tei_headword_key(*entry));
        if (entry->taxis.state == Taxis::State::Number) {
            key += '-';
            key += std::to_string(entry->taxis.number);
        } else if (key.empty()) {
            continue;
        }
        keys.insert_or_assign(id.id, std::move(key));
    }
    return keys;
}

}  // namespace ilvex
