#include "endo/jats/jats_references.hpp"

#include <array>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

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

std::vector<Inline> text_inlines(std::string_view text) {
    std::vector<Inline> inlines;
    inlines.emplace_back(Inline::Text{std::string(text)});
    return inlines;
}

Block field_block(std::string_view name, std::string_view text) {
    Block::Para field;
    field.symbol = std::string(field_symbol);
    field.lemma = text_inlines(name);
    field.children.emplace_back(Block::Paragraph{text_inlines(text)});
    field.taxis = Taxis::absent();
    return field;
}

Block entry_block(std::string_view key) {
    Block::Para entry;
    entry.symbol = std::string(entry_symbol);
    entry.lemma = text_inlines(key);
    entry.taxis = Taxis::absent();
    return entry;
}

void put_text(std::string& packed, std::string_view text) {
    const std::size_t size = text.size();
    packed.append(reinterpret_cast<const char*>(&size), sizeof size);
    packed.append(text);
}

std::string_view take_text(std::string_view packed, std::size_t& at) {
    std::size_t size = 0;
    std::memcpy(&size, packed.data() + at, sizeof size);
    at += sizeof size;
    const std::string_view text = packed.substr(at, size);
    at += size;
    return text;
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

struct Field {
    std::string_view name;
    std::string text;
};

class EntryReader {
public:
    explicit EntryReader(JatsWalk& walk) : walk_(walk) {}

    // Reads the ref's content from `start` to its end tag; gives the index
    // after it.
    Result<std::size_t> read(std::size_t start) {
        for (std::size_t i = start;;) {
            Result<const XmlToken*> at = walk_.tokens.at(i);
            if (!at) return std::move(at).error();
            if (*at == nullptr) break;
            if (const auto* end = std::get_if<XmlClose>(*at); end && end->name == "ref") return i + 1;
            const auto* open = std::get_if<XmlOpen>(*at);
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

    // The entry: its key and type, the author field first, then the other
    // fields in source order.
    void add_to(JatsReferences& references, std::string_view key) const {
        references.add(JatsReferences::Piece::Key, key);
        references.add(JatsReferences::Piece::Type, type_);
        if (!authors_.empty()) references.add(JatsReferences::Piece::Field, authors_, "author");
        for (const Field& field : fields_) references.add(JatsReferences::Piece::Field, field.text, field.name);
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
        Result<ElementText> content = walk_.tokens.text_only(start, open);
        if (!content) return std::move(content).error();
        std::string text = one_line(content->text);
        if (!text.empty()) fields_.push_back(Field{name, std::move(text)});
        return content->next;
    }

    Result<std::size_t> add_author(std::size_t start, const XmlOpen& open) {
        if (open.self_closing) return start;
        NameParts parts;
        const bool loose_text_counts = open.name == "string-name";
        for (std::size_t i = start;;) {
            Result<const XmlToken*> at = walk_.tokens.at(i);
            if (!at) return std::move(at).error();
            if (*at == nullptr) break;
            if (const auto* end = std::get_if<XmlClose>(*at); end && end->name == open.name) {
                add_author_name(parts.name());
                return i + 1;
            }
            const auto* part = std::get_if<XmlOpen>(*at);
            if (part && (part->name == "surname" || part->name == "given-names")) {
                Result<ElementText> content = walk_.tokens.text_only(i + 1, *part);
                if (!content) return std::move(content).error();
                (part->name == "surname" ? parts.surname : parts.given_names) = one_line(content->text);
                i = content->next;
                continue;
            }
            if (const auto* text = std::get_if<XmlText>(*at); text && loose_text_counts) {
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

    JatsWalk& walk_;
    std::string type_ = std::string(default_type);
    std::vector<Field> fields_;
    std::string authors_;
};

}  // namespace

void JatsReferences::add(Piece piece, std::string_view text, std::string_view field_name) {
    packed_ += static_cast<char>(piece);
    put_text(packed_, field_name);
    put_text(packed_, text);
}

Result<std::size_t> JatsReferences::read_back(JatsWalk& walk, std::size_t start, const XmlOpen& open) {
    if (open.self_closing) return start;
    for (std::size_t i = start;;) {
        walk.tokens.release(i);
        Result<const XmlToken*> at = walk.tokens.at(i);
        if (!at) return std::move(at).error();
        if (*at == nullptr) break;
        if (const auto* end = std::get_if<XmlClose>(*at); end && end->name == "back") return i + 1;
        const auto* ref = std::get_if<XmlOpen>(*at);
        if (ref == nullptr || ref->name != "ref") {
            ++i;
            continue;
        }
        // A key stands on the entry's header line: white space runs become spaces.
        const std::optional<std::string_view> id = attribute_value(ref->attrs, "id");
        const std::string key = id ? one_line(*id) : std::string();
        if (key.empty()) return walk.error("ref without id");
        EntryReader reader(walk);
        if (ref->self_closing) {
            ++i;
        } else {
            Result<std::size_t> next = reader.read(i + 1);
            if (!next) return std::move(next).error();
            i = *next;
        }
        reader.add_to(*this, key);
    }
    return walk.error("unterminated <back>");
}

void JatsReferences::write(ImportSink& sink) const {
    if (packed_.empty()) return;
    sink.open(Block::Englossis{std::string(bibliogramma), {}, {}});
    std::optional<Block> entry;
    for (std::size_t at = 0; at < packed_.size();) {
        const auto piece = static_cast<Piece>(packed_[at++]);
        const std::string_view name = take_text(packed_, at);
        const std::string_view text = take_text(packed_, at);
        const auto para = [&entry]() -> Block::Para& { return std::get<Block::Para>(entry->node); };
        switch (piece) {
            case Piece::Key:
                if (entry) sink.block(std::move(*entry));
                entry = entry_block(text);
                break;
            case Piece::Type: para().suffix.genoses.emplace_back(text); break;
            case Piece::Field: para().children.push_back(field_block(name, text)); break;
        }
    }
    sink.block(std::move(*entry));
    sink.close();
}

}  // namespace ilvex
