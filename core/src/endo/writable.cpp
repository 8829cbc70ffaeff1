#include "endo/writable.hpp"

#include <utility>

#include "dialektos/lexical.hpp"
#include "dialektos/unicode.hpp"

namespace ilvex {
namespace {

// Most strings are in NFC already and are kept as they are, not copied.
void compose(std::string& text) {
    if (!unicode::is_nfc(text)) text = unicode::nfc(text);
}

void compose(std::optional<std::string>& text) {
    if (text) compose(*text);
}

void compose(Suffix& suffix) {
    compose(suffix.onym);
    for (std::string& genos : suffix.genoses) compose(genos);
}

void compose(std::vector<Inline>& inlines);
void compose(std::vector<Block>& blocks);

// Each string of a node, and its child lists.
template <class Node>
void compose_node(Node& node) {
    std::visit(
        [](auto& x) {
            if constexpr (requires { x.text; }) compose(x.text);
            if constexpr (requires { x.symbol; }) compose(x.symbol);
            if constexpr (requires { x.param; }) compose(x.param);
            if constexpr (requires { x.digest; }) compose(x.digest);
            if constexpr (requires { x.onym; }) compose(x.onym);
            if constexpr (requires { x.target; }) compose(x.target);
            if constexpr (requires { x.scheme; }) compose(x.scheme);
            if constexpr (requires { x.value; }) compose(x.value);
            if constexpr (requires { x.dialektos; }) compose(x.dialektos);
            if constexpr (requires { x.suffix; }) compose(x.suffix);
            if constexpr (requires { x.lemma; }) compose(x.lemma);
            if constexpr (requires { x.hypograph; }) compose(x.hypograph);
            if constexpr (requires { x.children; }) compose(x.children);
            if constexpr (requires { x.inlines; }) compose(x.inlines);
            if constexpr (requires { x.strophes; }) {
                for (Strophe& strophe : x.strophes) {
                    for (auto& line : strophe) compose(line);
                }
            }
        },
        node.node);
}

// Joins `text` to the text `before` it when their NFC differs once joined
// (a combining mark after a letter); both are in NFC already. A text that
// begins with an ASCII character never joins: no ASCII character combines
// with, or is reordered around, what precedes it.
bool joined_to(Inline::Text& before, const Inline::Text& text) {
    if (text.text.empty() || static_cast<unsigned char>(text.text.front()) < 0x80) return false;
    std::string joined = before.text + text.text;
    std::string composed = unicode::nfc(joined);
    if (composed == joined) return false;
    before.text = std::move(composed);
    return true;
}

// Texts side by side are written as one text, so they are composed as one:
// a text that joins the one before it leaves the list.
void compose(std::vector<Inline>& inlines) {
    for (Inline& item : inlines) compose_node(item);
    std::size_t kept = 0;
    for (Inline& item : inlines) {
        auto* text = std::get_if<Inline::Text>(&item.node);
        auto* before = kept == 0 ? nullptr : std::get_if<Inline::Text>(&inlines[kept - 1].node);
        if (text && before && joined_to(*before, *text)) continue;
        if (&inlines[kept] != &item) inlines[kept] = std::move(item);
        ++kept;
    }
    inlines.erase(inlines.begin() + static_cast<std::ptrdiff_t>(kept), inlines.end());
}

void compose(std::vector<Block>& blocks) {
    for (Block& block : blocks) compose_node(block);
}

}  // namespace

void compose_strings(Block& block) { compose_node(block); }

std::optional<std::string> writable_genos(std::string_view word) {
    if (is_valid_genos(word)) return std::string(word);
    std::string lower = unicode::ascii_lowercase(word);
    if (is_valid_genos(lower)) return lower;
    return std::nullopt;
}

void isolate_trailing_backslashes(std::vector<Inline>& inlines) {
    const auto needs_split = [&](std::size_t i) {
        const auto* text = std::get_if<Inline::Text>(&inlines[i].node);
        return text != nullptr && text->text.ends_with('\\') && i + 1 < inlines.size() &&
               inlines[i + 1].kind() != InlineKind::Text;
    };
    bool any = false;
    for (std::size_t i = 0; i < inlines.size() && !any; ++i) any = needs_split(i);
    if (!any) return;
    std::vector<Inline> out;
    out.reserve(inlines.size() + 1);
    for (std::size_t i = 0; i < inlines.size(); ++i) {
        if (!needs_split(i)) {
            out.push_back(std::move(inlines[i]));
            continue;
        }
        std::string& text = std::get<Inline::Text>(inlines[i].node).text;
        const std::size_t kept = text.find_last_not_of('\\') + 1;  // npos + 1 is 0
        std::string backslashes = text.substr(kept);
        text.resize(kept);
        if (!text.empty()) out.push_back(std::move(inlines[i]));
        out.emplace_back(Inline::Enlexis{std::move(backslashes), {}});
    }
    inlines = std::move(out);
}

}  // namespace ilvex
