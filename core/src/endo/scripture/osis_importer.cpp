#include "endo/scripture/osis_importer.hpp"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dialektos/unicode.hpp"
#include "endo/import_context.hpp"
#include "endo/import_errors.hpp"
#include "endo/scripture/osis_inlines.hpp"
#include "endo/scripture/scripture_blocks.hpp"
#include "endo/whitespace.hpp"
#include "endo/xml/xml_walk.hpp"

namespace ilvex {
namespace {

using Inlines = std::vector<Inline>;

Error osis_missing_id_error() { return osis_import_error("book div without an osisID"); }

// The style of a title, by its type.
std::string_view title_style(std::string_view type) {
    if (type == "main") return "mt1";
    if (type == "psalm") return "d";
    if (type == "scope") return "mr";
    if (type == "parallel") return "r";
    if (type == "acrostic") return "qa";
    if (type == "runningHead") return "h";
    if (type == "chapterLabel") return "cl";
    return "s1";
}

class OsisImporter {
public:
    OsisImporter(std::string_view text, ImportSink& sink) : tokens_(text), sink_(sink) {}

    // Reads the whole text; a tokenizer error anywhere wins over an error of
    // the import before it, as if the text had been tokenized first.
    Status import() {
        Status read = run();
        if (!read) return tokens_.first_error(std::move(read).error());
        return read;
    }

private:
    Status run();
    // The next token at document or block level; what was read before it is
    // no longer needed.
    Result<const XmlToken*> read_released() {
        tokens_.release(next_);
        return tokens_.at(next_++);
    }
    Status book(const XmlOpen& open);
    Status block(const XmlToken& token, bool& book_ended);
    Status paragraph(const XmlOpen& open);
    Status title(const XmlOpen& open);
    Status speaker(const XmlOpen& open);
    Status line_group();
    // Hands the finished blocks to the book; a poem stays while the next
    // line group may still join it, unless the book has ended.
    void hand_over(bool book_ended);
    void chapter(const XmlOpen& open);
    Status skip(const XmlOpen& open);
    // The trimmed content of a block element; nothing for a self-closing one.
    Result<Inlines> block_content(const XmlOpen& open);

    TokenWindow tokens_;
    ImportSink& sink_;
    ImportContext context_{osis_import_error};
    TokenWalk walk_{tokens_, context_};
    std::size_t next_ = 0;  // the token to read

    bool any_book_ = false;
    std::vector<Block> blocks_;  // of the book, finished, not yet handed over
    // The divisions open inside the book (sections and the like), each
    // holding a level of the nesting bound.
    std::vector<NestingDepth::Level> sections_;
};

Status OsisImporter::run() {
    while (true) {
        Result<const XmlToken*> next = read_released();
        if (!next) return std::move(next).error();
        if (*next == nullptr) break;
        const XmlToken& token = **next;
        if (const auto* open = std::get_if<XmlOpen>(&token)) {
            if (open->name == "osis" || open->name == "osisText") continue;
            if (open->name == "header" || open->name == "title") {
                if (Status skipped = skip(*open); !skipped) return skipped;
                continue;
            }
            if (open->name == "div") {
                // Only a book starts a division; other divisions are read through.
                if (attribute_value(open->attrs, "type") != "book") continue;
                if (Status read = book(*open); !read) return read;
                continue;
            }
        } else if (const auto* close = std::get_if<XmlClose>(&token)) {
            if (close->name == "osis" || close->name == "osisText" || close->name == "div") continue;
        } else if (holds_only_white_space(std::get<XmlText>(token).text)) {
            continue;
        }
        return token_error(context_, "unexpected ", token, " at document level");
    }
    if (!any_book_) return context_.error("no book div found");
    return {};
}

Status OsisImporter::book(const XmlOpen& open) {
    const auto id = attribute_value(open.attrs, "osisid");
    if (!id) return osis_missing_id_error();
    any_book_ = true;
    // The book goes to the sink in pieces, so a long book is never held whole.
    sink_.open(book_division_block(unicode::lowercase(*id), {}));
    if (!open.self_closing) {
        bool ended = false;
        while (!ended) {
            Result<const XmlToken*> next = read_released();
            if (!next) return std::move(next).error();
            if (*next == nullptr) return unterminated_error(context_, "div");
            if (Status read = block(**next, ended); !read) return read;
            hand_over(ended);
        }
    }
    sink_.close();
    return {};
}

Status OsisImporter::block(const XmlToken& token, bool& book_ended) {
    if (const auto* text = std::get_if<XmlText>(&token)) {
        const std::string_view trimmed = unicode::trim(text->text);
        if (trimmed.empty()) return {};
        std::string message = "bare text at block level: `";
        message += trimmed;
        message += '`';
        return context_.error(message);
    }
    if (const auto* close = std::get_if<XmlClose>(&token)) {
        if (close->name == "div") {
            // A section ends at its own end tag, the book at the one that
            // balances its start.
            if (sections_.empty()) {
                book_ended = true;
            } else {
                sections_.pop_back();
            }
            return {};
        }
        if (close->name == "chapter") return {};
        return token_error(context_, "unexpected ", token, " at block level");
    }
    const auto& open = std::get<XmlOpen>(token);
    if (open.name == "p") return paragraph(open);
    if (open.name == "title") return title(open);
    if (open.name == "speaker") return speaker(open);
    if (open.name == "lg") return open.self_closing ? Status{} : line_group();
    if (open.name == "chapter") {
        chapter(open);
        return {};
    }
    if (open.name == "div") {
        if (open.self_closing) return {};
        Result<NestingDepth::Level> level = context_.enter();
        if (!level) return std::move(level).error();
        sections_.push_back(std::move(level).value());
        return {};
    }
    if (open.name == "lb" || open.name == "milestone" || (open.name == "q" && open.self_closing)) return skip(open);
    return token_error(context_, "unexpected ", token, " at block level");
}

Result<Inlines> OsisImporter::block_content(const XmlOpen& open) {
    if (open.self_closing) return Inlines{};
    Result<ConvertedInlines> content = import_osis_inlines(walk_, next_, open.name);
    if (!content) return std::move(content).error();
    next_ = content.value().next;
    trim_inlines(content.value().inlines);
    return std::move(content.value().inlines);
}

Status OsisImporter::paragraph(const XmlOpen& open) {
    Result<Inlines> inlines = block_content(open);
    if (!inlines) return std::move(inlines).error();
    if (!inlines.value().empty()) blocks_.emplace_back(Block::Paragraph{std::move(inlines).value()});
    return {};
}

Status OsisImporter::title(const XmlOpen& open) {
    const std::string_view type = attribute_value(open.attrs, "type").value_or("");
    Result<Inlines> inlines = block_content(open);
    if (!inlines) return std::move(inlines).error();
    if (type == "main") {
        if (const auto short_title = attribute_value(open.attrs, "short")) {
            Inlines running_head;
            running_head.emplace_back(Inline::Text{std::string(*short_title)});
            blocks_.push_back(typed_block("h", std::move(running_head)));
        }
    }
    blocks_.push_back(typed_block(title_style(type), std::move(inlines).value()));
    return {};
}

Status OsisImporter::speaker(const XmlOpen& open) {
    Result<Inlines> inlines = block_content(open);
    if (!inlines) return std::move(inlines).error();
    blocks_.push_back(typed_block("sp", std::move(inlines).value()));
    return {};
}

Status OsisImporter::line_group() {
    Result<ConvertedStrophes> group = import_osis_line_group(walk_, next_);
    if (!group) return std::move(group).error();
    next_ = group.value().next;
    std::vector<Strophe>& strophes = group.value().strophes;
    if (strophes.empty()) return {};
    // Consecutive line groups are one poem.
    if (!blocks_.empty()) {
        if (auto* poem = std::get_if<Block::Stichoi>(&blocks_.back().node)) {
            for (Strophe& strophe : strophes) poem->strophes.push_back(std::move(strophe));
            return {};
        }
    }
    Strophe none;
    poetry_block(none, strophes, blocks_);
    return {};
}

void OsisImporter::hand_over(bool book_ended) {
    std::size_t count = blocks_.size();
    if (!book_ended && count > 0 && std::holds_alternative<Block::Stichoi>(blocks_.back().node)) --count;
    for (std::size_t k = 0; k < count; ++k) sink_.block(std::move(blocks_[k]));
    blocks_.erase(blocks_.begin(), blocks_.begin() + static_cast<std::ptrdiff_t>(count));
}

void OsisImporter::chapter(const XmlOpen& open) {
    if (attribute_value(open.attrs, "eid")) return;  // a chapter end
    if (std::optional<std::string> number = osis_number(open.attrs)) blocks_.push_back(chapter_block(std::move(*number)));
}

Status OsisImporter::skip(const XmlOpen& open) {
    if (open.self_closing) return {};
    Result<std::size_t> after = tokens_.skip(next_, open.name);
    if (!after) return std::move(after).error();
    next_ = after.value();
    return {};
}

}  // namespace

Status import_osis(std::string_view text, ImportSink& sink) {
    if (Status declared = sink.declaration(usfm_dialektos, std::nullopt); !declared) return declared;
    return OsisImporter(without_byte_order_mark(text), sink).import();
}

Result<Document> import_osis(std::string_view text) {
    DocumentCollector collector;
    if (Status imported = import_osis(text, collector); !imported) return std::move(imported).error();
    return std::move(collector).document();
}

}  // namespace ilvex
