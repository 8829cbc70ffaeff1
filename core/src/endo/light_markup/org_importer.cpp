#include "endo/light_markup/org_importer.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "dialektos/unicode.hpp"
#include "endo/import_context.hpp"
#include "endo/import_errors.hpp"
#include "endo/light_markup/block_loop.hpp"
#include "endo/light_markup/light_blocks.hpp"
#include "endo/light_markup/light_markup.hpp"
#include "endo/light_markup/line_window.hpp"
#include "endo/light_markup/org_inlines.hpp"
#include "endo/whitespace.hpp"
#include "endo/writable.hpp"

namespace ilvex {
namespace {

constexpr std::string_view org_dialektos = "il-org";

// Whether `text` begins with `upper`, ASCII letters compared without regard
// to case (`upper` is written in capitals).
bool starts_with_ascii_ci(std::string_view text, std::string_view upper) {
    if (text.size() < upper.size()) return false;
    for (std::size_t k = 0; k < upper.size(); ++k) {
        char b = text[k];
        if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 'a' + 'A');
        if (b != upper[k]) return false;
    }
    return true;
}

std::string ascii_uppercase(std::string_view text) {
    std::string upper(text);
    for (char& b : upper) {
        if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 'a' + 'A');
    }
    return upper;
}

// The first white-space-separated word of `text`.
std::string_view first_word(std::string_view text) {
    text = unicode::trim_start(text);
    std::size_t end = 0;
    while (end < text.size()) {
        std::size_t next = end;
        if (unicode::is_whitespace(unicode::next_char(text, next))) break;
        end = next;
    }
    return text.substr(0, end);
}

struct Heading {
    std::size_t level;
    std::string_view text;  // trimmed, not empty
};

// One to five stars, a space, and a text.
std::optional<Heading> heading_of(std::string_view line) {
    std::size_t stars = 0;
    while (stars < line.size() && stars <= 5 && line[stars] == '*') ++stars;
    if (stars == 0 || stars > 5 || stars >= line.size() || line[stars] != ' ') return std::nullopt;
    const std::string_view text = unicode::trim(line.substr(stars + 1));
    if (text.empty()) return std::nullopt;
    return Heading{stars, text};
}

bool is_keyword_line(std::string_view line) { return line.size() > 1 && line.starts_with("#+"); }

bool is_table_line(std::string_view line) { return unicode::trim_start(line).starts_with('|'); }

struct FootnoteMarker {
    std::string_view label;  // ASCII letters and digits
    std::string_view rest;
};

// "[fn:label]" at the start of the line.
std::optional<FootnoteMarker> footnote_marker(std::string_view line) {
    if (!line.starts_with("[fn:")) return std::nullopt;
    std::size_t k = 4;
    while (k < line.size() && ((line[k] >= 'a' && line[k] <= 'z') || (line[k] >= 'A' && line[k] <= 'Z') ||
                               (line[k] >= '0' && line[k] <= '9'))) {
        ++k;
    }
    if (k == 4 || k == line.size() || line[k] != ']') return std::nullopt;
    return FootnoteMarker{line.substr(4, k - 4), line.substr(k + 1)};
}

bool is_bullet_line(std::string_view line) {
    const std::string_view body = unicode::trim_start(line);
    return body.size() > 1 && body.starts_with("- ");
}

// Whether a line (without its trailing white space) is a paragraph line:
// one that every other construct passes over.
bool is_paragraph_line(std::string_view line) {
    return !is_blank(line) && !heading_of(line) && !is_keyword_line(line) && !is_table_line(line) &&
           !footnote_marker(line) && !is_bullet_line(line) &&
           !ordered_item_marker(unicode::trim_start(line));
}

// Whether `line` ends a block whose end keyword is `end` ("END_SRC").
bool is_end_line(std::string_view line, std::string_view end) {
    line = unicode::trim(line);
    return line.size() > 1 && line.starts_with("#+") && starts_with_ascii_ci(line.substr(2), end);
}

Block paragraph_para(Block::Para para, std::string_view text) {
    if (auto paragraph = paragraph_block(org_inlines(text))) para.children.push_back(std::move(*paragraph));
    return para;
}

// What a "#+BEGIN_" line opens: its kind, upper-cased, and the rest of the
// line after "BEGIN_", upper-cased ("SRC PYTHON"), which names the block in
// messages.
struct BlockOpener {
    std::string name;
    std::string end;  // the end keyword: "END_" and the first word of the name
};

BlockOpener block_opener(std::string_view rest) {
    std::string name = ascii_uppercase(rest.substr(6));
    std::string end = "END_";
    end += first_word(name);
    return BlockOpener{std::move(name), std::move(end)};
}

class OrgParser {
public:
    explicit OrgParser(std::string_view text) : window_(text) {}

    // Hands each top-level block to `sink` as soon as it is read, dropping
    // its lines.
    Status parse(ImportSink& sink);

private:
    // The blocks of a quote's body, whose lines begin at `i`.
    Result<std::vector<Block>> parse_level(LineRange lines, std::size_t i);
    // Reads the construct that begins at line `i` into `blocks`: the index
    // after it.
    Result<std::size_t> read_block(LineRange lines, std::size_t i, std::vector<Block>& blocks);

    Result<std::size_t> read_keyword(LineRange lines, std::size_t i, std::string_view line,
                                     std::vector<Block>& blocks);
    Result<std::size_t> read_quote(LineRange lines, std::size_t i, const BlockOpener& opener,
                                   std::vector<Block>& blocks);
    Block verse_block(LineRange lines, std::size_t begin, std::size_t end) const;
    std::size_t read_table(LineRange lines, std::size_t i, std::vector<Block>& blocks) const;
    std::size_t read_footnote(LineRange lines, std::size_t i, const FootnoteMarker& marker,
                              std::vector<Block>& blocks) const;
    std::size_t read_item(LineRange lines, std::size_t i, std::string_view first, Taxis taxis,
                          std::vector<Block>& blocks) const;
    std::size_t read_paragraph(LineRange lines, std::size_t i, std::vector<Block>& blocks) const;

    // The end line of the SRC, EXAMPLE or VERSE block opened at line `i`.
    Result<std::size_t> block_end(LineRange lines, std::size_t i, const BlockOpener& opener);
    // The end line of the QUOTE block opened at line `i`: the one that
    // balances it.
    Result<std::size_t> quote_end(LineRange lines, std::size_t i, const BlockOpener& opener);

    Error unterminated(const BlockOpener& opener) const {
        return context_.error("unterminated #+BEGIN_" + opener.name);
    }

    LineWindow window_;
    ImportContext context_{org_import_error};
    // The end lines of the blocks inside a quote, found when the quote's own
    // end was sought, by opener line: the quote's body is read afterwards,
    // and nested quotes are not searched again level by level.
    std::unordered_map<std::size_t, std::size_t> ends_found_;
};

Status OrgParser::parse(ImportSink& sink) {
    return stream_blocks(window_, sink, [this](LineRange range, std::size_t at, std::vector<Block>& out) {
        return read_block(range, at, out);
    });
}

Result<std::vector<Block>> OrgParser::parse_level(LineRange lines, std::size_t i) {
    return read_level(lines, i, [this](LineRange range, std::size_t at, std::vector<Block>& out) {
        return read_block(range, at, out);
    });
}

Result<std::size_t> OrgParser::read_block(LineRange lines, std::size_t i,
                                          std::vector<Block>& blocks) {
    const std::string_view line = unicode::trim_end(lines[i]);
    if (is_blank(line)) return i + 1;
    if (const auto heading = heading_of(line)) {
        blocks.push_back(heading_block(heading->level, org_inlines(heading->text)));
        return i + 1;
    }
    if (is_keyword_line(line)) return read_keyword(lines, i, line, blocks);
    if (is_table_line(line)) return read_table(lines, i, blocks);
    if (const auto marker = footnote_marker(line)) return read_footnote(lines, i, *marker, blocks);
    const std::string_view body = unicode::trim_start(line);
    if (is_bullet_line(line)) return read_item(lines, i, body.substr(2), Taxis::absent(), blocks);
    if (const auto marker = ordered_item_marker(body)) {
        return read_item(lines, i, marker->rest, Taxis::of(marker->number), blocks);
    }
    return read_paragraph(lines, i, blocks);
}

Result<std::size_t> OrgParser::read_keyword(LineRange lines, std::size_t i, std::string_view line,
                                            std::vector<Block>& blocks) {
    const std::string_view rest = line.substr(2);
    const auto unsupported = [&] { return context_.error("unsupported block `#+" + std::string(rest) + "`"); };
    if (rest.size() < 6) {
        if (starts_with_ascii_ci(rest, "END_")) return unsupported();
        return i + 1;
    }
    if (starts_with_ascii_ci(rest, "TITLE:")) {
        blocks.push_back(heading_block(1, org_inlines(unicode::trim(rest.substr(6)))));
        return i + 1;
    }
    const bool source = starts_with_ascii_ci(rest, "BEGIN_SRC");
    if (source || starts_with_ascii_ci(rest, "BEGIN_EXAMPLE")) {
        const BlockOpener opener = block_opener(rest);
        Result<std::size_t> end = block_end(lines, i, opener);
        if (!end) return std::move(end).error();
        Suffix suffix;
        if (source) {
            // The language is the word after the block's kind.
            const std::string_view after_kind = unicode::trim_start(rest).substr(first_word(rest).size());
            if (auto genos = writable_genos(first_word(after_kind))) suffix.genoses.push_back(std::move(*genos));
        }
        for (Block& block : literal_blocks(literal_lines(lines, i + 1, *end), suffix)) {
            blocks.push_back(std::move(block));
        }
        return *end + 1;
    }
    if (starts_with_ascii_ci(rest, "BEGIN_QUOTE")) return read_quote(lines, i, block_opener(rest), blocks);
    if (starts_with_ascii_ci(rest, "BEGIN_VERSE")) {
        const BlockOpener opener = block_opener(rest);
        Result<std::size_t> end = block_end(lines, i, opener);
        if (!end) return std::move(end).error();
        blocks.push_back(verse_block(lines, i + 1, *end));
        return *end + 1;
    }
    if (starts_with_ascii_ci(rest, "BEGIN_") || starts_with_ascii_ci(rest, "END_")) return unsupported();
    return i + 1;  // another keyword: author, options, ...
}

// The body is read as an Org text of its own, one level deeper.
Result<std::size_t> OrgParser::read_quote(LineRange lines, std::size_t i, const BlockOpener& opener,
                                          std::vector<Block>& blocks) {
    Result<NestingDepth::Level> level = context_.enter();
    if (!level) return std::move(level).error();
    Result<std::size_t> end = quote_end(lines, i, opener);
    if (!end) return std::move(end).error();
    Result<std::vector<Block>> children = parse_level({lines.window, *end}, i + 1);
    if (!children) return std::move(children).error();
    Block::Para quote = light_para(">", false, {}, Taxis::absent());
    quote.children = std::move(*children);
    blocks.push_back(std::move(quote));
    return *end + 1;
}

// Blank lines end strophes; every other line, untrimmed, is a verse line.
Block OrgParser::verse_block(LineRange lines, std::size_t begin, std::size_t end) const {
    Block::Stichoi verse;
    verse.symbol = "~";
    Strophe strophe;
    for (std::size_t k = begin; k <= end; ++k) {
        if (k == end || is_blank(lines[k])) {
            if (!strophe.empty()) verse.strophes.push_back(std::move(strophe));
            strophe.clear();
        } else {
            strophe.push_back(org_inlines(lines[k]));
        }
    }
    return verse;
}

// The rows run to the first line that does not begin with "|" once its
// leading white space is gone; each is kept as text, trimmed.
std::size_t OrgParser::read_table(LineRange lines, std::size_t i, std::vector<Block>& blocks) const {
    Strophe rows;
    std::size_t end = i;
    for (; lines.has(end) && is_table_line(lines[end]); ++end) {
        std::vector<Inline> row;
        row.emplace_back(Inline::Text{std::string(unicode::trim(lines[end]))});
        rows.push_back(std::move(row));
    }
    Block::Stichoi table;
    table.symbol = "|";
    table.strophes.push_back(std::move(rows));
    blocks.push_back(std::move(table));
    return end;
}

// The text after the label, then every following line that is not blank
// and begins with white space, all trimmed and joined by spaces.
std::size_t OrgParser::read_footnote(LineRange lines, std::size_t i, const FootnoteMarker& marker,
                                     std::vector<Block>& blocks) const {
    std::string text(unicode::trim(marker.rest));
    std::size_t end = i + 1;
    for (; lines.has(end) && !is_blank(lines[end]) &&
           unicode::trim_start(lines[end]).size() != lines[end].size();
         ++end) {
        text += ' ';
        text += unicode::trim(lines[end]);
    }
    Suffix suffix;
    suffix.onym = std::string(marker.label);  // letters and digits: always an onym
    blocks.push_back(paragraph_para(light_para("^", true, std::move(suffix), Taxis::absent()), text));
    return end;
}

// The item's text goes on over the following lines indented by two spaces
// that do not begin another item. A bullet item's text holding " :: " is a
// description item: the term before it, the description after it.
std::size_t OrgParser::read_item(LineRange lines, std::size_t i, std::string_view first, Taxis taxis,
                                 std::vector<Block>& blocks) const {
    std::string text(unicode::trim(first));
    std::size_t end = i + 1;
    for (; lines.has(end); ++end) {
        const std::string_view line = lines[end];
        const std::string_view body = unicode::trim_start(line);
        if (is_blank(line) || !line.starts_with("  ") || body.starts_with("- ") ||
            ordered_item_marker(body)) {
            break;
        }
        text += ' ';
        text += unicode::trim(line);
    }
    const std::size_t separator = text.find(" :: ");
    if (taxis.state == Taxis::State::Number) {
        blocks.push_back(paragraph_para(light_para(".", true, {}, taxis), text));
    } else if (separator == std::string::npos) {
        blocks.push_back(paragraph_para(light_para("-", true, {}, taxis), text));
    } else {
        Block::Para item = light_para("::", true, {}, taxis);
        item.lemma = org_inlines(std::string_view(text).substr(0, separator));
        trim_inlines(item.lemma);
        blocks.push_back(paragraph_para(std::move(item), std::string_view(text).substr(separator + 4)));
    }
    return end;
}

// The lines, each trimmed (in place: they are read once), are joined by
// spaces.
std::size_t OrgParser::read_paragraph(LineRange lines, std::size_t i, std::vector<Block>& blocks) const {
    std::size_t end = i + 1;
    while (lines.has(end) && is_paragraph_line(unicode::trim_end(lines[end]))) ++end;
    for (std::size_t k = i; k < end; ++k) lines[k] = unicode::trim(lines[k]);
    const std::string text = joined_lines(lines, i, end);
    if (auto block = paragraph_block(org_inlines(text))) blocks.push_back(std::move(*block));
    return end;
}

Result<std::size_t> OrgParser::block_end(LineRange lines, std::size_t i, const BlockOpener& opener) {
    if (const auto found = ends_found_.find(i); found != ends_found_.end()) return found->second;
    for (std::size_t j = i + 1; lines.has(j); ++j) {
        if (is_end_line(lines[j], opener.end)) return j;
    }
    return unterminated(opener);
}

// The quote's body is walked as the importer will read it: a QUOTE opened
// inside needs an end line of its own, and the body of a SRC, EXAMPLE or
// VERSE block inside is passed over, an end line in it being code or
// verse. The ends found on the way are kept for when the body is read.
Result<std::size_t> OrgParser::quote_end(LineRange lines, std::size_t i, const BlockOpener& opener) {
    if (const auto found = ends_found_.find(i); found != ends_found_.end()) return found->second;
    std::vector<std::size_t> open = {i};
    for (std::size_t j = i + 1; lines.has(j); ++j) {
        if (is_end_line(lines[j], "END_QUOTE")) {
            ends_found_[open.back()] = j;
            open.pop_back();
            if (open.empty()) return j;
            continue;
        }
        const std::string_view line = unicode::trim_end(lines[j]);
        if (!is_keyword_line(line)) continue;
        const std::string_view rest = line.substr(2);
        if (starts_with_ascii_ci(rest, "BEGIN_QUOTE")) {
            open.push_back(j);
        } else if (starts_with_ascii_ci(rest, "BEGIN_SRC") || starts_with_ascii_ci(rest, "BEGIN_EXAMPLE") ||
                   starts_with_ascii_ci(rest, "BEGIN_VERSE")) {
            Result<std::size_t> end = block_end(lines, j, block_opener(rest));
            if (!end) return std::move(end).error();
            ends_found_[j] = *end;
            j = *end;
        }
    }
    return unterminated(opener);
}

}  // namespace

Status import_org(std::string_view text, ImportSink& sink) {
    if (Status declared = sink.declaration(org_dialektos, std::nullopt); !declared) return declared;
    return OrgParser(text).parse(sink);
}

Result<Document> import_org(std::string_view text) {
    DocumentCollector collector;
    if (Status imported = import_org(text, collector); !imported) return std::move(imported).error();
    return std::move(collector).document();
}

}  // namespace ilvex
