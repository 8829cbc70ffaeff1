#include "endo/tei/tei_inlines.hpp"

#include <string>
#include <unordered_map>
#include <utility>

#include "dialektos/unicode.hpp"
#include "endo/import_errors.hpp"
#include "endo/tei/tei_milestone.hpp"
#include "endo/tei/tei_notes.hpp"
#include "endo/tei/tei_quote.hpp"
#include "endo/tei/tei_tokens.hpp"
#include "endo/tree_builders.hpp"
#include "endo/whitespace.hpp"
#include "endo/writable.hpp"

namespace ilvex {
namespace {

// What an element does in running text.
enum class Form {
    Container,    // set off by a space from what precedes it
    Transparent,  // its content, nothing added
    Emphasis,
    Highlight,
    Title,
    Term,
    Foreign,
    Annotation,  // "," with the element's name as genos
    Q,
    Said,
    SoCalled,
    Quote,
    Stage,
    Bibl,
    Line,
    Break,        // lb, pb: a space
    SilentBreak,  // anchor, delSpan, addSpan: nothing
    Gap,
    Milestone,
    App,
    Skipped,
    Cit,
    Note,
    Reference,
    List,
    Choice,
};

const std::unordered_map<std::string_view, Form>& forms() {
    static const std::unordered_map<std::string_view, Form> table = [] {
        std::unordered_map<std::string_view, Form> t;
        for (const char* name : {"p", "ab", "div", "text", "body", "head", "opener", "closer", "salute", "signed",
                                 "dateline"}) {
            t.emplace(name, Form::Container);
        }
        for (const char* name :
             {"s", "w", "rs", "ex", "add", "num", "seg", "name", "date", "time", "span", "abbr", "expan", "author",
              "orgName", "measure", "surname", "genName", "addName", "persName", "forename", "roleName", "nameLink",
              "placeName", "dateRange", "mentioned"}) {
            t.emplace(name, Form::Transparent);
        }
        for (const char* name : {"gloss", "label", "sic", "corr", "supplied", "unclear", "del"}) {
            t.emplace(name, Form::Annotation);
        }
        for (const char* name : {"reg", "idno", "space", "desc", "figure", "listPerson", "castList", "castGroup"}) {
            t.emplace(name, Form::Skipped);
        }
        for (const char* name : {"anchor", "delSpan", "addSpan"}) t.emplace(name, Form::SilentBreak);
        t.emplace("emph", Form::Emphasis);
        t.emplace("hi", Form::Highlight);
        t.emplace("title", Form::Title);
        t.emplace("term", Form::Term);
        t.emplace("foreign", Form::Foreign);
        t.emplace("q", Form::Q);
        t.emplace("said", Form::Said);
        t.emplace("soCalled", Form::SoCalled);
        t.emplace("quote", Form::Quote);
        t.emplace("stage", Form::Stage);
        t.emplace("bibl", Form::Bibl);
        t.emplace("l", Form::Line);
        t.emplace("lb", Form::Break);
        t.emplace("pb", Form::Break);
        t.emplace("gap", Form::Gap);
        t.emplace("milestone", Form::Milestone);
        t.emplace("app", Form::App);
        t.emplace("cit", Form::Cit);
        t.emplace("note", Form::Note);
        t.emplace("ref", Form::Reference);
        t.emplace("ptr", Form::Reference);
        t.emplace("list", Form::List);
        t.emplace("choice", Form::Choice);
        return t;
    }();
    return table;
}

// End tags of elements that running text may be cut by without harm.
bool ignored_close(std::string_view name) {
    for (const char* ignored : {"cit", "l", "p", "q", "sp", "note", "quote", "person", "persName"}) {
        if (name == ignored) return true;
    }
    return false;
}

constexpr std::string_view quotation_symbol = "\"\"";
constexpr std::string_view gap_text = "[\u2026]";

Inline sim(std::string_view symbol, std::vector<Inline> children, std::vector<std::string> genoses = {}) {
    return Inline::EndoSimmere{std::string(symbol), std::move(children), Suffix{std::nullopt, std::move(genoses)},
                               true};
}

Inline text(std::string value) { return Inline::Text{std::move(value)}; }

void append(std::vector<Block>& to, std::vector<Block>&& from) {
    for (Block& block : from) to.push_back(std::move(block));
}

void append(std::vector<Inline>& to, std::vector<Inline>&& from) {
    for (Inline& item : from) to.push_back(std::move(item));
}

Error unsupported_inline(const TeiContext& context, std::size_t index) {
    std::string message = "unsupported ";
    message += format_xml_token(context.tokens[index]);
    message += " inline (near: \"...";
    message += context.tokens.near_text(index);
    message += "\")";
    return context.error(message);
}

// Removes every note callout from `inlines` and their nested content.
void strip_callouts(std::vector<Inline>& inlines) {
    std::erase_if(inlines, [](const Inline& item) {
        const auto* deixis = std::get_if<Inline::Deixis>(&item.node);
        return deixis != nullptr && deixis->symbol == "^";
    });
    for (Inline& item : inlines) {
        if (auto* endo = std::get_if<Inline::EndoSimmere>(&item.node)) strip_callouts(endo->children);
        if (auto* diaphane = std::get_if<Inline::Diaphane>(&item.node)) strip_callouts(diaphane->children);
    }
}

// One walk of running text: the run being built and the blocks beside it.
class InlineWalk {
public:
    InlineWalk(TeiContext& context, std::string_view close) : context_(context), close_(close) {}

    Result<TeiInlines> run(std::size_t start) {
        TeiTokens& tokens = context_.tokens;
        std::size_t i = start;
        while (true) {
            if (!tokens.has(i)) return tei_unterminated_error(close_);
            const XmlToken& token = tokens[i];
            if (const auto* piece = std::get_if<XmlText>(&token)) {
                std::string value = tei_text(piece->text);
                if (!value.empty()) out_.inlines.push_back(text(std::move(value)));
                ++i;
            } else if (const auto* end = std::get_if<XmlClose>(&token)) {
                if (end->name == close_) {
                    trim_run_edges(out_.inlines);
                    out_.next = i + 1;
                    return std::move(out_);
                }
                if (!ignored_close(end->name)) return unsupported_inline(context_, i);
                ++i;
            } else {
                Result<std::size_t> next = element(i);
                if (!next) return std::move(next).error();
                i = *next;
            }
        }
    }

private:
    std::vector<Inline>& items() { return out_.inlines; }

    // Converts the element whose start tag is at `i`; gives where to go on.
    Result<std::size_t> element(std::size_t i) {
        const XmlOpen& open = std::get<XmlOpen>(context_.tokens[i]);
        const auto found = forms().find(open.name);
        if (found == forms().end()) return unsupported_inline(context_, i);
        const Form form = found->second;
        switch (form) {
            case Form::Break:
                items().push_back(text(" "));
                return after_own_close(context_.tokens, i);
            case Form::SilentBreak:
                return after_own_close(context_.tokens, i);
            case Form::Cit:
                return i + 1;
            case Form::Gap:
                items().push_back(text(std::string(gap_text)));
                return after_element(i);
            case Form::Milestone:
                if (std::optional<Inline> milestone = tei_milestone_element(open)) {
                    items().push_back(std::move(*milestone));
                } else {
                    items().push_back(text(" "));
                }
                return after_element(i);
            case Form::Skipped:
                return after_element(i);
            case Form::App:
                return app(i);
            case Form::Note:
                return note(i);
            case Form::Reference:
                return reference(i);
            case Form::List:
                return list(i);
            case Form::Choice:
                return choice(i);
            case Form::Quote:
                return quote(i);
            default:
                break;
        }
        if (open.self_closing) return i + 1;
        const bool run_empty = items().empty();
        if (form == Form::Container && !run_empty) items().push_back(text(" "));
        Result<TeiInlines> content = import_tei_inlines(context_, i + 1, open.name);
        if (!content) return std::move(content).error();
        append(out_.blocks, std::move(content->blocks));
        std::vector<Inline> inner = std::move(content->inlines);
        switch (form) {
            case Form::Emphasis:
                items().push_back(sim("/", std::move(inner)));
                break;
            case Form::Highlight: {
                const auto rend = attribute_value(open.attrs, "rend");
                const bool strong = rend && (*rend == "b" || *rend == "bold");
                items().push_back(sim(strong ? "*" : "/", std::move(inner)));
                break;
            }
            case Form::Title:
                items().push_back(sim("/", std::move(inner), {"title"}));
                break;
            case Form::Term:
                items().push_back(sim("/", std::move(inner), {"term"}));
                break;
            case Form::Foreign: {
                std::vector<std::string> genoses = {"foreign"};
                if (const auto lang = attribute_value(open.attrs, "xml:lang")) {
                    if (std::optional<std::string> genos = writable_genos(*lang)) genoses.push_back(std::move(*genos));
                }
                items().push_back(sim("/", std::move(inner), std::move(genoses)));
                break;
            }
            case Form::Annotation:
                items().push_back(sim(",", std::move(inner), {open.name}));
                break;
            case Form::Q: {
                std::vector<std::string> genoses;
                if (attribute_value(open.attrs, "who")) genoses.emplace_back("said");
                items().push_back(sim(quotation_symbol, std::move(inner), std::move(genoses)));
                break;
            }
            case Form::Said:
                items().push_back(sim(quotation_symbol, std::move(inner), {"said"}));
                break;
            case Form::SoCalled:
                items().push_back(sim(quotation_symbol, std::move(inner)));
                break;
            case Form::Stage:
                items().push_back(sim(":(", std::move(inner)));
                break;
            case Form::Bibl: {
                if (!run_empty) {
                    const auto* last = std::get_if<Inline::Text>(&items().back().node);
                    if (last == nullptr || !ends_with_whitespace(last->text)) items().push_back(text(" "));
                }
                append(items(), std::move(inner));
                items().push_back(text(" "));
                break;
            }
            case Form::Line:
                trim_inlines(inner);
                if (!run_empty) items().push_back(text(" / "));
                append(items(), std::move(inner));
                break;
            default:  // Container, Transparent
                append(items(), std::move(inner));
                break;
        }
        return content->next;
    }

    // Past the element at `i`, its content skipped.
    Result<std::size_t> after_element(std::size_t i) {
        const XmlOpen& open = std::get<XmlOpen>(context_.tokens[i]);
        if (open.self_closing) return i + 1;
        return context_.tokens.skip(i + 1, open.name);
    }

    void take(TeiInlines&& content) {
        append(items(), std::move(content.inlines));
        append(out_.blocks, std::move(content.blocks));
    }

    // The edited text of a critical apparatus: its lemma, else its first
    // reading; the other readings are passed over unread.
    Result<std::size_t> app(std::size_t i) {
        TeiTokens& tokens = context_.tokens;
        if (std::get<XmlOpen>(tokens[i]).self_closing) return i + 1;
        std::optional<std::size_t> lemma;
        std::optional<std::size_t> first_reading;
        std::size_t j = i + 1;
        while (true) {
            if (!tokens.has(j)) return tei_unterminated_error("app");
            if (const auto* end = std::get_if<XmlClose>(&tokens[j])) {
                if (end->name == "app") break;
                ++j;
                continue;
            }
            const auto* open = std::get_if<XmlOpen>(&tokens[j]);
            if (open == nullptr) {
                ++j;
                continue;
            }
            if (open->name == "lem" && !lemma) lemma = j;
            if (open->name == "rdg" && !first_reading) first_reading = j;
            Result<std::size_t> next = after_element(j);
            if (!next) return next;
            j = *next;
        }
        if (const std::optional<std::size_t> kept = lemma ? lemma : first_reading) {
            Result<TeiInlines> content = tei_element_inlines(context_, *kept);
            if (!content) return std::move(content).error();
            take(std::move(*content));
        }
        return j + 1;
    }

    Result<std::size_t> note(std::size_t i) {
        if (std::get<XmlOpen>(context_.tokens[i]).self_closing) return i + 1;
        Result<TeiNote> made = import_tei_note(context_, i + 1);
        if (!made) return std::move(made).error();
        if (made->footnote) {
            items().push_back(std::move(made->callout));
            out_.blocks.push_back(std::move(*made->footnote));
        }
        return made->next;
    }

    // Whether a reference at `i` to `target` ("#id") is the callout of the
    // note right after it, which then makes the callout itself.
    bool is_note_callout(std::size_t i, std::string_view target) const {
        TeiTokens& tokens = context_.tokens;
        const std::optional<std::size_t> close = context_.tokens.close_of(i);
        if (!close) return false;
        const std::size_t j = skip_blank_texts(tokens, *close + 1);
        if (!tokens.has(j)) return false;
        const auto* open = std::get_if<XmlOpen>(&tokens[j]);
        if (open == nullptr || open->name != "note") return false;
        const auto id = attribute_value(open->attrs, "xml:id");
        return id && *id == target.substr(1);
    }

    Result<std::size_t> reference(std::size_t i) {
        const XmlOpen& open = std::get<XmlOpen>(context_.tokens[i]);
        const std::string target(attribute_value(open.attrs, "target").value_or(""));
        if (target.starts_with('#') && !open.self_closing && is_note_callout(i, target)) {
            return *context_.tokens.close_of(i) + 1;
        }
        Result<TeiInlines> content = tei_element_inlines(context_, i);
        if (!content) return std::move(content).error();
        const std::size_t next = content->next;
        if (target.starts_with('#')) {
            take(std::move(*content));
            items().push_back(Inline::Monosim{">", writable_inline_parameter(target.substr(1)), {}});
        } else if (!target.empty()) {
            const bool bare = content->inlines.empty();
            take(std::move(*content));
            if (!bare) items().push_back(text(" ("));
            items().push_back(link_inline(target));
            if (!bare) items().push_back(text(")"));
        } else {
            take(std::move(*content));
        }
        return next;
    }

    Result<std::size_t> list(std::size_t i) {
        TeiTokens& tokens = context_.tokens;
        if (std::get<XmlOpen>(tokens[i]).self_closing) return i + 1;
        const std::string_view name = std::get<XmlOpen>(tokens[i]).name;
        bool first = true;
        std::size_t j = i + 1;
        while (true) {
            if (!tokens.has(j)) return tei_unterminated_error(name);
            const XmlToken& token = tokens[j];
            if (const auto* open = std::get_if<XmlOpen>(&token)) {
                const std::string_view child = open->name;
                if (child == "item" || child == "head" || child == "label" || child == "person") {
                    if (open->self_closing) {
                        ++j;
                        continue;
                    }
                    Result<TeiInlines> content = import_tei_inlines(context_, j + 1, child);
                    if (!content) return std::move(content).error();
                    if (!first || !items().empty()) items().push_back(text(first ? " " : "; "));
                    first = false;
                    j = content->next;
                    take(std::move(*content));
                    continue;
                }
                if (child == "lb" || child == "pb" || child == "milestone") {
                    j = after_own_close(tokens, j);
                    continue;
                }
            } else if (const auto* end = std::get_if<XmlClose>(&token)) {
                if (end->name == name) return j + 1;
            } else if (is_blank_text(token)) {
                ++j;
                continue;
            }
            return context_.error("unsupported " + format_xml_token(token) + " in an inline list");
        }
    }

    Result<std::size_t> choice(std::size_t i) {
        TeiTokens& tokens = context_.tokens;
        if (std::get<XmlOpen>(tokens[i]).self_closing) return i + 1;
        const std::uint64_t notes_before = context_.notes;
        std::vector<Inline> preferred;
        std::vector<Inline> alternative;
        std::size_t j = i + 1;
        while (true) {
            if (!tokens.has(j)) return context_.error("unterminated <choice>");
            const XmlToken& token = tokens[j];
            if (const auto* open = std::get_if<XmlOpen>(&token)) {
                const std::string_view child = open->name;
                const bool prefers = child == "corr" || child == "reg" || child == "expan";
                if (prefers || child == "sic" || child == "orig" || child == "abbr") {
                    Result<TeiInlines> content = tei_element_inlines(context_, j);
                    if (!content) return std::move(content).error();
                    (prefers ? preferred : alternative) = std::move(content->inlines);
                    j = content->next;
                    continue;
                }
            } else if (const auto* end = std::get_if<XmlClose>(&token)) {
                if (end->name == "choice") {
                    TeiInlines kept{preferred.empty() ? std::move(alternative) : std::move(preferred), {}, 0};
                    drop_tei_notes(context_, kept, notes_before);
                    append(items(), std::move(kept.inlines));
                    return j + 1;
                }
            } else if (is_blank_text(token)) {
                ++j;
                continue;
            }
            return context_.error("unsupported " + format_xml_token(token) + " in <choice>");
        }
    }

    // A quotation: a verse quotation flattened into one run, or running
    // text edged like any content.
    Result<std::size_t> quote(std::size_t i) {
        TeiTokens& tokens = context_.tokens;
        const XmlOpen& open = std::get<XmlOpen>(tokens[i]);
        if (open.self_closing) return i + 1;
        const std::size_t first = skip_blank_texts(tokens, i + 1);
        const auto* child = tokens.has(first) ? std::get_if<XmlOpen>(&tokens[first]) : nullptr;
        const bool verse = attribute_value(open.attrs, "type") == "verse" ||
                           (child != nullptr && (child->name == "l" || child->name == "lg" || child->name == "sp"));
        Result<TeiInlines> content = verse ? import_tei_quote(context_, i + 1) : import_tei_inlines(context_, i + 1, "quote");
        if (!content) return std::move(content).error();
        if (!verse) trim_inlines(content->inlines);
        items().push_back(sim(quotation_symbol, std::move(content->inlines)));
        append(out_.blocks, std::move(content->blocks));
        return content->next;
    }

    TeiContext& context_;
    std::string_view close_;
    TeiInlines out_;
};

}  // namespace

Result<TeiInlines> import_tei_inlines(TeiContext& context, std::size_t start, std::string_view close) {
    Result<NestingDepth::Level> level = context.import.enter();
    if (!level) return std::move(level).error();
    return InlineWalk(context, close).run(start);
}

Result<TeiInlines> tei_element_inlines(TeiContext& context, std::size_t open) {
    const XmlOpen& tag = std::get<XmlOpen>(context.tokens[open]);
    if (tag.self_closing) return TeiInlines{{}, {}, open + 1};
    return import_tei_inlines(context, open + 1, tag.name);
}

Result<TeiInlines> tei_element_inlines_without_notes(TeiContext& context, std::size_t open) {
    const std::uint64_t notes_before = context.notes;
    Result<TeiInlines> content = tei_element_inlines(context, open);
    if (content) drop_tei_notes(context, *content, notes_before);
    return content;
}

void drop_tei_notes(TeiContext& context, TeiInlines& content, std::uint64_t notes_before) {
    content.blocks.clear();
    if (context.notes == notes_before) return;  // no note was made, so no callout either
    strip_callouts(content.inlines);
    context.notes = notes_before;
}

Error tei_unterminated_error(std::string_view name) {
    std::string message = "unterminated <";
    message += name;
    message += '>';
    return tei_import_error(message);
}

bool ends_with_whitespace(std::string_view text) {
    if (text.empty()) return false;
    std::size_t end = text.size();
    return unicode::is_whitespace(unicode::prev_char(text, end));
}

}  // namespace ilvex
