#include "endo/html/html_importer.hpp"

#include <cstdint>
#include <optional>
#include <utility>
#include <variant>

#include "endo/html/html_converter.hpp"
#include "endo/html/html_text.hpp"

namespace ilvex {
namespace {

constexpr std::string_view html_dialektos = "il-html";

// The open list, division or block quotation that the next token begins, taken
// from the tokens; nothing for any other token, which stays. White space
// before it, which the block level skips anyway, is skipped.
std::optional<XmlOpen> take_container_open(HtmlTokens& tokens) {
    const XmlToken* next = tokens.peek();
    for (const XmlText* text; next && (text = std::get_if<XmlText>(next)) && is_white_space_only(text->text);) {
        tokens.skip();
        next = tokens.peek();
    }
    const auto* open = next ? std::get_if<XmlOpen>(next) : nullptr;
    if (open == nullptr || open->self_closing || !html_block_container(*open)) return std::nullopt;
    return std::get<XmlOpen>(*tokens.take());
}

Status convert(HtmlConverter& converter, ImportSink& sink, std::optional<std::string_view> end);

// Each item of a list goes to the sink as soon as it is read.
Status convert_items(HtmlConverter& converter, ImportSink& sink, const XmlOpen& list) {
    for (std::uint64_t count = 0;; ++count) {
        Result<std::optional<Block>> item = next_html_list_item(converter, list, count);
        if (!item) return std::move(item).error();
        if (!item.value()) return {};
        sink.block(std::move(*item.value()));
    }
}

// Each block of the level that the `Close` named `end` ends (the top level
// without one) goes to the sink as soon as it is read. A list, division or
// block quotation goes in pieces, its own blocks or items likewise: a
// document wrapped in one division, or one long list, is never held whole.
Status convert(HtmlConverter& converter, ImportSink& sink, std::optional<std::string_view> end) {
    for (;;) {
        if (const std::optional<XmlOpen> open = take_container_open(converter.tokens)) {
            Result<NestingDepth::Level> level = converter.context.enter();
            if (!level) return std::move(level).error();
            sink.open(Block(*html_block_container(*open)));
            const bool list = open->name == "ul" || open->name == "ol";
            Status body = list ? convert_items(converter, sink, *open) : convert(converter, sink, open->name);
            if (!body) return body;
            sink.close();
            continue;
        }
        Result<std::optional<Block>> next = next_html_block(converter, end);
        if (!next) return std::move(next).error();
        if (!next.value()) return {};
        sink.block(std::move(*next.value()));
    }
}

}  // namespace

Status import_html(std::string_view text, ImportSink& sink) {
    if (Status declared = sink.declaration(html_dialektos, std::nullopt); !declared) return declared;
    HtmlConverter converter(text);
    Status converted = convert(converter, sink, std::nullopt);
    return converter.tokens.result(std::move(converted));
}

Result<Document> import_html(std::string_view text) {
    DocumentCollector collector;
    if (Status imported = import_html(text, collector); !imported) return std::move(imported).error();
    return std::move(collector).document();
}

}  // namespace ilvex
