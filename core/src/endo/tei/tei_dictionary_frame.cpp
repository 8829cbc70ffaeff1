#include "endo/tei/tei_dictionary_frame.hpp"

#include <optional>
#include <string>
#include <utility>

#include "dialektos/unicode.hpp"
#include "endo/tei/tei_context.hpp"
#include "endo/tei/tei_dictionary.hpp"
#include "endo/tei/tei_entry_keys.hpp"
#include "endo/tei/tei_header.hpp"
#include "endo/tei/tei_inlines.hpp"
#include "endo/tei/tei_post_passes.hpp"
#include "endo/tei/tei_tokens.hpp"
#include "endo/xml/xml_walk.hpp"

namespace ilvex {
namespace {

// Where the walk hands each top-level block as it is made; an entry comes
// with its identifier, if it has one.
class DictionaryOut {
public:
    // How the walk reads an entry: import_tei_entry_at, or its form for the
    // headword only.
    virtual Result<TeiBlock> read_entry(TeiContext& context, std::size_t open) {
        return import_tei_entry_at(context, open);
    }
    virtual void block(Block&& block) = 0;
    virtual void entry(Block&& entry, std::optional<std::string_view> id) = 0;

protected:
    ~DictionaryOut() = default;
};

std::optional<std::string_view> entry_identifier(const XmlOpen& open) {
    if (auto id = attribute_value(open.attrs, "xml:id")) return id;
    return attribute_value(open.attrs, "id");
}

Result<std::size_t> entry(TeiContext& context, std::size_t index, const XmlOpen& open, DictionaryOut& out) {
    Result<TeiBlock> built = out.read_entry(context, index);
    if (!built) return std::move(built).error();
    out.entry(std::move(built->block), entry_identifier(open));
    return built->next;
}

Result<std::size_t> paragraph(TeiContext& context, std::size_t index, DictionaryOut& out) {
    Result<TeiInlines> content = tei_element_inlines(context, index);
    if (!content) return std::move(content).error();
    if (!content->inlines.empty()) out.block(Block::Paragraph{std::move(content->inlines)});
    for (Block& block : content->blocks) out.block(std::move(block));
    return content->next;
}

// A head is a flat section without content; an empty one is left out, as
// a section cannot be written without its lemma.
Result<std::size_t> head(TeiContext& context, std::size_t index, DictionaryOut& out) {
    Result<TeiInlines> content = tei_element_inlines_without_notes(context, index);
    if (!content) return std::move(content).error();
    if (!content->inlines.empty()) {
        Block::Para section;
        section.mirrored = false;
        section.symbol = "#";
        section.lemma = std::move(content->inlines);
        out.block(std::move(section));
    }
    return content->next;
}

Result<std::size_t> header(TeiContext& context, std::size_t index, DictionaryOut& out) {
    std::vector<Block> blocks;
    Result<std::size_t> next = import_tei_header(context, index + 1, blocks);
    for (Block& block : blocks) out.block(std::move(block));
    return next;
}

Result<std::size_t> top_level_element(TeiContext& context, std::size_t index, DictionaryOut& out) {
    const XmlOpen& open = std::get<XmlOpen>(context.tokens[index]);
    const std::string_view name = open.name;
    if (name == "entry") return entry(context, index, open, out);
    if (name == "p") return paragraph(context, index, out);
    if (name == "head") return head(context, index, out);
    if (open.self_closing) return index + 1;
    if (name == "teiHeader") return header(context, index, out);
    if (name == "front" || name == "back" || name == "standOff") {
        return context.tokens.skip(index + 1, name);
    }
    return index + 1;
}

// Stray text as a paragraph of its own.
void stray_text(const XmlText& token, DictionaryOut& out) {
    const std::string text = tei_text(token.text);
    const std::string_view trimmed = unicode::trim(text);
    if (!trimmed.empty()) out.block(Block::Paragraph{{Inline::Text{std::string(trimmed)}}});
}

// The walk over the top level.
Status walk(TeiContext& context, DictionaryOut& out) {
    TeiTokens& tokens = context.tokens;
    for (std::size_t i = 0; tokens.has(i);) {
        const XmlToken& token = tokens[i];
        if (const auto* text = std::get_if<XmlText>(&token)) stray_text(*text, out);
        if (!std::holds_alternative<XmlOpen>(token)) {
            ++i;
            continue;
        }
        Result<std::size_t> next = top_level_element(context, i, out);
        if (!next) return std::move(next).error();
        i = *next;
        tokens.release(i);
    }
    return {};
}

// The first walk keeps of each entry only what its key needs. Reading only
// the headwords, it may fail where converting the entries would not; it
// is then walked again converting them.
class EntryKeys final : public DictionaryOut {
public:
    explicit EntryKeys(bool headwords_only) : headwords_only_(headwords_only) {}

    Result<TeiBlock> read_entry(TeiContext& context, std::size_t open) override {
        return headwords_only_ ? import_tei_entry_headword_at(context, open) : import_tei_entry_at(context, open);
    }
    void block(Block&&) override {}
    void entry(Block&& entry, std::optional<std::string_view> id) override {
        entries.push_back(summarize_tei_entry(std::get<Block::Para>(entry.node), id));
    }

    std::vector<TeiEntrySummary> entries;

private:
    bool headwords_only_;
};

// What the keys need of the entries of `text`, or the import's error.
Result<std::vector<TeiEntrySummary>> entry_summaries(std::string_view text) {
    {
        EntryKeys quick(true);
        TeiContext context(text);
        if (walk(context, quick) && !context.tokens.error()) return std::move(quick.entries);
    }
    EntryKeys whole(false);
    TeiContext context(text);
    if (Status walked = walk(context, whole); !walked) return context.tokens.first_error(std::move(walked).error());
    if (context.tokens.error()) return *context.tokens.error();
    return std::move(whole.entries);
}

// The second walk hands each block to the sink, the entries numbered as
// the first walk found and every reference to an entry rewritten to its
// key.
class KeyedOutput final : public DictionaryOut {
public:
    KeyedOutput(ImportSink& sink, const std::vector<TeiEntrySummary>& entries,
                const std::unordered_map<std::string, std::string>& keys)
        : sink_(sink), entries_(entries), keys_(keys) {}

    void block(Block&& block) override {
        rewrite_tei_entry_refs(block, keys_);
        sink_.block(std::move(block));
    }

    void entry(Block&& entry, std::optional<std::string_view>) override {
        std::get<Block::Para>(entry.node).taxis = entries_[next_++].taxis;
        block(std::move(entry));
    }

private:
    ImportSink& sink_;
    const std::vector<TeiEntrySummary>& entries_;
    const std::unordered_map<std::string, std::string>& keys_;
    std::size_t next_ = 0;
};

}  // namespace

Status import_tei_dictionary(std::string_view text, ImportSink& sink) {
    Result<std::vector<TeiEntrySummary>> entries = entry_summaries(text);
    if (!entries) return std::move(entries).error();
    number_tei_homographs(*entries);
    const std::unordered_map<std::string, std::string> keys = tei_entry_keys(*entries);
    TeiContext context(text);
    KeyedOutput output(sink, *entries, keys);
    if (Status walked = walk(context, output); !walked) return context.tokens.first_error(std::move(walked).error());
    if (context.tokens.error()) return *context.tokens.error();
    return {};
}

}  // namespace ilvex
