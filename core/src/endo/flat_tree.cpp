#include "endo/flat_tree.hpp"

#include <iterator>
#include <utility>
#include <variant>

#include "dendron/writable_values.hpp"
#include "endo/writable.hpp"

namespace ilvex {
namespace {

Suffix copied(const Suffix* suffix) { return suffix ? *suffix : Suffix{}; }

// The items from `i` up to the Close that ends the list (or the end),
// appended to `out`; `i` is left at that Close.
void build_list(const std::vector<FlatInline>& items, std::size_t& i, std::vector<Inline>& out) {
    for (; i < items.size() && items[i].kind != FlatInline::Kind::Close; ++i) {
        const FlatInline& item = items[i];
        switch (item.kind) {
            case FlatInline::Kind::Text:
                if (item.joins && !out.empty()) {
                    if (auto* text = std::get_if<Inline::Text>(&out.back().node)) {
                        text->text += item.text;
                        continue;
                    }
                }
                out.emplace_back(Inline::Text{std::string(item.text)});
                break;
            case FlatInline::Kind::Open: {
                Inline::EndoSimmere sim{std::string(item.text), {}, {}, item.mirrored};
                build_list(items, ++i, sim.children);
                isolate_trailing_backslashes(sim.children);
                if (i < items.size()) sim.suffix = copied(items[i].suffix);
                out.emplace_back(std::move(sim));
                break;
            }
            case FlatInline::Kind::Enlexis:
                append_literal(item.text, out);
                // A suffix goes with the last piece, as the writer writes one.
                if (item.suffix) std::get<Inline::Enlexis>(out.back().node).suffix = *item.suffix;
                break;
            case FlatInline::Kind::Deixis:
                out.emplace_back(Inline::Deixis{std::string(item.text), std::string(item.target), copied(item.suffix)});
                break;
            case FlatInline::Kind::Monosim:
                out.emplace_back(Inline::Monosim{std::string(item.text), std::string(item.target), copied(item.suffix)});
                break;
            case FlatInline::Kind::Milestone:
                out.emplace_back(
                    Inline::Milestone{std::string(item.text), std::string(item.target), copied(item.suffix)});
                break;
            case FlatInline::Kind::OnymAnchor:
                out.emplace_back(Inline::OnymAnchor{std::string(item.text)});
                break;
            case FlatInline::Kind::Close:
                break;
        }
    }
}

}  // namespace

void append_literal(std::string_view text, std::vector<Inline>& out) {
    // Most literal texts hold no closer of an enlexis and are one enlexis as
    // they stand.
    if (text.find("\"@@") == std::string_view::npos) {
        out.emplace_back(Inline::Enlexis{std::string(text), {}});
        return;
    }
    std::vector<Inline> items = literal_inlines(text);
    std::move(items.begin(), items.end(), std::back_inserter(out));
}

std::vector<Inline> inline_tree(const FlatInlines& inlines) {
    std::vector<Inline> out;
    std::size_t i = 0;
    build_list(inlines.items, i, out);
    isolate_trailing_backslashes(out);
    return out;
}

}  // namespace ilvex
