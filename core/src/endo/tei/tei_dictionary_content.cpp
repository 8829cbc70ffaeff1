// The running text of dictionary entries: definitions, usage labels,
// grammatical words, quotations, citations and cross-references.
#include <array>
#include <utility>

#include "dialektos/unicode.hpp"
#include "endo/tei/tei_dictionary.hpp"
#include "endo/tei/tei_walk.hpp"
#include "endo/tei/tei_inlines.hpp"
#include "endo/tei/tei_tokens.hpp"
#include "endo/whitespace.hpp"
#include "endo/writable.hpp"
#include "endo/xml/xml_walk.hpp"

namespace ilvex {
namespace {

using tei_walk::is_close;
using tei_walk::plain_text_at;

std::vector<std::string> genoses_of(std::optional<std::string> genos) {
    std::vector<std::string> out;
    if (genos) out.push_back(std::move(*genos));
    return out;
}

// The running text of the element whose start tag is `open` at `index`; a
// self-closing tag is an empty element.
Result<TeiInlines> content_at(TeiContext& context, std::size_t index, const XmlOpen& open) {
    if (open.self_closing) return TeiInlines{{}, {}, index + 1};
    return import_tei_mixed_content(context, index + 1, open.name);
}

bool is_grammatical_word(std::string_view name) {
    static constexpr std::array<std::string_view, 6> names = {"pos", "gen", "tns", "gram", "mood", "number"};
    for (const std::string_view known : names) {
        if (name == known) return true;
    }
    return false;
}

std::optional<std::string> xr_type_genos(std::optional<std::string_view> type) {
    if (!type) return std::nullopt;
    if (*type == "cf" || *type == "comparison") return "cf";
    if (*type == "syn" || *type == "synonymy") return "syn";
    if (*type == "ant" || *type == "antonymy") return "ant";
    if (*type == "see" || *type == "seeAlso" || *type == "related") return "see";
    return std::nullopt;
}

// The target a ref names: its "target" without the leading "#"s, else its
// text.
std::string ref_target(const XmlOpen& ref, std::string text) {
    const std::optional<std::string_view> target = attribute_value(ref.attrs, "target");
    if (!target) return text;
    const std::size_t kept = target->find_first_not_of('#');
    return kept == std::string_view::npos ? std::string() : std::string(target->substr(kept));
}

// The cross-references of an xr from `start` on: each ref a ">" monosim,
// each lbl its text and a space; anything else is dropped.
Result<TeiInlines> cross_references(TeiContext& context, std::size_t start,
                                             std::optional<std::string> genos) {
    std::vector<Inline> inlines;
    for (std::size_t i = start; context.tokens.has(i);) {
        if (is_close(context.tokens[i], "xr")) return TeiInlines{std::move(inlines), {}, i + 1};
        const auto* open = std::get_if<XmlOpen>(&context.tokens[i]);
        if (open == nullptr || (open->name != "ref" && open->name != "lbl")) {
            ++i;
            continue;
        }
        Result<ElementText> text = plain_text_at(context, i, *open);
        if (!text) return std::move(text).error();
        i = text->next;
        if (open->name == "lbl") {
            if (!text->text.empty()) inlines.emplace_back(Inline::Text{std::move(text->text) + " "});
            continue;
        }
        std::string target = ref_target(*open, std::move(text->text));
        if (target.empty()) continue;
        inlines.emplace_back(Inline::Monosim{">", std::move(target), Suffix{std::nullopt, genoses_of(genos)}});
    }
    return tei_unterminated_error("xr");
}

}  // namespace

Result<TeiInlines> import_tei_mixed_content(TeiContext& context, std::size_t start,
                                                     std::string_view close_name) {
    Result<NestingDepth::Level> level = context.import.enter();
    if (!level) return std::move(level).error();
    std::vector<Inline> inlines;
    for (std::size_t i = start; context.tokens.has(i);) {
        if (is_close(context.tokens[i], close_name)) {
            trim_run_edges(inlines);
            isolate_trailing_backslashes(inlines);
            return TeiInlines{std::move(inlines), {}, i + 1};
        }
        Result<TeiInlines> child = import_tei_dictionary_child(context, i);
        if (!child) return std::move(child).error();
        for (Inline& item : child->inlines) inlines.push_back(std::move(item));
        i = child->next;
    }
    return tei_unterminated_error(close_name);
}

Result<TeiInlines> import_tei_dictionary_child(TeiContext& context, std::size_t index) {
    const XmlToken& token = context.tokens[index];
    if (std::holds_alternative<XmlOpen>(token)) return import_tei_sense_element(context, index);
    std::vector<Inline> inlines;
    if (const auto* text = std::get_if<XmlText>(&token)) {
        std::string running = tei_text(text->text);
        if (!unicode::trim(running).empty()) inlines.emplace_back(Inline::Text{std::move(running)});
    }
    return TeiInlines{std::move(inlines), {}, index + 1};
}

Result<TeiInlines> import_tei_sense_element(TeiContext& context, std::size_t index) {
    const auto* open = std::get_if<XmlOpen>(&context.tokens[index]);
    if (open == nullptr || open->self_closing) return TeiInlines{{}, {}, index + 1};
    const std::string_view name = open->name;
    const std::optional<std::string_view> type = attribute_value(open->attrs, "type");
    if (name == "xr") return cross_references(context, index + 1, xr_type_genos(type));
    if (name == "cit") return import_tei_dictionary_cit(context, index + 1, type.value_or("example"));
    if (is_grammatical_word(name)) {
        Result<ElementText> text = context.tokens.plain_text(index + 1, name);
        if (!text) return std::move(text).error();
        return TeiInlines{{one_char_sim('&', {Inline::Text{std::move(text->text)}})}, {}, text->next};
    }
    Result<TeiInlines> content = import_tei_mixed_content(context, index + 1, name);
    if (!content) return content;
    if (name == "usg") {
        const std::optional<std::string> genos = type ? usg_type_genos(*type) : std::nullopt;
        content->inlines = {one_char_sim('[', std::move(content->inlines), genoses_of(genos))};
    } else if (name == "quote" || name == "mentioned") {
        content->inlines = {one_char_sim('~', std::move(content->inlines))};
    }
    return content;
}

Result<TeiInlines> import_tei_dictionary_cit(TeiContext& context, std::size_t start,
                                                      std::string_view type) {
    // A translation is its own sim, marked with the language it is in.
    const bool translation = type == "translation" || type == "translationEquivalent";
    std::vector<Inline> inlines;
    for (std::size_t i = start; context.tokens.has(i);) {
        if (is_close(context.tokens[i], "cit")) return TeiInlines{std::move(inlines), {}, i + 1};
        const auto* open = std::get_if<XmlOpen>(&context.tokens[i]);
        if (open != nullptr && open->name == "quote") {
            Result<TeiInlines> quote = content_at(context, i, *open);
            if (!quote) return quote;
            i = quote->next;
            if (!translation) {
                inlines.push_back(one_char_sim('~', std::move(quote->inlines)));
                continue;
            }
            std::optional<std::string_view> language = attribute_value(open->attrs, "xml:lang");
            if (!language) language = attribute_value(open->attrs, "lang");
            std::optional<std::string> genos = language ? writable_genos(*language) : std::nullopt;
            inlines.push_back(one_char_sim('\'', std::move(quote->inlines), genoses_of(std::move(genos))));
            continue;
        }
        if (open != nullptr && (open->name == "bibl" || open->name == "author")) {
            Result<ElementText> text = plain_text_at(context, i, *open);
            if (!text) return std::move(text).error();
            i = text->next;
            if (text->text.empty()) continue;
            inlines.emplace_back(Inline::Text{" "});
            inlines.push_back(one_char_sim(',', {Inline::Text{std::move(text->text)}}, {"author"}));
            continue;
        }
        ++i;
    }
    return tei_unterminated_error("cit");
}

std::optional<std::string> usg_type_genos(std::string_view type) {
    struct Row {
        std::string_view type;
        std::string_view genos;
    };
    static constexpr std::array<Row, 13> table = {{
        {"dom", "dom"}, {"domain", "dom"}, {"hint", "dom"},
        {"geo", "geo"}, {"geographic", "geo"},
        {"reg", "reg"}, {"register", "reg"}, {"style", "reg"}, {"plev", "reg"},
        {"time", "time"}, {"temporal", "time"},
        {"lang", "lang"}, {"language", "lang"},
    }};
    for (const Row& row : table) {
        if (row.type == type) return std::string(row.genos);
    }
    return std::nullopt;
}

Block form_sim_node(std::string_view symbol, std::vector<Inline> children, std::vector<std::string> genoses) {
    std::vector<Inline> sim;
    sim.emplace_back(Inline::EndoSimmere{std::string(symbol), std::move(children),
                                         Suffix{std::nullopt, std::move(genoses)}, true});
    return Block::Paragraph{std::move(sim)};
}

Inline one_char_sim(char symbol, std::vector<Inline> children, std::vector<std::string> genoses) {
    return Inline::EndoSimmere{std::string(1, symbol), std::move(children),
                               Suffix{std::nullopt, std::move(genoses)}, true};
}

}  // namespace ilvex
