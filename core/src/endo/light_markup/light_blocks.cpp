#include "endo/light_markup/light_blocks.hpp"

#include <string>
#include <utility>

#include "dialektos/unicode.hpp"
#include "endo/tree_builders.hpp"
#include "endo/writable.hpp"

namespace ilvex {
namespace {

// A space before the heading's text where heading_needs_space asks for one.
void keep_opener_apart(std::vector<Inline>& children, std::size_t level) {
    const auto* first = children.empty() ? nullptr : std::get_if<Inline::Text>(&children.front().node);
    if (!heading_needs_space(level, children.empty(), first ? std::string_view(first->text) : std::string_view())) {
        return;
    }
    if (children.empty()) {
        children.emplace_back(Inline::Text{" "});
    } else {
        std::get<Inline::Text>(children.front().node).text.insert(0, 1, ' ');
    }
}

}  // namespace

// Nothing left after the white space at its start: its end need not be read.
// Most lines begin with a printable ASCII character, which is no white space.
bool is_blank(std::string_view line) {
    if (!line.empty() && line.front() > ' ' && line.front() < '\x7f') return false;
    return unicode::trim_start(line).empty();
}

bool opens_fence(std::string_view line) { return line.starts_with(code_fence); }

Suffix fence_suffix(std::string_view line) {
    Suffix suffix;
    if (auto genos = writable_genos(unicode::trim(line.substr(code_fence.size())))) {
        suffix.genoses.push_back(std::move(*genos));
    }
    return suffix;
}

bool heading_needs_space(std::size_t level, bool empty, std::string_view first_text) {
    return level != 6 && (empty || first_text.starts_with('#'));
}

std::size_t heading_level(std::string_view line) {
    std::size_t hashes = 0;
    while (hashes < line.size() && hashes <= 6 && line[hashes] == '#') ++hashes;
    const bool heading = hashes >= 1 && hashes <= 6 && hashes < line.size() && line[hashes] == ' ';
    return heading ? hashes : 0;
}

Block heading_block(std::size_t level, std::vector<Inline> children) {
    keep_opener_apart(children, level);
    return single_sim_paragraph(std::string(level, '#'), std::move(children));
}

// A paragraph is written as one line, which the parser reads back without
// its leading white space and trailing carriage returns, and a blank line is
// no paragraph: the inlines lose those too, and an empty paragraph goes.
std::optional<Block> paragraph_block(std::vector<Inline> inlines) {
    std::size_t blank = 0;  // leading texts that are white space only, erased at once
    for (; blank < inlines.size(); ++blank) {
        auto* first = std::get_if<Inline::Text>(&inlines[blank].node);
        if (first == nullptr) break;
        first->text.erase(0, first->text.size() - unicode::trim_start(first->text).size());
        if (!first->text.empty()) break;
    }
    inlines.erase(inlines.begin(), inlines.begin() + static_cast<std::ptrdiff_t>(blank));
    while (!inlines.empty()) {
        auto* last = std::get_if<Inline::Text>(&inlines.back().node);
        if (last == nullptr) break;
        while (last->text.ends_with('\r')) last->text.pop_back();
        if (!last->text.empty()) break;
        inlines.pop_back();
    }
    if (inlines.empty()) return std::nullopt;
    return Block::Paragraph{std::move(inlines)};
}

Block::Para light_para(std::string_view symbol, bool mirrored, Suffix suffix, Taxis taxis) {
    return Block::Para{mirrored, std::string(symbol), {}, {}, {}, std::move(suffix), taxis};
}

}  // namespace ilvex
