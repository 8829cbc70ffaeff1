#include "endo/light_markup/markdown_importer.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dialektos/lexical.hpp"
#include "dialektos/unicode.hpp"
#include "endo/flat_tree.hpp"
#include "endo/import_context.hpp"
#include "endo/light_markup/light_blocks.hpp"
#include "endo/light_markup/light_markup.hpp"
#include "endo/light_markup/line_window.hpp"
#include "endo/light_markup/markdown_inlines.hpp"
#include "endo/tree_builders.hpp"
#include "endo/writable.hpp"

namespace ilvex {
namespace {

using Lines = LineRange;

constexpr std::string_view markdown_dialektos = "il-markdown";

// ASCII digits that fit 64 bits, then ". " (not ") ").
std::optional<OrderedItemMarker> ordered_marker(std::string_view line) {
    auto marker = ordered_item_marker(line);
    if (!marker || line[line.size() - marker->rest.size() - 2] != '.') return std::nullopt;
    return marker;
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

// Hands each block to the sink as soon as it is read, a quote or item in
// pieces (opened, its blocks, closed), so that neither the lines nor the
// tree of the whole text are ever held, and a paragraph goes as the flat
// list of its inlines where the sink takes it so.
class BlockParser {
public:
    BlockParser(std::string_view text, ImportSink& sink) : window_(text), sink_(sink) {}

    void parse();

private:
    // The blocks of a nested level, whose lines begin at `i`.
    void parse_level(Lines lines, std::size_t i);
    // Reads the construct that begins at line `i`: the index after it.
    std::size_t read_block(Lines lines, std::size_t i);

    // Quote and item markers open blocks only while another level may
    // open; deeper ones are text.
    bool can_nest() const { return nesting_.open() < max_import_nesting; }
    bool ends_paragraph(std::string_view line) const;

    std::size_t read_fence(Lines lines, std::size_t i);
    std::size_t read_nested(Lines lines, std::size_t i);
    std::size_t read_quote(Lines lines, std::size_t i);
    std::size_t read_item(Lines lines, std::size_t i, std::string_view rest, std::string_view prefix,
                          Block::Para item);
    std::size_t read_paragraph(Lines lines, std::size_t i);
    // Gives the sink the paragraph of inlines_ (a heading's too).
    void write_paragraph();

    LineWindow window_;
    ImportSink& sink_;
    NestingDepth nesting_;
    std::string paragraph_;  // the text of the paragraph being read, its room kept for the next
    FlatInlines inlines_;    // the inlines of the paragraph being read, which view paragraph_ or a heading's line
};

void BlockParser::parse() {
    const Lines all{window_, Lines::unbounded};
    for (std::size_t i = 0; all.has(i);) {
        i = read_block(all, i);
        window_.drop_before(i);
    }
}

void BlockParser::parse_level(Lines lines, std::size_t i) {
    while (lines.has(i)) i = read_block(lines, i);
}

std::size_t BlockParser::read_block(Lines lines, std::size_t i) {
    const std::string_view line = lines[i];
    if (is_blank(line)) return i + 1;
    if (opens_fence(line)) return read_fence(lines, i);
    if (const std::size_t level = heading_level(line)) {
        read_markdown_heading(level, unicode::trim(line.substr(level + 1)), inlines_);
        write_paragraph();
        return i + 1;
    }
    if (const std::size_t next = read_nested(lines, i)) return next;
    if (const auto target = image_target(line)) {
        sink_.block(Block::Enmedia{writable_parameter(*target)});
        return i + 1;
    }
    return read_paragraph(lines, i);
}

bool BlockParser::ends_paragraph(std::string_view line) const {
    if (is_blank(line) || opens_fence(line) || heading_level(line) != 0) return true;
    return can_nest() &&
           (line.starts_with('>') || line.starts_with("- ") || ordered_marker(line).has_value());
}

// Runs to the first later line that is "```" up to trailing white space, or
// to the end of the input.
std::size_t BlockParser::read_fence(Lines lines, std::size_t i) {
    const Suffix suffix = fence_suffix(lines[i]);
    std::size_t j = i + 1;
    while (lines.has(j) && unicode::trim_end(lines[j]) != code_fence) ++j;
    std::string text = literal_lines(lines, i + 1, j);
    if (text.empty()) text.push_back('\n');  // a fence without lines
    for (Block& block : literal_blocks(std::move(text), suffix)) sink_.block(std::move(block));
    return lines.has(j) ? j + 1 : j;
}

// A quote, item or footnote opened by line i, one level deeper: the index
// after it, or 0 when the line opens none or no level is left (the level is
// taken first and given back at once for a line that opens nothing).
std::size_t BlockParser::read_nested(Lines lines, std::size_t i) {
    const auto level = nesting_.enter();
    if (!level) return 0;
    const std::string_view line = lines[i];
    if (line.starts_with('>')) return read_quote(lines, i);
    if (line.starts_with("- ")) {
        return read_item(lines, i, line.substr(2), "  ", light_para("-", true, {}, Taxis::absent()));
    }
    if (const auto marker = ordered_marker(line)) {
        return read_item(lines, i, marker->rest, "   ", light_para(".", true, {}, Taxis::of(marker->number)));
    }
    if (const auto marker = footnote_marker(line)) {
        // A label that is no onym cannot be written as one.
        Suffix suffix;
        if (is_valid_onym(marker->label)) suffix.onym = std::string(marker->label);
        return read_item(lines, i, marker->rest, "    ",
                         light_para("^", true, std::move(suffix), Taxis::absent()));
    }
    return 0;
}

std::size_t BlockParser::read_quote(Lines lines, std::size_t i) {
    std::size_t end = i;
    for (; lines.has(end) && lines[end].starts_with('>'); ++end) {
        lines[end].remove_prefix(lines[end].starts_with("> ") ? 2 : 1);
    }
    sink_.open(light_para(">", false, {}, Taxis::absent()));
    parse_level({lines.window, end}, i);
    sink_.close();
    return end;
}

// The body is the marker's rest, then every line that begins with `prefix`
// (without it) and every blank line that is followed by such a line.
std::size_t BlockParser::read_item(Lines lines, std::size_t i, std::string_view rest, std::string_view prefix,
                                   Block::Para item) {
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
    sink_.open(std::move(item));
    parse_level({lines.window, end}, i);
    sink_.close();
    return end;
}

std::size_t BlockParser::read_paragraph(Lines lines, std::size_t i) {
    std::size_t end = i + 1;
    while (lines.has(end) && !ends_paragraph(lines[end])) ++end;
    join_lines(lines, i, end, paragraph_);
    read_markdown_inlines(paragraph_, inlines_);
    write_paragraph();
    return end;
}

void BlockParser::write_paragraph() {
    if (sink_.flat_paragraph(inlines_)) return;
    if (auto block = paragraph_block(inline_tree(inlines_))) sink_.block(std::move(*block));
}

}  // namespace

Status import_markdown(std::string_view text, ImportSink& sink) {
    if (Status declared = sink.declaration(markdown_dialektos, std::nullopt); !declared) {
        return declared;
    }
    // Every string of the tree is a piece of the text or an ASCII constant.
    if (unicode::is_ascii(text)) sink.take_ascii_strings();
    BlockParser(text, sink).parse();
    return {};
}

Document import_markdown(std::string_view text) {
    DocumentCollector collector;
    // A collector takes any declaration: nothing here can fail.
    [[maybe_unused]] const Status imported = import_markdown(text, collector);
    return std::move(collector).document();
}

}  // namespace ilvex
