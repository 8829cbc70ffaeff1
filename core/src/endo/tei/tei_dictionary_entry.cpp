// Entries, forms and senses: the block structure of a dictionary entry.
#include <algorithm>
#include <charconv>
#include <utility>

#include "endo/tei/tei_dictionary.hpp"
#include "endo/tei/tei_walk.hpp"
#include "endo/tei/tei_inlines.hpp"
#include "endo/whitespace.hpp"
#include "endo/writable.hpp"
#include "endo/xml/xml_walk.hpp"

namespace ilvex {
namespace {

using tei_walk::is_close;
using tei_walk::plain_text_at;

std::string_view attribute_or(const XmlOpen& open, std::string_view name, std::string_view fallback) {
    return attribute_value(open.attrs, name).value_or(fallback);
}

Block entry_block(std::string headword, std::vector<Block> children, std::optional<std::uint64_t> number) {
    Block::Para entry;
    entry.mirrored = false;
    entry.symbol = "!";
    entry.lemma.emplace_back(Inline::Text{std::move(headword)});
    entry.children = std::move(children);
    entry.taxis = number ? Taxis::of(*number) : Taxis::absent();
    return entry;
}

Block sense_block(std::vector<Block> children, std::uint64_t number) {
    Block::Para sense;
    sense.mirrored = false;
    sense.symbol = ":";
    sense.children = std::move(children);
    sense.taxis = Taxis::of(number);
    return sense;
}

// A sim paragraph of one text, unless the text is empty.
void push_text_form(std::vector<Block>& blocks, std::string_view symbol, std::string text,
                    std::vector<std::string> genoses = {}) {
    if (text.empty()) return;
    blocks.push_back(form_sim_node(symbol, {Inline::Text{std::move(text)}}, std::move(genoses)));
}

// The inlines of an entry's usage, cross-reference or note as a paragraph.
void push_inline_paragraph(std::vector<Block>& blocks, std::vector<Inline> inlines) {
    if (inlines.empty()) return;
    blocks.emplace_back(Block::Paragraph{std::move(inlines)});
}

// A sense's running text between its nested senses.
class SenseRun {
public:
    // Adds `inlines`, a space apart from what the run holds already.
    void add(std::vector<Inline> inlines) {
        if (!items_.empty()) items_.emplace_back(Inline::Text{" "});
        for (Inline& item : inlines) items_.push_back(std::move(item));
    }

    // Ends the run: its trimmed items, when any are left, become a paragraph.
    void close_into(std::vector<Block>& blocks) {
        trim_run_edges(items_);
        if (!items_.empty()) {
            isolate_trailing_backslashes(items_);
            blocks.emplace_back(Block::Paragraph{std::move(items_)});
        }
        items_.clear();
    }

private:
    std::vector<Inline> items_;
};

// One element of a form at `index` (an orth, pron, hyph, syll or nested
// form); any other start tag is passed over. Gives the next index.
Result<std::size_t> form_element(TeiContext& context, std::size_t index, std::string_view type,
                                 std::string& headword, std::vector<Block>& blocks) {
    const XmlOpen& open = std::get<XmlOpen>(context.tokens[index]);
    if (open.name == "form") {
        const std::string_view nested_type = attribute_or(open, "type", type);
        if (open.self_closing) return index + 1;
        return import_tei_form(context, index + 1, nested_type, headword, blocks);
    }
    const bool orth = open.name == "orth", pron = open.name == "pron";
    if (!orth && !pron && open.name != "hyph" && open.name != "syll") return index + 1;
    Result<ElementText> text = plain_text_at(context, index, open);
    if (!text) return std::move(text).error();
    if (orth && type == "lemma" && headword.empty()) {
        headword = std::move(text->text);
    } else if (orth) {
        push_text_form(blocks, type == "inflected" ? "=*" : "=~", std::move(text->text));
    } else if (pron) {
        const bool respell = attribute_value(open.attrs, "notation") == std::string_view("respell");
        push_text_form(blocks, "=%", std::move(text->text), {respell ? "respell" : "ipa"});
    } else {
        push_text_form(blocks, "=-", std::move(text->text));
    }
    return text->next;
}

// What an entry holds as it is read. A walk for the headword only reads
// the forms, and passes over the rest unconverted.
struct EntryParts {
    bool headword_only = false;
    std::string headword;
    std::vector<Block> blocks;
    std::uint64_t senses = 0;
};

constexpr std::size_t max_passed_depth = 64;

// The index after the end tag of element `name`, whose content starts at
// `start`, when that content nests strictly: each end tag closes the
// innermost element open, and no element lies inside one of its own name
// (nor deeper than 64 levels). Every converter of entry content then ends
// just there, whatever the content; for other content nothing is given.
std::optional<std::size_t> strictly_nested_end(TeiTokens& tokens, std::size_t start, std::string_view name) {
    std::vector<std::string_view> open = {name};
    for (std::size_t i = start; tokens.has(i); ++i) {
        const XmlToken& token = tokens[i];
        if (const auto* tag = std::get_if<XmlOpen>(&token)) {
            if (tag->self_closing) continue;
            if (open.size() >= max_passed_depth || std::find(open.begin(), open.end(), tag->name) != open.end()) {
                return std::nullopt;
            }
            open.push_back(tag->name);
        } else if (const auto* close = std::get_if<XmlClose>(&token)) {
            if (close->name != open.back()) return std::nullopt;
            open.pop_back();
            if (open.empty()) return i + 1;
        }
    }
    return std::nullopt;
}

// An element of an entry other than a form, passed over by a walk for the
// headword; content that does not nest strictly fails the walk, whose
// caller then converts the entry whole.
Result<std::size_t> passed_over(TeiContext& context, std::size_t index, const XmlOpen& open) {
    if (open.self_closing) return index + 1;
    if (const std::optional<std::size_t> end = strictly_nested_end(context.tokens, index + 1, open.name)) return *end;
    return context.error("entry content to convert whole");
}

// One element of an entry at `index`; an element not listed is passed over.
Result<std::size_t> entry_element(TeiContext& context, std::size_t index, EntryParts& entry) {
    const XmlOpen& open = std::get<XmlOpen>(context.tokens[index]);
    const std::string_view name = open.name;
    if (name == "form") {
        const std::string_view type = attribute_or(open, "type", "lemma");
        if (open.self_closing) return index + 1;
        return import_tei_form(context, index + 1, type, entry.headword, entry.blocks);
    }
    const bool content = name == "gramGrp" || name == "etym" || name == "xr" || name == "usg" || name == "note" ||
                         name == "sense" || name == "re" || name == "entry";
    if (content && entry.headword_only) return passed_over(context, index, open);
    if (name == "gramGrp") {
        Result<ElementText> text = plain_text_at(context, index, open);
        if (!text) return std::move(text).error();
        push_text_form(entry.blocks, "=&", std::move(text->text));
        return text->next;
    }
    if (name == "etym") {
        if (open.self_closing) return index + 1;
        Result<TeiInlines> etym = import_tei_mixed_content(context, index + 1, "etym");
        if (!etym) return std::move(etym).error();
        if (!etym->inlines.empty()) entry.blocks.push_back(form_sim_node("=<", std::move(etym->inlines)));
        return etym->next;
    }
    if (name == "xr" || name == "usg" || name == "note") {
        Result<TeiInlines> content = import_tei_sense_element(context, index);
        if (!content) return std::move(content).error();
        push_inline_paragraph(entry.blocks, std::move(content->inlines));
        return content->next;
    }
    if (name == "sense") {
        ++entry.senses;
        if (open.self_closing) {
            entry.blocks.push_back(sense_block({}, entry.senses));
            return index + 1;
        }
        Result<TeiBlock> sense = import_tei_sense(context, index + 1, entry.senses);
        if (!sense) return std::move(sense).error();
        entry.blocks.push_back(std::move(sense->block));
        return sense->next;
    }
    // A related entry, and an entry written straight inside another, are
    // entries of their own nested in this one.
    if (name == "re" || name == "entry") {
        Result<TeiBlock> nested = import_tei_entry_at(context, index);
        if (!nested) return std::move(nested).error();
        entry.blocks.push_back(std::move(nested->block));
        return nested->next;
    }
    return index + 1;
}

Result<TeiBlock> tei_entry_at(TeiContext& context, std::size_t open, bool headword_only) {
    const XmlOpen& tag = std::get<XmlOpen>(context.tokens[open]);
    const std::optional<std::string_view> n = attribute_value(tag.attrs, "n");
    const std::optional<std::uint64_t> number = n ? tei_entry_number(*n) : std::nullopt;
    if (tag.self_closing) return TeiBlock{entry_block("", {}, number), open + 1};
    return import_tei_entry(context, open + 1, tag.name, number, headword_only);
}

}  // namespace

std::optional<std::uint64_t> tei_entry_number(std::string_view text) {
    if (text.starts_with('+')) text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    std::uint64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    // An unsigned from_chars reads digits only: no sign, no white space.
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return number;
}

Result<TeiBlock> import_tei_entry_at(TeiContext& context, std::size_t open) {
    return tei_entry_at(context, open, false);
}

Result<TeiBlock> import_tei_entry_headword_at(TeiContext& context, std::size_t open) {
    return tei_entry_at(context, open, true);
}

Result<TeiBlock> import_tei_entry(TeiContext& context, std::size_t start, std::string_view close_name,
                                  std::optional<std::uint64_t> number, bool headword_only) {
    Result<NestingDepth::Level> level = context.import.enter();
    if (!level) return std::move(level).error();
    EntryParts entry;
    entry.headword_only = headword_only;
    for (std::size_t i = start; context.tokens.has(i);) {
        if (is_close(context.tokens[i], close_name)) {
            return TeiBlock{entry_block(std::move(entry.headword), std::move(entry.blocks), number), i + 1};
        }
        if (!std::holds_alternative<XmlOpen>(context.tokens[i])) {
            ++i;
            continue;
        }
        Result<std::size_t> next = entry_element(context, i, entry);
        if (!next) return std::move(next).error();
        i = *next;
    }
    return tei_unterminated_error(close_name);
}

Result<std::size_t> import_tei_form(TeiContext& context, std::size_t start, std::string_view type,
                                    std::string& headword, std::vector<Block>& blocks) {
    Result<NestingDepth::Level> level = context.import.enter();
    if (!level) return std::move(level).error();
    for (std::size_t i = start; context.tokens.has(i);) {
        if (is_close(context.tokens[i], "form")) return i + 1;
        if (!std::holds_alternative<XmlOpen>(context.tokens[i])) {
            ++i;
            continue;
        }
        Result<std::size_t> next = form_element(context, i, type, headword, blocks);
        if (!next) return std::move(next).error();
        i = *next;
    }
    return tei_unterminated_error("form");
}

Result<TeiBlock> import_tei_sense(TeiContext& context, std::size_t start,
                                           std::uint64_t number) {
    Result<NestingDepth::Level> level = context.import.enter();
    if (!level) return std::move(level).error();
    std::vector<Block> blocks;
    SenseRun run;
    std::uint64_t nested = 0;
    for (std::size_t i = start; context.tokens.has(i);) {
        const XmlToken& token = context.tokens[i];
        if (const auto* close = std::get_if<XmlClose>(&token)) {
            if (close->name == "sense") {
                run.close_into(blocks);
                return TeiBlock{sense_block(std::move(blocks), number), i + 1};
            }
            ++i;
            continue;
        }
        const auto* open = std::get_if<XmlOpen>(&token);
        if (open != nullptr && open->name == "sense") {
            run.close_into(blocks);
            ++nested;
            if (open->self_closing) {
                blocks.push_back(sense_block({}, nested));
                ++i;
                continue;
            }
            Result<TeiBlock> sense = import_tei_sense(context, i + 1, nested);
            if (!sense) return std::move(sense).error();
            blocks.push_back(std::move(sense->block));
            i = sense->next;
            continue;
        }
        if (open != nullptr && open->name == "def") {
            if (open->self_closing) {  // an empty definition
                run.add({});
                ++i;
                continue;
            }
            Result<TeiInlines> definition = import_tei_mixed_content(context, i + 1, "def");
            if (!definition) return std::move(definition).error();
            run.add(std::move(definition->inlines));
            i = definition->next;
            continue;
        }
        Result<TeiInlines> child = import_tei_dictionary_child(context, i);
        if (!child) return std::move(child).error();
        if (!child->inlines.empty()) run.add(std::move(child->inlines));
        i = child->next;
    }
    return tei_unterminated_error("sense");
}

}  // namespace ilvex
