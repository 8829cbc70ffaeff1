#include "endo/html/html_tokens.hpp"

#include <utility>
#include <variant>

namespace ilvex {
namespace {

bool is_document_frame(std::string_view name) { return name == "html" || name == "body"; }

}  // namespace

void HtmlTokens::fill() {
    filled_ = true;
    next_.reset();
    while (!ended_) {
        Result<std::optional<XmlToken>> read = reader_.next();
        if (!read) {
            error_ = std::move(read).error();
            ended_ = true;
            return;
        }
        if (!read.value()) {
            ended_ = true;
            return;
        }
        XmlToken& token = *read.value();
        if (const auto* open = std::get_if<XmlOpen>(&token)) {
            if (is_document_frame(open->name)) continue;
            // An empty head element holds nothing to leave out.
            if (open->name == "head") {
                in_head_ = in_head_ || !open->self_closing;
                continue;
            }
        } else if (const auto* close = std::get_if<XmlClose>(&token)) {
            if (is_document_frame(close->name)) continue;
            if (close->name == "head") {
                in_head_ = false;
                continue;
            }
        }
        if (in_head_) continue;
        next_ = std::move(token);
        return;
    }
}

const XmlToken* HtmlTokens::peek() {
    if (!filled_) fill();
    return next_ ? &*next_ : nullptr;
}

std::optional<XmlToken> HtmlTokens::take() {
    if (!filled_) fill();
    filled_ = false;
    return std::move(next_);
}

bool is_html_open(const XmlToken* token, std::string_view name) {
    const auto* open = token ? std::get_if<XmlOpen>(token) : nullptr;
    return open && open->name == name;
}

bool is_html_close(const XmlToken* token, std::string_view name) {
    const auto* close = token ? std::get_if<XmlClose>(token) : nullptr;
    return close && close->name == name;
}

Status HtmlTokens::result(Status converted) {
    if (!converted) {
        while (!ended_) fill();
    }
    if (error_) return *error_;
    return converted;
}

}  // namespace ilvex
