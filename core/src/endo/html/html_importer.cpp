#include "endo/html/html_importer.hpp"

#include <optional>
#include <utility>

#include "endo/html/html_converter.hpp"

namespace ilvex {
namespace {

constexpr std::string_view html_dialektos = "il-html";

// Each top-level block goes to the sink as soon as it is read.
Status convert(HtmlConverter& converter, ImportSink& sink) {
    for (;;) {
        Result<std::optional<Block>> next = next_html_block(converter, std::nullopt);
        if (!next) return std::move(next).error();
        if (!next.value()) return {};
        sink.block(std::move(*next.value()));
    }
}

}  // namespace

Status import_html(std::string_view text, ImportSink& sink) {
    if (Status declared = sink.declaration(html_dialektos, std::nullopt); !declared) return declared;
    HtmlConverter converter(text);
    Status converted = convert(converter, sink);
    return converter.tokens.result(std::move(converted));
}

Result<Document> import_html(std::string_view text) {
    DocumentCollector collector;
    if (Status imported = import_html(text, collector); !imported) return std::move(imported).error();
    return std::move(collector).document();
}

}  // namespace ilvex
