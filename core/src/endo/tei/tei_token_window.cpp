#include "endo/tei/tei_token_window.hpp"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <utility>

#include "dialektos/unicode.hpp"

namespace ilvex {
namespace {

// What a slot knows of its token's end tag before and besides its index.
constexpr std::size_t close_unknown = std::numeric_limits<std::size_t>::max();
constexpr std::size_t no_close = close_unknown - 1;
constexpr std::size_t near_text_length = 60;
constexpr std::size_t near_text_bytes = 4 * near_text_length;

void rename_numbered_division(std::string& name) {
    if (name.size() == 4 && name.starts_with("div") && name[3] >= '0' && name[3] <= '9') name = "div";
}

// The text of `token` trimmed, or nothing when it is no text or blank.
std::optional<std::string_view> trimmed_text(const XmlToken& token) {
    const auto* piece = std::get_if<XmlText>(&token);
    if (piece == nullptr) return std::nullopt;
    const std::string_view trimmed = unicode::trim(piece->text);
    if (trimmed.empty()) return std::nullopt;
    return trimmed;
}

// The last 60 characters of `text`.
std::string last_characters(std::string_view text) {
    std::size_t start = text.size();
    for (std::size_t count = 0; count < near_text_length && start > 0; ++count) unicode::prev_char(text, start);
    return std::string(text.substr(start));
}

}  // namespace

bool TeiTokens::read() {
    if (ended_) return false;
    Result<std::optional<XmlToken>> next = reader_.next();
    if (!next || !next->has_value()) {
        if (!next) error_ = std::move(next).error();
        ended_ = true;
        return false;
    }
    Slot& slot = slots_.push_back();
    slot.token = std::move(**next);
    slot.close = close_unknown;
    slot.lines_before = lines_;
    slot.prose_before = prose_;
    XmlToken& token = slot.token;
    if (auto* open = std::get_if<XmlOpen>(&token)) {
        rename_numbered_division(open->name);
        if (open->name == "l") ++lines_;
        if (open->name == "p" || open->name == "ab" || open->name == "quote") ++prose_;
    } else if (auto* close = std::get_if<XmlClose>(&token)) {
        rename_numbered_division(close->name);
    }
    return true;
}

bool TeiTokens::read_to(std::size_t i) {
    while (first_ + slots_.size() <= i) {
        if (!read()) return false;
    }
    return true;
}

TeiTokens::Slot& TeiTokens::slot(std::size_t i) {
    if (i < first_ || !has(i)) throw std::logic_error("a TEI converter read a token it had let go");
    return slots_[i - first_];
}

// One scan from the start tag to its end tag, matching with a stack the
// start and end tags of its name in between: their ends are kept too, and
// an end known from an earlier scan is jumped to. So a position is scanned
// once for each name asked about around it, never once per enclosing
// element.
std::optional<std::size_t> TeiTokens::close_of(std::size_t i) {
    const auto* open = std::get_if<XmlOpen>(&slot(i).token);
    if (open == nullptr || open->self_closing) return std::nullopt;
    if (slot(i).close == close_unknown) find_close(i, open->name);
    if (slot(i).close == no_close) return std::nullopt;
    return slot(i).close;
}

void TeiTokens::find_close(std::size_t i, std::string_view name) {
    std::vector<std::size_t> unclosed = {i};
    for (std::size_t k = i + 1; has(k); ++k) {
        Slot& at = slot(k);
        if (const auto* open = std::get_if<XmlOpen>(&at.token); open && !open->self_closing && open->name == name) {
            if (at.close == close_unknown) {
                unclosed.push_back(k);
                continue;
            }
            if (at.close == no_close) break;  // then no later end tag closes the outer ones either
            k = at.close;
        } else if (const auto* close = std::get_if<XmlClose>(&at.token); close && close->name == name) {
            slot(unclosed.back()).close = k;
            unclosed.pop_back();
            if (unclosed.empty()) return;
        }
    }
    for (const std::size_t open : unclosed) slot(open).close = no_close;
}

std::size_t TeiTokens::lines_before(std::size_t i) { return has(i) ? slot(i).lines_before : lines_; }

std::size_t TeiTokens::prose_before(std::size_t i) { return has(i) ? slot(i).prose_before : prose_; }

Result<std::size_t> TeiTokens::skip(std::size_t start, std::string_view name) {
    if (start > first_ && has(start - 1)) {
        const auto* open = std::get_if<XmlOpen>(&slot(start - 1).token);
        if (open != nullptr && !open->self_closing && open->name == name) {
            if (const std::optional<std::size_t> close = close_of(start - 1)) return *close + 1;
            return xml_walk_detail::unterminated(tei_import_error, name);
        }
    }
    return skip_element_at([this](std::size_t i) { return has(i) ? &slot(i).token : nullptr; }, start, name);
}

Result<ElementText> TeiTokens::plain_text(std::size_t start, std::string_view name) {
    return element_plain_text_at([this](std::size_t i) { return has(i) ? &slot(i).token : nullptr; }, start, name);
}

std::string TeiTokens::near_text(std::size_t i) {
    for (std::size_t k = i; k > first_;) {
        --k;
        if (const std::optional<std::string_view> text = trimmed_text(slot(k).token)) return last_characters(*text);
    }
    return last_characters(released_near_);
}

void TeiTokens::release(std::size_t i) {
    if (i <= first_) return;
    if (first_ + slots_.size() < i) throw std::logic_error("a TEI converter let go of tokens it had not read");
    for (std::size_t k = i; k > first_;) {
        --k;
        if (const std::optional<std::string_view> text = trimmed_text(slots_[k - first_].token)) {
            // Enough bytes for the characters near_text gives, whatever
            // their encoded length.
            released_near_.assign(text->substr(text->size() - std::min(text->size(), near_text_bytes)));
            break;
        }
    }
    slots_.drop_front(i - first_);
    first_ = i;
}

Error TeiTokens::first_error(Error failure) {
    while (read()) {
        // Each token read is let go at once: only an error is looked for.
        first_ += slots_.size();
        slots_.drop_front(slots_.size());
    }
    if (error_) return *error_;
    return failure;
}

}  // namespace ilvex
