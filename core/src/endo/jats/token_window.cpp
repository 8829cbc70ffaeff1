#include "endo/jats/token_window.hpp"

#include <utility>
#include <vector>

#include "endo/import_errors.hpp"

namespace ilvex {

Result<const XmlToken*> TokenWindow::at(std::size_t i) {
    while (first_ + tokens_.size() <= i) {
        Result<std::optional<XmlToken>> next = reader_.next();
        if (!next) return std::move(next).error();
        if (!*next) return static_cast<const XmlToken*>(nullptr);
        tokens_.push_back(std::move(**next));
    }
    return &tokens_[i - first_];
}

void TokenWindow::release(std::size_t i) {
    while (first_ < i && !tokens_.empty()) {
        tokens_.pop_front();
        ++first_;
    }
}

Error TokenWindow::first_error(Error error) {
    while (true) {
        Result<std::optional<XmlToken>> next = reader_.next();
        if (!next) return std::move(next).error();
        if (!*next) return error;
    }
}

// The helper reads an element of text only up to its first other token: a
// copy of those tokens is all it needs.
Result<ElementText> TokenWindow::text_only(std::size_t start, const XmlOpen& open) {
    if (open.self_closing) return ElementText{std::string(), start};
    std::vector<XmlToken> content;
    for (std::size_t i = start;; ++i) {
        Result<const XmlToken*> token = at(i);
        if (!token) return std::move(token).error();
        if (*token == nullptr) break;
        content.push_back(**token);
        if (!std::holds_alternative<XmlText>(**token)) break;
    }
    Result<ElementText> text = element_text_only(content, 0, open.name);
    if (text) text->next += start;
    return text;
}

Result<std::size_t> TokenWindow::skip(std::size_t start, std::string_view name) {
    std::size_t depth = 1;
    for (std::size_t i = start;; ++i) {
        Result<const XmlToken*> token = at(i);
        if (!token) return std::move(token).error();
        if (*token == nullptr) break;
        if (const auto* open = std::get_if<XmlOpen>(*token); open && !open->self_closing && open->name == name) {
            ++depth;
        } else if (const auto* close = std::get_if<XmlClose>(*token); close && close->name == name && --depth == 0) {
            return i + 1;
        }
    }
    std::string message = "unterminated <";
    message += name;
    message += '>';
    return tei_import_error(message);
}

}  // namespace ilvex
