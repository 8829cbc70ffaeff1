#include "endo/scripture/usfm_importer.hpp"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dialektos/unicode.hpp"
#include "endo/import_context.hpp"
#include "endo/import_errors.hpp"
#include "endo/scripture/scripture_blocks.hpp"
#include "endo/scripture/usfm_inlines.hpp"
#include "endo/scripture/usfm_lines.hpp"

namespace ilvex {
namespace {

using Inlines = std::vector<Inline>;

// Marker lines that are read and ignored, with their text.
bool is_dropped_line(std::string_view marker) {
    return marker == "ie" || marker == "ib" || marker == "ide" || marker == "sts" || marker == "rem" ||
           marker == "usfm";
}

// Introduction paragraphs that carry text: typed paragraphs of their own
// name, like the paragraph styles.
bool is_introduction_paragraph(std::string_view marker) { return marker == "im" || marker == "iex"; }

bool is_poetry_marker(std::string_view marker) {
    if (marker == "q" || marker == "qr" || marker == "qc" || marker == "qm" || marker == "qm1" ||
        marker == "qm2" || marker == "qm3") {
        return true;
    }
    return marker.size() == 2 && marker[0] == 'q' && marker[1] >= '0' && marker[1] <= '9';
}

std::string_view poetry_level(std::string_view marker) {
    if (marker == "q") return "q1";
    if (marker == "qm") return "qm1";
    return marker;
}

// The text up to the first white-space character, and the text after that
// character (not trimmed).
std::pair<std::string_view, std::string_view> split_word(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t next = i;
        if (unicode::is_whitespace(unicode::next_char(text, next))) return {text.substr(0, i), text.substr(next)};
        i = next;
    }
    return {text, {}};
}

// The first white-space-separated word.
std::string_view first_word(std::string_view text) { return split_word(unicode::trim_start(text)).first; }

void drop_trailing_blank_texts(Inlines& inlines) {
    while (!inlines.empty()) {
        const auto* text = std::get_if<Inline::Text>(&inlines.back().node);
        if (text == nullptr || !unicode::trim(text->text).empty()) return;
        inlines.pop_back();
    }
}

void append(Inlines& out, Inlines&& more) {
    out.insert(out.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
}

// A poetry line that is one "," phrase; `empty_only` asks for one that has
// no children yet (a marker alone on its line, which the next text fills).
Inline::EndoSimmere* line_phrase(Inlines& line, bool empty_only) {
    if (line.size() != 1) return nullptr;
    auto* phrase = std::get_if<Inline::EndoSimmere>(&line.front().node);
    if (phrase == nullptr || phrase->symbol != phrase_symbol) return nullptr;
    if (empty_only && !phrase->children.empty()) return nullptr;
    return phrase;
}

class UsfmImporter {
public:
    explicit UsfmImporter(ImportSink& sink) : sink_(sink) {}

    Status line(std::string_view line);
    Status finish();

private:
    Status marker_line(std::string_view marker, std::string_view rest);
    Status text_line(std::string_view text);
    Status verse(std::string_view rest);
    Status book(std::string_view rest);
    Status paragraph(std::optional<std::string> style, std::string_view rest);
    Status poetry_line(std::string_view marker, std::string_view rest);
    Status heading(std::string_view style, std::string_view rest);
    void strophe_break();

    // The inlines of a piece of the logical line being read.
    Result<Inlines> inlines(std::string_view piece);
    // The level of a verse that starts a poetry line of its own.
    std::string inherited_level();
    void flush_paragraph();
    void close_poetry() { poetry_block(strophe_, strophes_, blocks_); }
    bool in_poetry() const { return !strophe_.empty() || !strophes_.empty(); }
    // Hands the finished blocks to the open book, as its children; before
    // the first book they wait for it.
    void hand_over();
    void close_book();

    ImportSink& sink_;
    ImportContext context_{usfm_import_error};
    std::optional<UsfmInlineReader> reader_;  // over the logical line being read

    bool book_open_ = false;
    std::vector<Block> blocks_;  // finished, not yet handed over
    Inlines paragraph_;
    bool paragraph_open_ = false;
    std::optional<std::string> pending_style_;
    Strophe strophe_;
    std::vector<Strophe> strophes_;
};

Result<Inlines> UsfmImporter::inlines(std::string_view piece) {
    if (piece.find('\\') == std::string_view::npos) {
        Inlines plain;
        if (!piece.empty()) plain.emplace_back(Inline::Text{std::string(piece)});
        return plain;
    }
    return reader_->inlines(piece);
}

Status UsfmImporter::line(std::string_view line) {
    const std::string_view text = unicode::trim_end(line);
    if (unicode::trim_start(text).empty()) return {};
    reader_.emplace(text, context_);
    if (!text.starts_with('\\')) return text_line(text);
    const auto [marker, rest] = split_word(text.substr(1));
    Status read = marker_line(marker, unicode::trim(rest));
    hand_over();
    return read;
}

Status UsfmImporter::marker_line(std::string_view marker, std::string_view rest) {
    const std::string_view canonical = canonical_usfm_marker(marker);
    if (marker == "v") return verse(rest);
    if (marker == "p") return paragraph(std::nullopt, rest);
    if (marker == "c") {
        close_poetry();
        flush_paragraph();
        blocks_.push_back(chapter_block(std::string(first_word(rest))));
        return {};
    }
    if (marker == "id") return book(rest);
    if (is_dropped_line(marker)) return {};
    if (is_usfm_paragraph_style(canonical) || is_introduction_paragraph(marker)) {
        return paragraph(std::string(canonical), rest);
    }
    if (marker == "b") {
        strophe_break();
        return {};
    }
    if (is_poetry_marker(marker)) return poetry_line(marker, rest);
    if (is_usfm_heading_style(canonical)) return heading(canonical, rest);
    std::string message = "unsupported marker \\";
    message += marker;
    return usfm_import_error(message);
}

Status UsfmImporter::text_line(std::string_view text) {
    if (strophe_.empty()) {
        if (!paragraph_open_) {
            std::string message = "stray text outside a paragraph: ";
            message += text;
            return usfm_import_error(message);
        }
        Result<Inlines> more = inlines(unicode::trim(text));
        if (!more) return std::move(more).error();
        if (!paragraph_.empty()) paragraph_.emplace_back(Inline::Text{" "});
        append(paragraph_, std::move(more).value());
        return {};
    }
    Result<Inlines> more = inlines(unicode::trim(text));
    if (!more) return std::move(more).error();
    Inlines& last = strophe_.back();
    if (Inline::EndoSimmere* empty = line_phrase(last, true)) {
        empty->children = std::move(more).value();
    } else {
        last.emplace_back(Inline::Text{" "});
        append(last, std::move(more).value());
    }
    return {};
}

std::string UsfmImporter::inherited_level() {
    Inlines* source = nullptr;
    if (!strophe_.empty()) {
        source = &strophe_.back();
    } else if (!strophes_.empty() && !strophes_.back().empty()) {
        source = &strophes_.back().back();
    }
    if (source != nullptr) {
        const Inline::EndoSimmere* phrase = line_phrase(*source, false);
        if (phrase != nullptr && phrase->suffix.genoses.size() == 1 && phrase->suffix.genoses[0].starts_with('q')) {
            return phrase->suffix.genoses[0];
        }
    }
    return "q1";
}

Status UsfmImporter::verse(std::string_view rest) {
    const auto [number, after] = split_word(rest);
    const std::string_view remainder = unicode::trim(after);
    Inlines verse_inlines;
    verse_inlines.push_back(verse_milestone(std::string(number)));
    if (!remainder.empty()) {
        Result<Inlines> more = inlines(remainder);
        if (!more) return std::move(more).error();
        verse_inlines.emplace_back(Inline::Text{" "});
        append(verse_inlines, std::move(more).value());
    }
    if (in_poetry()) {
        if (!strophe_.empty()) {
            if (Inline::EndoSimmere* empty = line_phrase(strophe_.back(), true)) {
                empty->children = std::move(verse_inlines);
                return {};
            }
        }
        const std::string level = inherited_level();
        strophe_.push_back(Inlines{phrase(level, std::move(verse_inlines))});
        return {};
    }
    if (!paragraph_open_) {
        paragraph_open_ = true;
        pending_style_.reset();
    }
    if (!paragraph_.empty()) paragraph_.emplace_back(Inline::Text{" "});
    append(paragraph_, std::move(verse_inlines));
    return {};
}

Status UsfmImporter::book(std::string_view rest) {
    const std::string_view word = first_word(rest);
    if (word.empty()) return usfm_import_error("\\id without a book code");
    std::string code = unicode::lowercase(word);
    if (book_open_) close_book();
    sink_.open(book_division_block(std::move(code), {}));
    book_open_ = true;
    return {};
}

Status UsfmImporter::paragraph(std::optional<std::string> style, std::string_view rest) {
    close_poetry();
    flush_paragraph();
    paragraph_open_ = true;
    pending_style_ = std::move(style);
    Result<Inlines> more = inlines(rest);
    if (!more) return std::move(more).error();
    append(paragraph_, std::move(more).value());
    return {};
}

void UsfmImporter::strophe_break() {
    if (!strophe_.empty()) {
        strophes_.push_back(std::move(strophe_));
        strophe_.clear();
    } else if (strophes_.empty()) {
        flush_paragraph();
    }
}

Status UsfmImporter::poetry_line(std::string_view marker, std::string_view rest) {
    flush_paragraph();
    Result<Inlines> more = inlines(rest);
    if (!more) return std::move(more).error();
    drop_trailing_blank_texts(more.value());
    strophe_.push_back(Inlines{phrase(poetry_level(marker), std::move(more).value())});
    return {};
}

Status UsfmImporter::heading(std::string_view style, std::string_view rest) {
    close_poetry();
    flush_paragraph();
    Result<Inlines> more = inlines(rest);
    if (!more) return std::move(more).error();
    drop_trailing_blank_texts(more.value());
    blocks_.push_back(typed_block(style, std::move(more).value()));
    return {};
}

void UsfmImporter::flush_paragraph() {
    Inlines inlines = std::move(paragraph_);
    paragraph_.clear();
    paragraph_open_ = false;
    std::optional<std::string> style = std::move(pending_style_);
    pending_style_.reset();
    drop_trailing_blank_texts(inlines);
    if (inlines.empty()) return;
    blocks_.push_back(style ? typed_block(*style, std::move(inlines)) : Block(Block::Paragraph{std::move(inlines)}));
}

void UsfmImporter::hand_over() {
    if (!book_open_) return;
    for (Block& block : blocks_) sink_.block(std::move(block));
    blocks_.clear();
}

void UsfmImporter::close_book() {
    close_poetry();
    flush_paragraph();
    hand_over();
    sink_.close();
}

Status UsfmImporter::finish() {
    if (!book_open_) return usfm_import_error("missing \\id");
    close_book();
    return {};
}

}  // namespace

Status import_usfm(std::string_view text, ImportSink& sink) {
    if (Status declared = sink.declaration(usfm_dialektos, std::nullopt); !declared) return declared;
    UsfmImporter importer(sink);
    UsfmLogicalLines lines(text);
    while (const std::optional<std::string_view> line = lines.next()) {
        if (Status read = importer.line(*line); !read) return read;
    }
    return importer.finish();
}

Result<Document> import_usfm(std::string_view text) {
    DocumentCollector collector;
    if (Status imported = import_usfm(text, collector); !imported) return std::move(imported).error();
    return std::move(collector).document();
}

}  // namespace ilvex
