#include "endo/bibtex/bibtex_importer.hpp"

#include <optional>
#include <utility>
#include <vector>

#include "dialektos/unicode.hpp"
#include "endo/import_errors.hpp"
#include "endo/whitespace.hpp"
#include "endo/writable.hpp"

namespace ilvex {
namespace {

constexpr std::string_view bibtex_dialektos = "bibliogramma";

bool is_ascii_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_name_char(char c) { return is_ascii_letter(c) || is_digit(c) || c == '-' || c == '_'; }

std::string quoted(std::string_view before, std::string_view text, std::string_view after) {
    std::string message(before);
    message += text;
    message += after;
    return message;
}

Block::Para sim_block(std::string_view symbol, std::string_view lemma) {
    std::vector<Inline> lemma_inlines;
    lemma_inlines.emplace_back(Inline::Text{std::string(lemma)});
    return Block::Para{true, std::string(symbol), std::move(lemma_inlines), {}, {}, {},
                       Taxis::absent()};
}

// One pass over the text with one position; every search runs forward from
// it, so the import is linear in the text.
class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    Status read(ImportSink& sink);

private:
    bool at_end() const { return pos_ >= text_.size(); }
    char peek() const { return text_[pos_]; }
    void skip_whitespace();
    // White space and commas: the commas between fields are optional, and
    // repeated ones are harmless.
    void skip_separators();
    // The run of bytes from the position that `accept` takes.
    template <class Accept>
    std::string_view run(Accept accept);
    // The index of the brace that balances the "{" at `open`, or nothing.
    std::optional<std::size_t> balancing_brace(std::size_t open) const;

    Status skip_comment();
    Result<Block> read_entry(std::string_view type);
    Status read_field(std::string_view type, std::string_view key, Block::Para& entry);
    Result<std::string> read_value(std::string_view name);

    std::string_view text_;
    std::size_t pos_ = 0;
};

void Reader::skip_whitespace() {
    while (!at_end()) {
        const auto byte = static_cast<unsigned char>(peek());
        if (byte < 0x80) {  // the ASCII white space is tab to carriage return, and space
            if (byte != ' ' && (byte < '\t' || byte > '\r')) return;
            ++pos_;
            continue;
        }
        std::size_t next = pos_;
        if (!unicode::is_whitespace(unicode::next_char(text_, next))) return;
        pos_ = next;
    }
}

void Reader::skip_separators() {
    for (skip_whitespace(); !at_end() && peek() == ','; skip_whitespace()) ++pos_;
}

template <class Accept>
std::string_view Reader::run(Accept accept) {
    const std::size_t start = pos_;
    while (!at_end() && accept(peek())) ++pos_;
    return text_.substr(start, pos_ - start);
}

std::optional<std::size_t> Reader::balancing_brace(std::size_t open) const {
    std::size_t depth = 0;
    for (std::size_t k = text_.find_first_of("{}", open); k != std::string_view::npos;
         k = text_.find_first_of("{}", k + 1)) {
        if (text_[k] == '{') {
            ++depth;
        } else if (--depth == 0) {
            return k;
        }
    }
    return std::nullopt;
}

Status Reader::read(ImportSink& sink) {
    for (skip_whitespace(); !at_end(); skip_whitespace()) {
        if (peek() != '@') {
            std::size_t next = pos_;
            std::string found;
            unicode::append_utf8(found, unicode::next_char(text_, next));
            return bibtex_import_error(quoted("expected `@` at an entry, found `", found, "`"));
        }
        ++pos_;
        const std::string type = unicode::ascii_lowercase(run(is_ascii_letter));
        if (type.empty()) return bibtex_import_error("entry without a type");
        if (type == "string" || type == "preamble") {
            return bibtex_import_error(quoted("@", type, " is not supported"));
        }
        if (type == "comment") {
            if (Status skipped = skip_comment(); !skipped) return skipped;
            continue;
        }
        Result<Block> entry = read_entry(type);
        if (!entry) return std::move(entry).error();
        sink.block(std::move(entry).value());
    }
    return {};
}

// "@comment{...}", skipped to its balancing brace. Anything but white space
// before the "{" is refused: skipping it would run into the next entry.
Status Reader::skip_comment() {
    skip_whitespace();
    if (at_end() || peek() != '{') return bibtex_import_error("malformed @comment");
    const auto close = balancing_brace(pos_);
    if (!close) return bibtex_import_error("unterminated @comment");
    pos_ = *close + 1;
    return {};
}

Result<Block> Reader::read_entry(std::string_view type) {
    skip_whitespace();
    if (at_end() || peek() != '{') return bibtex_import_error(quoted("expected `{` after @", type, ""));
    ++pos_;
    const std::string_view key = unicode::trim(run([](char c) { return c != ',' && c != '}'; }));
    if (key.empty()) return bibtex_import_error(quoted("@", type, " entry without a citation key"));
    // A lemma is written on one line.
    if (key.find('\n') != std::string_view::npos) {
        return bibtex_import_error(quoted("invalid identifier `", key, "`"));
    }
    Block::Para entry = sim_block("&", key);
    if (auto genos = writable_genos(type)) entry.suffix.genoses.push_back(std::move(*genos));
    while (true) {
        skip_separators();
        if (at_end()) return bibtex_import_error(quoted("unterminated @", type, quoted("{", key, "}")));
        if (peek() == '}') {
            ++pos_;
            return Block(std::move(entry));
        }
        if (Status read = read_field(type, key, entry); !read) return read.error();
    }
}

Status Reader::read_field(std::string_view type, std::string_view key, Block::Para& entry) {
    const std::string name = unicode::ascii_lowercase(run(is_name_char));
    if (name.empty()) {
        return bibtex_import_error(quoted("malformed field in @", type, quoted("{", key, "}")));
    }
    skip_whitespace();
    if (at_end() || peek() != '=') return bibtex_import_error(quoted("field `", name, "` without `=`"));
    ++pos_;
    skip_whitespace();
    Result<std::string> value = read_value(name);
    if (!value) return std::move(value).error();
    Block::Para field = sim_block(":", name);
    // An empty value leaves the field without a paragraph: an empty one
    // would not read back.
    if (!value->empty()) {
        std::vector<Inline> text;
        text.emplace_back(Inline::Text{std::move(value).value()});
        field.children.emplace_back(Block::Paragraph{std::move(text)});
    }
    entry.children.emplace_back(std::move(field));
    return {};
}

Result<std::string> Reader::read_value(std::string_view name) {
    if (!at_end() && peek() == '"') {
        const std::size_t close = text_.find('"', pos_ + 1);
        if (close == std::string_view::npos) {
            return bibtex_import_error(quoted("unterminated quoted value of `", name, "`"));
        }
        std::string value = normalize_whitespace(text_.substr(pos_ + 1, close - pos_ - 1));
        pos_ = close + 1;
        return value;
    }
    if (!at_end() && peek() == '{') {
        const auto close = balancing_brace(pos_);
        if (!close) return bibtex_import_error(quoted("unterminated braced value of `", name, "`"));
        std::string value = normalize_whitespace(text_.substr(pos_ + 1, *close - pos_ - 1));
        pos_ = *close + 1;
        return value;
    }
    if (!at_end() && is_digit(peek())) return std::string(run(is_digit));
    return bibtex_import_error(
        quoted("unsupported value form for `", name, "` (macros/concatenation are out of subset)"));
}

}  // namespace

std::string normalize_whitespace(std::string_view text) {
    return collapse_whitespace(unicode::trim(text));
}

Status import_bibtex(std::string_view text, ImportSink& sink) {
    if (Status declared = sink.declaration(bibtex_dialektos, std::nullopt); !declared) return declared;
    return Reader(text).read(sink);
}

Result<Document> import_bibtex(std::string_view text) {
    DocumentCollector collector;
    if (Status imported = import_bibtex(text, collector); !imported) return std::move(imported).error();
    return std::move(collector).document();
}

}  // namespace ilvex
