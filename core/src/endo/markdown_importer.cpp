#include "endo/markdown_importer.hpp"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "dialektos/lexical.hpp"
#include "dialektos/unicode.hpp"
#include "endo/import_context.hpp"
#include "endo/markdown_inlines.hpp"
#include "endo/tree_builders.hpp"
#include "endo/writable.hpp"
#include "lib/lines.hpp"

namespace ilvex {
namespace {

// The lines of one block list. A quote or an item strips its markers from
// its own lines in place and parses that slice: the lines after a nested
// block are never read again by the enclosing level, so nothing is copied
// per level.
using Lines = std::span<std::string_view>;

constexpr std::string_view fence = "```";

bool is_blank(std::string_view line) { return unicode::trim(line).empty(); }

bool opens_fence(std::string_view line) { return line.starts_with(fence); }

// 1 to 6 for "#" to "######" followed by a space, else 0.
std::size_t heading_level(std::string_view line) {
    std::size_t hashes = 0;
    while (hashes < line.size() && hashes <= 6 && line[hashes] == '#') ++hashes;
    const bool heading = hashes >= 1 && hashes <= 6 && hashes < line.size() && line[hashes] == ' ';
    return heading ? hashes : 0;
}

struct OrderedMarker {
    std::uint64_t number;
    std::string_view rest;  // the first line of the body
};

// ASCII digits that fit 64 bits, then ". ".
std::optional<OrderedMarker> ordered_marker(std::string_view line) {
    std::size_t digits = 0;
    while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') ++digits;
    if (digits == 0 || line.substr(digits, 2) != ". ") return std::nullopt;
    std::uint64_t number = 0;
    for (const char b : line.substr(0, digits)) {
        const auto digit = static_cast<std::uint64_t>(b - '0');
        if (number > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return std::nullopt;
        number = number * 10 + digit;
    }
    return OrderedMarker{number, line.substr(digits + 2)};
}

struct FootnoteMarker {
    std::string_view label;
    std::string_view rest;  // the first line of the body
};

// "[^label]: ", the label not empty.
std::optional<FootnoteMarker> footnote_marker(std::string_view line) {
    if (!line.starts_with("[^")) return std::nullopt;
    const std::size_t separator = line.find("]: ", 2);
    if (separator == std::string_view::npos || separator == 2) return std::nullopt;
    return FootnoteMarker{line.substr(2, separator - 2), line.substr(separator + 3)};
}

// "![](target)" alone on its line.
std::optional<std::string_view> image_target(std::string_view line) {
    line = unicode::trim_end(line);
    if (line.size() < 5 || !line.starts_with("![](") || !line.ends_with(')')) return std::nullopt;
    return line.substr(4, line.size() - 5);
}

// A heading's opener directly followed by more "#" would be read as a
// longer heading symbol ("@#" and "#x" give "@##x"), and an empty heading's
// opener runs into its closer: a space keeps them apart. The space changes
// nothing, since the heading's text was trimmed. "######" is the longest
// heading symbol and runs on into nothing.
void keep_opener_apart(std::vector<Inline>& children, std::size_t level) {
    if (level == 6) return;
    if (children.empty()) {
        children.emplace_back(Inline::Text{" "});
    } else if (auto* text = std::get_if<Inline::Text>(&children.front().node)) {
        if (text->text.starts_with('#')) text->text.insert(0, 1, ' ');
    }
}

Block heading_block(std::size_t level, std::string_view text) {
    std::vector<Inline> children = markdown_inlines(unicode::trim(text));
    keep_opener_apart(children, level);
    return single_sim_paragraph(std::string(level, '#'), std::move(children));
}

// A paragraph is written as one line, which the parser reads back without
// its leading white space and trailing carriage returns, and a blank line is
// no paragraph: the inlines lose those too, and an empty paragraph goes.
std::optional<Block> paragraph_block(std::string_view text) {
    std::vector<Inline> inlines = markdown_inlines(text);
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

Block::Para para(std::string_view symbol, bool mirrored, Suffix suffix, Taxis taxis) {
    return Block::Para{mirrored, std::string(symbol), {}, {}, {}, std::move(suffix), taxis};
}

class BlockParser {
public:
    std::vector<Block> parse(Lines lines);

private:
    // Quote and item markers open blocks only while another level may
    // open; deeper ones are text.
    bool can_nest() const { return nesting_.open() < max_import_nesting; }
    bool ends_paragraph(std::string_view line) const;

    std::size_t read_fence(Lines lines, std::size_t i, std::vector<Block>& blocks);
    std::size_t read_nested(Lines lines, std::size_t i, std::vector<Block>& blocks);
    std::size_t read_quote(Lines lines, std::size_t i, std::vector<Block>& blocks);
    std::size_t read_item(Lines lines, std::size_t i, std::string_view rest,
                          std::string_view prefix, Block::Para item, std::vector<Block>& blocks);
    std::size_t read_paragraph(Lines lines, std::size_t i, std::vector<Block>& blocks);

    NestingDepth nesting_;
};

std::vector<Block> BlockParser::parse(Lines lines) {
    std::vector<Block> blocks;
    std::size_t i = 0;
    while (i < lines.size()) {
        const std::string_view line = lines[i];
        if (is_blank(line)) {
            ++i;
        } else if (opens_fence(line)) {
            i = read_fence(lines, i, blocks);
        } else if (const std::size_t level = heading_level(line)) {
            blocks.push_back(heading_block(level, line.substr(level + 1)));
            ++i;
        } else if (const std::size_t next = read_nested(lines, i, blocks)) {
            i = next;
        } else if (const auto target = image_target(line)) {
            blocks.emplace_back(Block::Enmedia{writable_parameter(*target)});
            ++i;
        } else {
            i = read_paragraph(lines, i, blocks);
        }
    }
    return blocks;
}

bool BlockParser::ends_paragraph(std::string_view line) const {
    if (is_blank(line) || opens_fence(line) || heading_level(line) != 0) return true;
    return can_nest() &&
           (line.starts_with('>') || line.starts_with("- ") || ordered_marker(line).has_value());
}

// Runs to the first later line that is "```" up to trailing white space, or
// to the end of the input.
std::size_t BlockParser::read_fence(Lines lines, std::size_t i, std::vector<Block>& blocks) {
    Suffix suffix;
    if (auto genos = writable_genos(unicode::trim(lines[i].substr(fence.size())))) {
        suffix.genoses.push_back(std::move(*genos));
    }
    std::string text;
    std::size_t j = i + 1;
    for (; j < lines.size() && unicode::trim_end(lines[j]) != fence; ++j) {
        text += lines[j];
        text += '\n';
    }
    if (text.empty()) text.push_back('\n');  // a fence without lines
    for (Block& block : literal_blocks(text, suffix)) blocks.push_back(std::move(block));
    return j < lines.size() ? j + 1 : j;
}

// A quote, item or footnote opened by line i, one level deeper: the index
// after it, or 0 when the line opens none or no level is left (the level is
// taken first and given back at once for a line that opens nothing).
std::size_t BlockParser::read_nested(Lines lines, std::size_t i, std::vector<Block>& blocks) {
    const auto level = nesting_.enter();
    if (!level) return 0;
    const std::string_view line = lines[i];
    if (line.starts_with('>')) return read_quote(lines, i, blocks);
    if (line.starts_with("- ")) {
        return read_item(lines, i, line.substr(2), "  ", para("-", true, {}, Taxis::absent()),
                         blocks);
    }
    if (const auto marker = ordered_marker(line)) {
        return read_item(lines, i, marker->rest, "   ",
                         para(".", true, {}, Taxis::of(marker->number)), blocks);
    }
    if (const auto marker = footnote_marker(line)) {
        // A label that is no onym cannot be written as one.
        Suffix suffix;
        if (is_valid_onym(marker->label)) suffix.onym = std::string(marker->label);
        return read_item(lines, i, marker->rest, "    ",
                         para("^", true, std::move(suffix), Taxis::absent()), blocks);
    }
    return 0;
}

std::size_t BlockParser::read_quote(Lines lines, std::size_t i, std::vector<Block>& blocks) {
    std::size_t end = i;
    for (; end < lines.size() && lines[end].starts_with('>'); ++end) {
        lines[end].remove_prefix(lines[end].starts_with("> ") ? 2 : 1);
    }
    Block::Para quote = para(">", false, {}, Taxis::absent());
    quote.children = parse(lines.subspan(i, end - i));
    blocks.push_back(std::move(quote));
    return end;
}

// The body is the marker's rest, then every line that begins with `prefix`
// (without it) and every blank line that is followed by such a line.
std::size_t BlockParser::read_item(Lines lines, std::size_t i, std::string_view rest,
                                   std::string_view prefix, Block::Para item,
                                   std::vector<Block>& blocks) {
    lines[i] = rest;
    std::size_t end = i + 1;
    for (; end < lines.size(); ++end) {
        if (lines[end].starts_with(prefix)) {
            lines[end].remove_prefix(prefix.size());
        } else if (is_blank(lines[end]) && end + 1 < lines.size() &&
                   lines[end + 1].starts_with(prefix)) {
            lines[end] = {};
        } else {
            break;
        }
    }
    item.children = parse(lines.subspan(i, end - i));
    blocks.push_back(std::move(item));
    return end;
}

std::size_t BlockParser::read_paragraph(Lines lines, std::size_t i, std::vector<Block>& blocks) {
    std::string text(lines[i]);
    std::size_t end = i + 1;
    for (; end < lines.size() && !ends_paragraph(lines[end]); ++end) {
        text += ' ';
        text += lines[end];
    }
    if (auto block = paragraph_block(text)) blocks.push_back(std::move(*block));
    return end;
}

}  // namespace

Document import_markdown(std::string_view text) {
    std::vector<std::string_view> lines = split_standard_lines(text);
    BlockParser parser;
    Document document{"il-markdown", std::nullopt, parser.parse(lines)};
    compose_strings(document);
    return document;
}

}  // namespace ilvex
