#include "endo/tei/tei_quote.hpp"

#include <string>
#include <utility>

#include "dialektos/unicode.hpp"
#include "endo/tei/tei_inlines.hpp"
#include "endo/tei/tei_milestone.hpp"
#include "endo/tei/tei_tokens.hpp"
#include "endo/whitespace.hpp"

namespace ilvex {
namespace {

constexpr std::string_view quotation_symbol = "\"\"";

class QuoteWalk {
public:
    explicit QuoteWalk(TeiContext& context) : context_(context) {}

    Result<TeiInlines> run(std::size_t start) {
        TeiTokens& tokens = context_.tokens;
        std::size_t i = start;
        while (true) {
            if (!tokens.has(i)) return context_.error("unterminated verse <quote>");
            const XmlToken& token = tokens[i];
            if (const auto* piece = std::get_if<XmlText>(&token)) {
                const std::string value = tei_text(piece->text);
                const std::string_view trimmed = unicode::trim(value);
                if (!trimmed.empty()) {
                    if (!run_.empty()) push_text(" ");
                    push_text(std::string(trimmed));
                }
                ++i;
                continue;
            }
            if (const auto* end = std::get_if<XmlClose>(&token)) {
                if (end->name == "quote") {
                    return TeiInlines{std::move(run_), std::move(blocks_), i + 1};
                }
                if (end->name != "lg" && end->name != "sp") return unsupported(i);
                ++i;
                continue;
            }
            Result<std::size_t> next = element(i);
            if (!next) return std::move(next).error();
            i = *next;
        }
    }

private:
    void push_text(std::string value) { run_.emplace_back(Inline::Text{std::move(value)}); }

    Error unsupported(std::size_t i) const {
        return context_.error("unsupported " + format_xml_token(context_.tokens[i]) + " in a verse quote");
    }

    // A nested conversion of the element at `i`: its blocks kept here, its
    // inlines given back.
    Result<TeiInlines> content(std::size_t i) {
        Result<TeiInlines> converted = import_tei_inlines(context_, i + 1, std::get<XmlOpen>(context_.tokens[i]).name);
        if (converted) {
            for (Block& block : converted->blocks) blocks_.push_back(std::move(block));
            converted->blocks.clear();
        }
        return converted;
    }

    void append(std::vector<Inline>&& items) {
        for (Inline& item : items) run_.push_back(std::move(item));
    }

    Result<std::size_t> element(std::size_t i) {
        TeiTokens& tokens = context_.tokens;
        const XmlOpen& open = std::get<XmlOpen>(tokens[i]);
        const std::string_view name = open.name;
        if (name == "lg" || name == "sp") return i + 1;
        if (name == "gap" || name == "pb" || name == "milestone") {
            if (name == "gap") push_text("\u2026");
            if (name == "milestone") {
                if (std::optional<Inline> milestone = tei_milestone_element(open)) {
                    run_.push_back(std::move(*milestone));
                } else {
                    push_text(" ");
                }
            }
            return after_own_close(tokens, i);
        }
        const bool known = name == "l" || name == "q" || name == "quote" || name == "speaker" ||
                           name == "placeName" || name == "bibl" || name == "note";
        if (!known) return unsupported(i);
        if (open.self_closing) return i + 1;
        if (name == "note") return tokens.skip(i + 1, name);
        const bool run_empty = run_.empty();
        Result<TeiInlines> converted = name == "quote" ? import_tei_quote(context_, i + 1) : content(i);
        if (!converted) return std::move(converted).error();
        std::vector<Inline> inner = std::move(converted->inlines);
        if (name == "quote") {
            for (Block& block : converted->blocks) blocks_.push_back(std::move(block));
        }
        if (name == "l" || name == "q" || name == "quote") trim_inlines(inner);
        if (name == "l" || name == "quote" || name == "speaker") {
            if (!run_empty) push_text(" / ");
        } else if (name == "bibl" && !run_empty) {
            push_text(" ");
        }
        if (name == "q" || name == "quote") {
            run_.emplace_back(Inline::EndoSimmere{std::string(quotation_symbol), std::move(inner), {}, true});
        } else {
            append(std::move(inner));
        }
        if (name == "bibl") push_text(" ");
        return converted->next;
    }

    TeiContext& context_;
    std::vector<Inline> run_;
    std::vector<Block> blocks_;
};

}  // namespace

Result<TeiInlines> import_tei_quote(TeiContext& context, std::size_t start) {
    Result<NestingDepth::Level> level = context.import.enter();
    if (!level) return std::move(level).error();
    return QuoteWalk(context).run(start);
}

}  // namespace ilvex
