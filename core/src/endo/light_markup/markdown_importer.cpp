#include "endo/light_markup/markdown_importer.hpp"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dialektos/lexical.hpp"
#include "dialektos/unicode.hpp"
#include "endo/import_context.hpp"
#include "endo/light_markup/line_window.hpp"
#include "endo/light_markup/markdown_inlines.hpp"
#include "endo/tree_builders.hpp"
#include "endo/writable.hpp"

namespace ilvex {
namespace {

// The lines one level of the parse reads: those of the window before `end`
// (the top level reads to the end of the text). A quote or an item strips
// its markers from its own lines in place and reads them as a level of its
// own: the lines after a nested block are never read again by the
// enclosing level, so nothing is copied per level.
struct Lines {
    static constexpr std::size_t unbounded = std::numeric_limits<std::size_t>::max();

    LineWindow& window;
    std::size_t end;

    bool has(std::size_t i) const { return i < end && window.has(i); }
    std::string_view& operator[](std::size_t i) const { return window[i]; }
};

constexpr std::string_view markdown_dialektos = "il-markdown";

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
    explicit BlockParser(std::string_view text) : window_(text) {}

    // Hands each top-level block to `sink` as soon as it is read, dropping
    // its lines, so that neither the lines nor the tree of the whole text
    // are ever held.
    void parse(ImportSink& sink);

private:
    // The blocks of a nested level, whose lines begin at `i`.
    std::vector<Block> parse_level(Lines lines, std::size_t i);
    // Reads the construct that begins at line `i` into `blocks`: the index
    // after it.
    std::size_t read_block(Lines lines, std::size_t i, std::vector<Block>& blocks);

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

    LineWindow window_;
    NestingDepth nesting_;
};

void BlockParser::parse(ImportSink& sink) {
    const Lines all{window_, Lines::unbounded};
    std::vector<Block> blocks;  // what one construct gave: a fence may give several
    for (std::size_t i = 0; all.has(i);) {
        i = read_block(all, i, blocks);
        window_.drop_before(i);
        for (Block& block : blocks) sink.block(std::move(block));
        blocks.clear();
    }
}

std::vector<Block> BlockParser::parse_level(Lines lines, std::size_t i) {
    std::vector<Block> blocks;
    while (lines.has(i)) i = read_block(lines, i, blocks);
    return blocks;
}

std::size_t BlockParser::read_block(Lines lines, std::size_t i, std::vector<Block>& blocks) {
    const std::string_view line = lines[i];
    if (is_blank(line)) return i + 1;
    if (opens_fence(line)) return read_fence(lines, i, blocks);
    if (const std::size_t level = heading_level(line)) {
        blocks.push_back(heading_block(level, line.substr(level + 1)));
        return i + 1;
    }
    if (const std::size_t next = read_nested(lines, i, blocks)) return next;
    if (const auto target = image_target(line)) {
        blocks.emplace_back(Block::Enmedia{writable_parameter(*target)});
        return i + 1;
    }
    return read_paragraph(lines, i, blocks);
}

bool BlockParser::ends_paragraph(std::string_view line) const {
    if (is_blank(line) || opens_fence(line) || heading_level(line) != 0) return true;
    return can_nest() &&
           (line.starts_with('>') || line.starts_with("- ") || ordered_marker(line).has_value());
}

// Runs to the first later line that is "```" up to trailing white space, or
// to the end of the input. Its text is sized once, as a paragraph's is.
std::size_t BlockParser::read_fence(Lines lines, std::size_t i, std::vector<Block>& blocks) {
    Suffix suffix;
    if (auto genos = writable_genos(unicode::trim(lines[i].substr(fence.size())))) {
        suffix.genoses.push_back(std::move(*genos));
    }
    std::size_t j = i + 1;
    std::size_t size = 0;
    for (; lines.has(j) && unicode::trim_end(lines[j]) != fence; ++j) size += lines[j].size() + 1;
    std::string text;
    text.reserve(size);
    for (std::size_t k = i + 1; k < j; ++k) {
        text += lines[k];
        text += '\n';
    }
    if (text.empty()) text.push_back('\n');  // a fence without lines
    for (Block& block : literal_blocks(std::move(text), suffix)) blocks.push_back(std::move(block));
    return lines.has(j) ? j + 1 : j;
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
    for (; lines.has(end) && lines[end].starts_with('>'); ++end) {
        lines[end].remove_prefix(lines[end].starts_with("> ") ? 2 : 1);
    }
    Block::Para quote = para(">", false, {}, Taxis::absent());
    quote.children = parse_level({lines.window, end}, i);
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
    for (; lines.has(end); ++end) {
        if (lines[end].starts_with(prefix)) {
            lines[end].remove_prefix(prefix.size());
        } else if (is_blank(lines[end]) && lines.has(end + 1) &&
                   lines[end + 1].starts_with(prefix)) {
            lines[end] = {};
        } else {
            break;
        }
    }
    item.children = parse_level({lines.window, end}, i);
    blocks.push_back(std::move(item));
    return end;
}

// The lines are joined by spaces into a text sized once: a paragraph may be
// most of a document, and a text grown line by line would be copied as it
// grows.
std::size_t BlockParser::read_paragraph(Lines lines, std::size_t i, std::vector<Block>& blocks) {
    std::size_t end = i + 1;
    std::size_t size = lines[i].size();
    for (; lines.has(end) && !ends_paragraph(lines[end]); ++end) size += 1 + lines[end].size();
    std::string text;
    text.reserve(size);
    text += lines[i];
    for (std::size_t k = i + 1; k < end; ++k) {
        text += ' ';
        text += lines[k];
    }
    if (auto block = paragraph_block(text)) blocks.push_back(std::move(*block));
    return end;
}

}  // namespace

Status import_markdown(std::string_view text, ImportSink& sink) {
    if (Status declared = sink.declaration(markdown_dialektos, std::nullopt); !declared) {
        return declared;
    }
    BlockParser(text).parse(sink);
    return {};
}

Document import_markdown(std::string_view text) {
    DocumentCollector collector;
    // A collector takes any declaration: nothing here can fail.
    [[maybe_unused]] const Status imported = import_markdown(text, collector);
    return std::move(collector).document();
}

}  // namespace ilvex
