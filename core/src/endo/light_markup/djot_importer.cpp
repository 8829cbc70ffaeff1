#include "endo/light_markup/djot_importer.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dialektos/unicode.hpp"
#include "endo/import_context.hpp"
#include "endo/import_errors.hpp"
#include "endo/light_markup/block_loop.hpp"
#include "endo/light_markup/djot_inlines.hpp"
#include "endo/light_markup/light_blocks.hpp"
#include "endo/light_markup/light_markup.hpp"
#include "endo/light_markup/line_window.hpp"
#include "endo/writable.hpp"

namespace ilvex {
namespace {

constexpr std::string_view djot_dialektos = "il-djot";

// ">" alone or "> ", of a line without its trailing white space.
bool is_quote_line(std::string_view line) { return line == ">" || line.starts_with("> "); }

bool is_bullet_line(std::string_view line) { return line.size() > 1 && line.starts_with("- "); }

// Whether a line (without its trailing white space) begins a block of its
// own rather than continuing a paragraph.
bool opens_block(std::string_view line) {
    return is_blank(line) || heading_level(line) != 0 || opens_fence(line) || is_quote_line(line) ||
           is_bullet_line(line) || ordered_item_marker(line).has_value();
}

// A one-line item: its text trimmed, as the item's only paragraph.
Block item_block(Block::Para item, std::string_view text) {
    if (auto paragraph = paragraph_block(djot_inlines(unicode::trim(text)))) {
        item.children.push_back(std::move(*paragraph));
    }
    return item;
}

class DjotParser {
public:
    explicit DjotParser(std::string_view text) : window_(text) {}

    // Hands each top-level block to `sink` as soon as it is read, dropping
    // its lines.
    Status parse(ImportSink& sink);

private:
    // The blocks of a quote's text, whose lines begin at `i`.
    Result<std::vector<Block>> parse_level(LineRange lines, std::size_t i);
    // Reads the construct that begins at line `i` into `blocks`: the index
    // after it.
    Result<std::size_t> read_block(LineRange lines, std::size_t i, std::vector<Block>& blocks);

    Result<std::size_t> read_fence(LineRange lines, std::size_t i, std::vector<Block>& blocks);
    Result<std::size_t> read_quote(LineRange lines, std::size_t i, std::vector<Block>& blocks);
    std::size_t read_paragraph(LineRange lines, std::size_t i, std::vector<Block>& blocks);

    LineWindow window_;
    ImportContext context_{djot_import_error};
};

Status DjotParser::parse(ImportSink& sink) {
    return stream_blocks(window_, sink, [this](LineRange range, std::size_t at, std::vector<Block>& out) {
        return read_block(range, at, out);
    });
}

Result<std::vector<Block>> DjotParser::parse_level(LineRange lines, std::size_t i) {
    return read_level(lines, i, [this](LineRange range, std::size_t at, std::vector<Block>& out) {
        return read_block(range, at, out);
    });
}

Result<std::size_t> DjotParser::read_block(LineRange lines, std::size_t i,
                                           std::vector<Block>& blocks) {
    const std::string_view line = unicode::trim_end(lines[i]);
    if (is_blank(line)) return i + 1;
    if (const std::size_t level = heading_level(line)) {
        blocks.push_back(heading_block(level, djot_inlines(unicode::trim(line.substr(level + 1)))));
        return i + 1;
    }
    if (opens_fence(line)) return read_fence(lines, i, blocks);
    if (is_quote_line(line)) return read_quote(lines, i, blocks);
    if (is_bullet_line(line)) {
        blocks.push_back(item_block(light_para("-", true, {}, Taxis::absent()), line.substr(2)));
        return i + 1;
    }
    if (const auto marker = ordered_item_marker(line)) {
        blocks.push_back(
            item_block(light_para(".", true, {}, Taxis::of(marker->number)), marker->rest));
        return i + 1;
    }
    return read_paragraph(lines, i, blocks);
}

// Closed by the first later line that begins with "```", whatever follows
// the backticks; the lines between, untrimmed, are its text.
Result<std::size_t> DjotParser::read_fence(LineRange lines, std::size_t i,
                                           std::vector<Block>& blocks) {
    const Suffix suffix = fence_suffix(unicode::trim_end(lines[i]));
    std::size_t j = i + 1;
    while (lines.has(j) && !opens_fence(unicode::trim_end(lines[j]))) ++j;
    if (!lines.has(j)) return context_.error("unterminated code fence");
    for (Block& block : literal_blocks(literal_lines(lines, i + 1, j), suffix)) {
        blocks.push_back(std::move(block));
    }
    return j + 1;
}

// The quote's lines lose their marker in place ("> ", or the whole of a
// line that is ">" alone) and are read as a text of their own, one level
// deeper: nothing is copied per level.
Result<std::size_t> DjotParser::read_quote(LineRange lines, std::size_t i,
                                           std::vector<Block>& blocks) {
    Result<NestingDepth::Level> level = context_.enter();
    if (!level) return std::move(level).error();
    std::size_t end = i;
    for (; lines.has(end); ++end) {
        const std::string_view line = unicode::trim_end(lines[end]);
        if (line == ">") {
            lines[end] = {};
        } else if (line.starts_with("> ")) {
            lines[end].remove_prefix(2);
        } else {
            break;
        }
    }
    Result<std::vector<Block>> children = parse_level({lines.window, end}, i);
    if (!children) return std::move(children).error();
    Block::Para quote = light_para(">", false, {}, Taxis::absent());
    quote.children = std::move(*children);
    blocks.push_back(std::move(quote));
    return end;
}

// The lines, each trimmed (in place: they are read once), are joined by
// spaces.
std::size_t DjotParser::read_paragraph(LineRange lines, std::size_t i, std::vector<Block>& blocks) {
    std::size_t end = i + 1;
    while (lines.has(end) && !opens_block(unicode::trim_end(lines[end]))) ++end;
    for (std::size_t k = i; k < end; ++k) lines[k] = unicode::trim(lines[k]);
    const std::string text = joined_lines(lines, i, end);
    if (auto block = paragraph_block(djot_inlines(text))) blocks.push_back(std::move(*block));
    return end;
}

}  // namespace

Status import_djot(std::string_view text, ImportSink& sink) {
    if (Status declared = sink.declaration(djot_dialektos, std::nullopt); !declared) return declared;
    return DjotParser(text).parse(sink);
}

Result<Document> import_djot(std::string_view text) {
    DocumentCollector collector;
    if (Status imported = import_djot(text, collector); !imported) return std::move(imported).error();
    return std::move(collector).document();
}

}  // namespace ilvex
