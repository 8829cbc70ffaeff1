#include "endo/jats/jats_references.hpp"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "dialektos/unicode.hpp"
#include "endo/writable.hpp"
#include "endo/xml/xml_entities.hpp"

namespace ilvex {
namespace {

constexpr std::string_view bibliogramma = "bibliogramma";
constexpr std::string_view entry_symbol = "&";
constexpr std::string_view field_symbol = ":";
constexpr std::string_view default_type = "misc";

struct FieldElement {
    std::string_view element;
    std::string_view field;
};

constexpr std::array<FieldElement, 7> field_elements = {{
    {"article-title", "title"},
    {"source", "journal"},
    {"year", "year"},
    {"volume", "volume"},
    {"fpage", "pages"},
    {"lpage", "lpages"},
    {"publisher-name", "publisher"},
}};

std::optional<std::string_view> field_of(std::string_view element) {
    for (const FieldElement& known : field_elements) {
        if (known.element == element) return known.field;
    }
    return std::nullopt;
}

// A publication type as the entry's genos: a journal's is an article; a word
// that cannot be a genos even lower-cased leaves the entry a misc.
std::string entry_type(std::string_view publication_type) {
    if (publication_type == "journal") return "article";
    return writable_genos(publication_type).value_or(std::string(default_type));
}

std::vector<Inline> text_inlines(std::string text) {
    std::vector<Inline> inlines;
    inlines.emplace_back(Inline::Text{std::move(text)});
    return inlines;
}

Block field_block(std::string_view name, std::string text) {
    Block::Para field;
    field.symbol = std::string(field_symbol);
    field.lemma = text_inlines(std::string(name));
    field.children.emplace_back(Block::Paragraph{text_inlines(std::move(text))});
    field.taxis = Taxis::absent();
    return field;
}

// The parts of one author name as they are read.
struct NameParts {
    std::string surname;
    std::string given_names;
    std::string loose_text;  // text of a string-name outside its parts

    // Parts that are empty are left out, so no name starts with a comma.
    std::string name() const {
        if (!loose_text.empty()) return one_line(loose_text);
        if (surname.empty()) return given_names;
        if (given_names.empty()) return surname;
        return surname + ", " + given_names;
    }
};

class EntryReader {
public:
    EntryReader(const JatsWalk& walk, std::string key) : walk_(walk), key_(std::move(key)) {}

    // Reads the ref's content from `start` to its end tag; gives the index
    // after it.
    Result<std::size_t> read(std::size_t start) {
        const std::vector<XmlToken>& tokens = walk_.tokens;
        for (std::size_t i = start; i < tokens.size();) {
            const XmlToken& token = tokens[i];
            if (const auto* end = std::get_if<XmlClose>(&token); end && end->name == "ref") return i + 1;
            const auto* open = std::get_if<XmlOpen>(&token);
            if (open == nullptr) {
                ++i;
                continue;
            }
            Result<std::size_t> next = element(i + 1, *open);
            if (!next) return std::move(next).error();
            i = *next;
        }
        return walk_.error("unterminated <ref>");
    }

    // The entry: the author field first, then the other fields in source order.
    Block entry() && {
        Block::Para entry;
        entry.symbol = std::string(entry_symbol);
        entry.lemma = text_inlines(std::move(key_));
        if (!authors_.empty()) entry.children.push_back(field_block("author", std::move(authors_)));
        for (Block& field : fields_) entry.children.push_back(std::move(field));
        entry.suffix.genoses.push_back(std::move(type_));
        entry.taxis = Taxis::absent();
        return entry;
    }

private:
    // Gives the index to go on from: past what was read, or just past the
    // start tag of what is passed over or entered.
    Result<std::size_t> element(std::size_t start, const XmlOpen& open) {
        const bool citation = open.name == "element-citation" || open.name == "mixed-citation";
        if (citation) {
            if (const auto type = attribute_value(open.attrs, "publication-type")) type_ = entry_type(*type);
            if (open.name == "element-citation") return start;
            return add_field("note", start, open);
        }
        if (const auto field = field_of(open.name)) return add_field(*field, start, open);
        if (open.name == "name" || open.name == "string-name") return add_author(start, open);
        return start;
    }

    Result<std::size_t> add_field(std::string_view name, std::size_t start, const XmlOpen& open) {
        Result<ElementText> content = jats_text_only(walk_, start, open);
        if (!content) return std::move(content).error();
        std::string text = one_line(content->text);
        if (!text.empty()) fields_.push_back(field_block(name, std::move(text)));
        return content->next;
    }

    Result<std::size_t> add_author(std::size_t start, const XmlOpen& open) {
        if (open.self_closing) return start;
        NameParts parts;
        const bool loose_text_counts = open.name == "string-name";
        const std::vector<XmlToken>& tokens = walk_.tokens;
        for (std::size_t i = start; i < tokens.size();) {
            const XmlToken& token = tokens[i];
            if (const auto* end = std::get_if<XmlClose>(&token); end && end->name == open.name) {
                add_author_name(parts.name());
                return i + 1;
            }
            const auto* part = std::get_if<XmlOpen>(&token);
            if (part && (part->name == "surname" || part->name == "given-names")) {
                Result<ElementText> content = jats_text_only(walk_, i + 1, *part);
                if (!content) return std::move(content).error();
                (part->name == "surname" ? parts.surname : parts.given_names) = one_line(content->text);
                i = content->next;
                continue;
            }
            if (const auto* text = std::get_if<XmlText>(&token); text && loose_text_counts) {
                parts.loose_text += unicode::trim(decode_xml_entities(text->text));
            }
            ++i;
        }
        return walk_.error(unterminated(open.name));
    }

    // An empty name would leave a stray " and ".
    void add_author_name(const std::string& name) {
        if (name.empty()) return;
        if (!authors_.empty()) authors_ += " and ";
        authors_ += name;
    }

    const JatsWalk& walk_;
    std::string key_;
    std::string type_ = std::string(default_type);
    std::vector<Block> fields_;
    std::string authors_;
};

}  // namespace

Result<std::size_t> JatsReferences::read_back(const JatsWalk& walk, std::size_t start, const XmlOpen& open) {
    if (open.self_closing) return start;
    const std::vector<XmlToken>& tokens = walk.tokens;
    for (std::size_t i = start; i < tokens.size();) {
        const XmlToken& token = tokens[i];
        if (const auto* end = std::get_if<XmlClose>(&token); end && end->name == "back") return i + 1;
        const auto* ref = std::get_if<XmlOpen>(&token);
        if (ref == nullptr || ref->name != "ref") {
            ++i;
            continue;
        }
        // A key stands on the entry's header line: white space runs become spaces.
        const std::optional<std::string_view> id = attribute_value(ref->attrs, "id");
        std::string key = id ? one_line(*id) : std::string();
        if (key.empty()) return walk.error("ref without id");
        EntryReader reader(walk, std::move(key));
        if (ref->self_closing) {
            ++i;
        } else {
            Result<std::size_t> next = reader.read(i + 1);
            if (!next) return std::move(next).error();
            i = *next;
        }
        entries_.push_back(std::move(reader).entry());
    }
    return walk.error("unterminated <back>");
}

Block JatsReferences::block() && {
    return Block::Englossis{std::string(bibliogramma), std::move(entries_), {}};
}

}  // namespace ilvex
