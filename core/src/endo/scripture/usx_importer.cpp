#include "endo/scripture/usx_importer.hpp"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dialektos/unicode.hpp"
#include "endo/import_context.hpp"
#include "endo/import_errors.hpp"
#include "endo/scripture/scripture_blocks.hpp"
#include "endo/scripture/usx_inlines.hpp"
#include "endo/xml/xml_walk.hpp"

namespace ilvex {
namespace {

using Inlines = std::vector<Inline>;

// Paragraph styles whose content is metadata, read and dropped.
bool is_dropped_style(std::string_view style) {
    return style == "ide" || style == "rem" || style == "sts" || style == "usfm";
}

// The level of a poetry paragraph style ("q", "q1" ... "q9"), or nothing.
std::optional<std::string_view> poetry_level(std::string_view style) {
    if (style == "q") return "q1";
    if (style.size() == 2 && style[0] == 'q' && style[1] >= '0' && style[1] <= '9') return style;
    return std::nullopt;
}

bool all_blank(const Inlines& inlines) {
    for (const Inline& item : inlines) {
        const auto* text = std::get_if<Inline::Text>(&item.node);
        if (text == nullptr || !unicode::trim(text->text).empty()) return false;
    }
    return true;
}

class UsxImporter {
public:
    UsxImporter(std::string_view text, ImportSink& sink) : tokens_(text), sink_(sink) {}

    // Reads the whole text; a tokenizer error anywhere wins over an error of
    // the import before it, as if the text had been tokenized first.
    Status import() {
        Status read = run();
        if (!read) return tokens_.first_error(std::move(read).error());
        return read;
    }

private:
    Status run();
    Status book(const XmlOpen& open);
    void chapter(const XmlOpen& open);
    Status para(const XmlOpen& open);
    Status styled_para(std::string_view style, Inlines inlines);
    void strophe_break();
    void close_poetry() { poetry_block(strophe_, strophes_, blocks_); }
    // Hands the finished blocks to the open book; before the first book
    // they wait for it.
    void hand_over();
    void close_book();

    TokenWindow tokens_;
    ImportSink& sink_;
    ImportContext context_{usx_import_error};
    TokenWalk walk_{tokens_, context_};
    std::size_t next_ = 0;  // the token to read

    // A book division is open in the sink: its blocks go to it in pieces,
    // so a long book is never held whole.
    bool book_open_ = false;
    std::vector<Block> blocks_;  // finished, not yet handed over
    Strophe strophe_;
    std::vector<Strophe> strophes_;
};

Status UsxImporter::run() {
    while (true) {
        // What was read before the next element at book level is no longer needed.
        tokens_.release(next_);
        hand_over();
        Result<const XmlToken*> next = tokens_.at(next_++);
        if (!next) return std::move(next).error();
        if (*next == nullptr) break;
        const XmlToken& token = **next;
        if (const auto* open = std::get_if<XmlOpen>(&token)) {
            Status read;
            if (open->name == "usx") continue;
            if (open->name == "book") {
                read = book(*open);
            } else if (open->name == "chapter") {
                chapter(*open);
            } else if (open->name == "para") {
                read = para(*open);
            } else {
                return token_error(context_, "unexpected ", token, " at book level");
            }
            if (!read) return read;
            continue;
        }
        if (const auto* close = std::get_if<XmlClose>(&token); close != nullptr && close->name == "usx") continue;
        if (const auto* text = std::get_if<XmlText>(&token); text != nullptr && holds_only_white_space(text->text)) continue;
        return token_error(context_, "unexpected ", token, " at book level");
    }
    close_poetry();
    if (!book_open_) return context_.error("missing <book code>");
    close_book();
    return {};
}

Status UsxImporter::book(const XmlOpen& open) {
    const auto code = attribute_value(open.attrs, "code");
    if (!code) return context_.error("<book> without a code");
    if (book_open_) close_book();
    sink_.open(book_division_block(unicode::lowercase(*code), {}));
    book_open_ = true;
    if (open.self_closing) return {};
    // The book element holds its title text, which the division does not keep.
    Result<std::size_t> after = tokens_.skip(next_, "book");
    if (!after) return std::move(after).error();
    next_ = after.value();
    return {};
}

void UsxImporter::chapter(const XmlOpen& open) {
    const auto number = attribute_value(open.attrs, "number");
    if (!number) return;  // a chapter end
    close_poetry();
    blocks_.push_back(chapter_block(std::string(*number)));
}

Status UsxImporter::para(const XmlOpen& open) {
    const auto style = attribute_value(open.attrs, "style");
    if (!style) return context_.error("<para> without a style");
    if (open.self_closing) {
        if (*style == "b") strophe_break();
        return {};
    }
    Result<ConvertedInlines> content = import_usx_inlines(walk_, next_, "para");
    if (!content) return std::move(content).error();
    next_ = content.value().next;
    return styled_para(*style, std::move(content.value().inlines));
}

Status UsxImporter::styled_para(std::string_view style, Inlines inlines) {
    if (const auto level = poetry_level(style)) {
        Inlines line;
        line.push_back(phrase(*level, std::move(inlines)));
        strophe_.push_back(std::move(line));
        return {};
    }
    // A blank "b" is the strophe break, however it is written.
    if (style == "b" && all_blank(inlines)) {
        strophe_break();
        return {};
    }
    close_poetry();
    const std::string_view canonical = canonical_usfm_marker(style);
    if (canonical == "p") {
        blocks_.emplace_back(Block::Paragraph{std::move(inlines)});
    } else if (is_usfm_paragraph_style(canonical) || is_usfm_heading_style(canonical)) {
        blocks_.push_back(typed_block(canonical, std::move(inlines)));
    } else if (!is_dropped_style(canonical)) {
        std::string message = "unsupported para style `";
        message += style;
        message += '`';
        return context_.error(message);
    }
    return {};
}

void UsxImporter::strophe_break() {
    if (strophe_.empty()) return;
    strophes_.push_back(std::move(strophe_));
    strophe_.clear();
}

void UsxImporter::hand_over() {
    if (!book_open_) return;
    for (Block& block : blocks_) sink_.block(std::move(block));
    blocks_.clear();
}

void UsxImporter::close_book() {
    close_poetry();
    hand_over();
    sink_.close();
}

}  // namespace

Status import_usx(std::string_view text, ImportSink& sink) {
    if (Status declared = sink.declaration(usfm_dialektos, std::nullopt); !declared) return declared;
    return UsxImporter(without_byte_order_mark(text), sink).import();
}

Result<Document> import_usx(std::string_view text) {
    DocumentCollector collector;
    if (Status imported = import_usx(text, collector); !imported) return std::move(imported).error();
    return std::move(collector).document();
}

}  // namespace ilvex
