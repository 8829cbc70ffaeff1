#include "endo/light_markup/rst_importer.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dendron/writable_values.hpp"
#include "dialektos/unicode.hpp"
#include "endo/import_context.hpp"
#include "endo/import_errors.hpp"
#include "endo/light_markup/block_loop.hpp"
#include "endo/light_markup/light_blocks.hpp"
#include "endo/light_markup/light_markup.hpp"
#include "endo/light_markup/line_window.hpp"
#include "endo/light_markup/rst_inlines.hpp"

namespace ilvex {
namespace {

// A body strips its indentation from its own lines in place and reads them
// as a level of its own, so nothing is copied per level.
using Lines = LineRange;

constexpr std::string_view rst_dialektos = "il-rst";
constexpr std::string_view indent = "   ";

// 1 to 6 for a line of at least three "=", "-", "~", "^", '"' or "'".
std::size_t adornment_level(std::string_view line) {
    constexpr std::string_view adornments = "=-~^\"'";
    if (line.size() < 3 || line.find_first_not_of(line[0]) != std::string_view::npos) return 0;
    const std::size_t level = adornments.find(line[0]);
    return level == std::string_view::npos ? 0 : level + 1;
}

// ASCII digits that fit 64 bits, then ". "; the ") " form is no marker here.
std::optional<OrderedItemMarker> enumerator_marker(std::string_view line) {
    const auto marker = ordered_item_marker(line);
    if (!marker || line[static_cast<std::size_t>(marker->rest.data() - line.data()) - 2] != '.') {
        return std::nullopt;
    }
    return marker;
}

struct Field {
    std::string_view name;
    std::string_view value;
};

// ":name: value", the name not empty and without white space.
std::optional<Field> field_line(std::string_view line) {
    if (!line.starts_with(':')) return std::nullopt;
    const std::size_t separator = line.find(": ", 1);
    if (separator == std::string_view::npos || separator == 1) return std::nullopt;
    const std::string_view name = line.substr(1, separator - 1);
    for (std::size_t k = 0; k < name.size();) {
        if (unicode::is_whitespace(unicode::next_char(name, k))) return std::nullopt;
    }
    return Field{name, line.substr(separator + 2)};
}

// The level of the title that line `i` and the next one make: the next is
// an adornment line at least as long, in characters, as the title.
std::size_t title_level(Lines lines, std::size_t i) {
    const std::string_view line = lines[i];
    if (line.starts_with(' ') || !lines.has(i + 1)) return 0;
    const std::size_t level = adornment_level(lines[i + 1]);
    if (level == 0 || unicode::char_count(unicode::trim_end(line)) > lines[i + 1].size()) return 0;
    return level;
}

// Every para but the block quote is mirrored.
Block::Para para(std::string_view symbol, Taxis taxis = Taxis::absent()) {
    return light_para(symbol, symbol != ">", {}, taxis);
}

class BlockParser {
public:
    explicit BlockParser(std::string_view text) : window_(text), context_(rst_import_error) {}

    // Hands each top-level block to `sink` as soon as it is read, dropping
    // its lines, so that neither the lines nor the tree of the whole text
    // are ever held.
    Status parse(ImportSink& sink);

private:
    // The blocks of a nested level, whose lines begin at `i`.
    Result<std::vector<Block>> parse_level(Lines lines, std::size_t i);
    // Reads the construct that begins at line `i` into `blocks`: the index
    // after it.
    Result<std::size_t> read_block(Lines lines, std::size_t i, std::vector<Block>& blocks);

    Result<std::size_t> read_directive(Lines lines, std::size_t i, std::vector<Block>& blocks);
    Result<std::size_t> read_field(Lines lines, std::size_t i, const Field& field,
                                   std::vector<Block>& blocks);
    Result<std::size_t> read_title(Lines lines, std::size_t i, std::size_t level,
                                   std::vector<Block>& blocks);
    Result<std::size_t> read_literal(Lines lines, std::size_t i, std::vector<Block>& blocks);
    Result<std::size_t> read_paragraph(Lines lines, std::size_t i, std::vector<Block>& blocks);
    // The body of `item` is line `i` (narrowed to the text after its marker)
    // followed by the indented run from line i + 1.
    Result<std::size_t> read_item(Lines lines, std::size_t i, std::string_view rest,
                                  std::string_view prefix, Block::Para item,
                                  std::vector<Block>& blocks);
    // The body of `block` is the lines from `i` to `end`, read one level deeper.
    Status read_body(Lines lines, std::size_t i, std::size_t end, Block::Para block,
                     std::vector<Block>& blocks);

    Result<std::vector<Inline>> inlines(std::string_view text) const {
        return rst_inlines(text, context_);
    }

    LineWindow window_;
    ImportContext context_;
};

// The run of lines from `i` that begin with `prefix`, stripped of it in
// place, and of blank lines followed by such a line, emptied: the index
// after the run.
std::size_t indented_run(Lines lines, std::size_t i, std::string_view prefix) {
    for (; lines.has(i); ++i) {
        if (lines[i].starts_with(prefix)) {
            lines[i].remove_prefix(prefix.size());
        } else if (is_blank(lines[i]) && lines.has(i + 1) && lines[i + 1].starts_with(prefix)) {
            lines[i] = {};
        } else {
            break;
        }
    }
    return i;
}

// The index after line `i` and at most one blank line after it.
std::size_t after_blank(Lines lines, std::size_t i) {
    return lines.has(i + 1) && is_blank(lines[i + 1]) ? i + 2 : i + 1;
}

Status BlockParser::parse(ImportSink& sink) {
    return stream_blocks(window_, sink, [this](Lines range, std::size_t at, std::vector<Block>& out) {
        return read_block(range, at, out);
    });
}

Result<std::vector<Block>> BlockParser::parse_level(Lines lines, std::size_t i) {
    return read_level(lines, i, [this](Lines range, std::size_t at, std::vector<Block>& out) {
        return read_block(range, at, out);
    });
}

Result<std::size_t> BlockParser::read_block(Lines lines, std::size_t i, std::vector<Block>& blocks) {
    const std::string_view line = lines[i];
    if (is_blank(line)) return i + 1;
    if (line.starts_with(".. ")) return read_directive(lines, i, blocks);
    if (const auto field = field_line(line)) return read_field(lines, i, *field, blocks);
    if (const std::size_t level = title_level(lines, i)) return read_title(lines, i, level, blocks);
    if (line.starts_with("- ")) return read_item(lines, i, line.substr(2), "  ", para("-"), blocks);
    if (const auto marker = enumerator_marker(line)) {
        return read_item(lines, i, marker->rest, indent, para(".", Taxis::of(marker->number)),
                         blocks);
    }
    if (unicode::trim_end(line) == "::") return read_literal(lines, i, blocks);
    if (line.starts_with(indent)) {
        const std::size_t end = indented_run(lines, i, indent);
        if (Status read = read_body(lines, i, end, para(">"), blocks); !read) return read.error();
        return end;
    }
    if (lines.has(i + 1) && lines[i + 1].starts_with(indent)) {
        // A term and its definition.
        Result<std::vector<Inline>> term = inlines(unicode::trim(line));
        if (!term) return std::move(term).error();
        Block::Para item = para("::");
        item.lemma = std::move(term).value();
        const std::size_t end = indented_run(lines, i + 1, indent);
        if (Status read = read_body(lines, i + 1, end, std::move(item), blocks); !read) {
            return read.error();
        }
        return end;
    }
    return read_paragraph(lines, i, blocks);
}

// ".. note::" and ".. warning::" with an indented body, ".. image:: target"
// and ".. [#label] text" with an indented continuation; any other directive
// (a comment, a target, a substitution) cannot be read.
Result<std::size_t> BlockParser::read_directive(Lines lines, std::size_t i,
                                                std::vector<Block>& blocks) {
    const std::string_view line = lines[i];
    const std::string_view rest = line.substr(3);
    if (rest == "note::" || rest == "warning::") {
        const std::size_t first = after_blank(lines, i);
        const std::size_t end = indented_run(lines, first, indent);
        if (Status read = read_body(lines, first, end, para(rest == "note::" ? "!" : "!!"), blocks);
            !read) {
            return read.error();
        }
        return end;
    }
    if (rest.starts_with("image:: ")) {
        blocks.emplace_back(Block::Enmedia{writable_parameter(unicode::trim(rest.substr(8)))});
        return i + 1;
    }
    if (rest.starts_with("[#")) {
        const std::size_t close = line.find("] ", 5);
        if (close == std::string_view::npos) {
            return context_.error("malformed footnote `" + std::string(line) + "`");
        }
        Result<std::string> label = context_.onym(line.substr(5, close - 5));
        if (!label) return std::move(label).error();
        Block::Para footnote = para("^");
        footnote.suffix.onym = std::move(label).value();
        return read_item(lines, i, line.substr(close + 2), indent, std::move(footnote), blocks);
    }
    return context_.error("unsupported directive `" + std::string(line) + "`");
}

// One line: the name as the lemma, the value as one paragraph.
Result<std::size_t> BlockParser::read_field(Lines, std::size_t i, const Field& field,
                                            std::vector<Block>& blocks) {
    Result<std::vector<Inline>> name = inlines(field.name);
    if (!name) return std::move(name).error();
    Result<std::vector<Inline>> value = inlines(unicode::trim(field.value));
    if (!value) return std::move(value).error();
    const auto level = context_.enter();
    if (!level) return level.error();
    Block::Para entry = para(":");
    entry.lemma = std::move(name).value();
    if (!value->empty()) entry.children.emplace_back(Block::Paragraph{std::move(value).value()});
    blocks.push_back(std::move(entry));
    return i + 1;
}

Result<std::size_t> BlockParser::read_title(Lines lines, std::size_t i, std::size_t level,
                                            std::vector<Block>& blocks) {
    Result<std::vector<Inline>> title = inlines(unicode::trim_end(lines[i]));
    if (!title) return std::move(title).error();
    blocks.push_back(heading_block(level, std::move(title).value()));
    return i + 2;
}

// "::" alone: the indented run after it (and at most one blank line), as
// literal text.
Result<std::size_t> BlockParser::read_literal(Lines lines, std::size_t i,
                                              std::vector<Block>& blocks) {
    const std::size_t first = after_blank(lines, i);
    const std::size_t end = indented_run(lines, first, indent);
    std::size_t size = 0;
    for (std::size_t k = first; k < end; ++k) size += lines[k].size() + 1;
    std::string text;
    text.reserve(size);
    for (std::size_t k = first; k < end; ++k) {
        if (k > first) text += '\n';
        text += lines[k];
    }
    if (!text.empty()) text += '\n';
    for (Block& block : literal_blocks(std::move(text), Suffix{})) blocks.push_back(std::move(block));
    return end;
}

// Lines up to a blank one, one that begins a construct of its own (an
// indented line, a directive, an item) or a title or term: the next one is
// its adornment or indented definition. An adornment line ends the
// paragraph too, so that a title too long for its adornment leaves that
// line a paragraph of its own. The lines are joined by spaces.
Result<std::size_t> BlockParser::read_paragraph(Lines lines, std::size_t i,
                                                std::vector<Block>& blocks) {
    const auto ends_paragraph = [&](std::size_t j) {
        const std::string_view line = lines[j];
        if (is_blank(line) || line.starts_with(' ') || line.starts_with(".. ") ||
            line.starts_with("- ") || enumerator_marker(line) || adornment_level(line) != 0) {
            return true;
        }
        return lines.has(j + 1) &&
               (adornment_level(lines[j + 1]) != 0 || lines[j + 1].starts_with(indent));
    };
    std::size_t end = i + 1;
    while (lines.has(end) && !ends_paragraph(end)) ++end;
    const std::string text = joined_lines(lines, i, end);
    // A paragraph is written as one line, which the parser reads without
    // its leading white space.
    Result<std::vector<Inline>> paragraph = inlines(unicode::trim(text));
    if (!paragraph) return std::move(paragraph).error();
    if (!paragraph->empty()) blocks.emplace_back(Block::Paragraph{std::move(paragraph).value()});
    return end;
}

Result<std::size_t> BlockParser::read_item(Lines lines, std::size_t i, std::string_view rest,
                                           std::string_view prefix, Block::Para item,
                                           std::vector<Block>& blocks) {
    lines[i] = rest;
    const std::size_t end = indented_run(lines, i + 1, prefix);
    if (Status read = read_body(lines, i, end, std::move(item), blocks); !read) return read.error();
    return end;
}

Status BlockParser::read_body(Lines lines, std::size_t i, std::size_t end, Block::Para block,
                              std::vector<Block>& blocks) {
    const auto level = context_.enter();
    if (!level) return level.error();
    Result<std::vector<Block>> children = parse_level({lines.window, end}, i);
    if (!children) return std::move(children).error();
    block.children = std::move(children).value();
    blocks.push_back(std::move(block));
    return {};
}

}  // namespace

Status import_rst(std::string_view text, ImportSink& sink) {
    if (Status declared = sink.declaration(rst_dialektos, std::nullopt); !declared) return declared;
    return BlockParser(text).parse(sink);
}

Result<Document> import_rst(std::string_view text) {
    DocumentCollector collector;
    if (Status imported = import_rst(text, collector); !imported) return std::move(imported).error();
    return std::move(collector).document();
}

}  // namespace ilvex
