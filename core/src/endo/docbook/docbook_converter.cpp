#include "endo/docbook/docbook_converter.hpp"

#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>

#include "dendron/writable_values.hpp"
#include "dialektos/unicode.hpp"
#include "endo/import_errors.hpp"
#include "endo/tree_builders.hpp"
#include "endo/whitespace.hpp"
#include "endo/writable.hpp"
#include "endo/xml/xml_entities.hpp"
#include "endo/xml/xml_walk.hpp"

namespace ilvex {

// Its Para has the onym of the element's xml:id where `identified`.
struct DocbookConverter::Container {
    std::string_view element;
    std::string_view symbol;
    bool mirrored;
    bool identified;
};

namespace {

constexpr std::string_view section_symbol = "#";
constexpr std::string_view footnote_symbol = "^";

constexpr DocbookConverter::Container containers[] = {
    {"note", "!", true, false},          {"warning", "!!", true, false},    {"blockquote", ">", false, false},
    {"itemizedlist", "--", true, false}, {"orderedlist", "..", true, false}, {"listitem", "-", true, false},
    {"footnote", footnote_symbol, true, true},
};

Block para(std::string_view symbol, bool mirrored, std::vector<Inline> lemma, std::vector<Block> children,
           std::optional<std::string> onym) {
    return Block::Para{mirrored, std::string(symbol), std::move(lemma), std::move(children), {},
                       Suffix{std::move(onym), {}}, Taxis::absent()};
}

void push_all(MarkedBlocks& out, std::vector<Block>& blocks) {
    for (Block& block : blocks) out.push(std::move(block));
}

// Literal text keeps its line feeds where it stands in a paragraph; a title
// becomes one line, so its literal text is put on one line too.
void collapse_literals(std::vector<Inline>& inlines) {
    for (Inline& item : inlines) {
        if (auto* literal = std::get_if<Inline::Enlexis>(&item.node)) {
            literal->text = collapse_whitespace(literal->text);
        } else if (auto* sim = std::get_if<Inline::EndoSimmere>(&item.node)) {
            collapse_literals(sim->children);
        }
    }
}

// The quotation sim for quote; strong for an emphasis with the role bold or
// strong, else emphasis.
std::string_view emphasis_symbol(const XmlOpen& open) {
    if (open.name == "quote") return "\"\"";
    const auto role = attribute_value(open.attrs, "role");
    return role && (*role == "bold" || *role == "strong") ? "*" : "/";
}

constexpr std::uint64_t ones = 0x0101010101010101;
constexpr std::uint64_t highs = 0x8080808080808080;

// The high bit of every byte of `word` that equals `value`, and no other.
std::uint64_t bytes_equal(std::uint64_t word, unsigned char value) {
    const std::uint64_t x = word ^ (ones * value);
    const std::uint64_t low7 = ones * 0x7F;
    return ~(((x & low7) + low7) | x | low7);
}

// Whether any of the 8 bytes of `word` is a control character or DEL, or
// lies beyond ASCII.
bool has_special_byte(std::uint64_t word) {
    const std::uint64_t below_space = (word - ones * ' ') & ~word & highs;
    return ((word & highs) | below_space | bytes_equal(word, 0x7F)) != 0;
}

bool is_special_byte(char b) {
    const auto byte = static_cast<unsigned char>(b);
    return byte < ' ' || byte >= 0x7F;
}

// Whether collapsing white space would leave `text` as it is: ASCII
// without control characters or two spaces side by side. Read eight bytes
// at a time: most running text is.
bool is_collapsed(std::string_view text) {
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + i, 8);
        if (has_special_byte(word)) return false;
        // Neighbouring bytes are neighbouring byte lanes, in whichever order.
        const std::uint64_t spaces = bytes_equal(word, ' ');
        if ((spaces & (spaces << 8)) != 0 || (i > 0 && text[i - 1] == ' ' && text[i] == ' ')) return false;
    }
    for (; i < text.size(); ++i) {
        if (is_special_byte(text[i]) || (i > 0 && text[i - 1] == ' ' && text[i] == ' ')) return false;
    }
    return true;
}

// The raw text of a token as it stands inline: entities decoded, white space
// runs collapsed to one space. Most running text needs neither and is
// taken as it is.
std::string inline_text(std::string&& raw) {
    std::string text = raw.find('&') == std::string::npos ? std::move(raw) : decode_xml_entities(raw);
    if (is_collapsed(text)) return text;
    return collapse_whitespace(text);
}

}  // namespace

std::optional<std::vector<Inline>> take_docbook_title(MarkedBlocks& blocks) {
    std::optional<Block> title = blocks.take_first(BlockMark::Title);
    if (!title) return std::nullopt;
    std::vector<Inline> inlines = std::move(std::get<Block::Paragraph>(title->node).inlines);
    collapse_literals(inlines);
    return inlines;
}

Status DocbookConverter::import_docbook_blocks(std::string_view end, MarkedBlocks& out, const Progress& progress) {
    while (true) {
        Result<XmlToken> token = tokens_.next_inside(end, docbook_import_error);
        if (!token) return std::move(token).error();
        if (const auto* text = std::get_if<XmlText>(&*token)) {
            const std::string_view bare = unicode::trim(text->text);
            if (!bare.empty()) return context_.error(joined({"bare text at block level: `", bare, "`"}));
            continue;
        }
        if (const auto* close = std::get_if<XmlClose>(&*token)) {
            if (close->name == end) return {};
            return unsupported(*token, "at block level");
        }
        if (Status converted = block_element(std::get<XmlOpen>(*token), out); !converted) return converted;
        if (progress) progress(out);
    }
}

Status DocbookConverter::block_element(const XmlOpen& open, MarkedBlocks& out) {
    Result<NestingDepth::Level> level = context_.enter();
    if (!level) return std::move(level).error();
    const std::string_view name = open.name;
    if (name == "info") return open.self_closing ? Status() : info(out);
    if (name == "title") return title(open, out);
    if (name == "para") return paragraph(open, out);
    if (name == "section" || name == "sect1") return section(open, out);
    for (const Container& kind : containers) {
        if (name == kind.element) return container(open, kind, out);
    }
    if (name == "programlisting") return program_listing(open, out);
    return unsupported(open, "at block level");
}

// Only the title of an info is used; its other elements are passed over.
Status DocbookConverter::info(MarkedBlocks& out) {
    while (true) {
        Result<XmlToken> token = tokens_.next_inside("info", docbook_import_error);
        if (!token) return std::move(token).error();
        if (const auto* close = std::get_if<XmlClose>(&*token); close && close->name == "info") return {};
        const auto* open = std::get_if<XmlOpen>(&*token);
        if (open == nullptr || open->self_closing) continue;
        if (open->name != "title") {
            if (Status skipped = tokens_.skip(open->name); !skipped) return skipped;
            continue;
        }
        Result<NestingDepth::Level> level = context_.enter();
        if (!level) return std::move(level).error();
        if (Status converted = title(*open, out); !converted) return converted;
    }
}

Status DocbookConverter::title(const XmlOpen& open, MarkedBlocks& out) {
    Blocks notes;
    Result<Inlines> inlines = child_inlines(open, notes);
    if (!inlines) return std::move(inlines).error();
    out.push_marked(Block::Paragraph{std::move(inlines).value()}, BlockMark::Title);
    push_all(out, notes);
    return {};
}

Status DocbookConverter::paragraph(const XmlOpen& open, MarkedBlocks& out) {
    Blocks notes;
    Result<Inlines> inlines = child_inlines(open, notes);
    if (!inlines) return std::move(inlines).error();
    out.push(Block::Paragraph{std::move(inlines).value()});
    push_all(out, notes);
    return {};
}

Status DocbookConverter::section(const XmlOpen& open, MarkedBlocks& out) {
    Result<std::optional<std::string>> onym = element_onym(open);
    if (!onym) return std::move(onym).error();
    MarkedBlocks children;
    if (Status converted = child_blocks(open, children); !converted) return converted;
    Inlines lemma = take_docbook_title(children).value_or(Inlines());
    // A lemma of nothing cannot be written: an empty title counts as none.
    if (lemma.empty()) return context_.error("section without a title");
    out.push(para(section_symbol, true, std::move(lemma), std::move(children).release(), std::move(onym).value()));
    return {};
}

Status DocbookConverter::container(const XmlOpen& open, const Container& kind, MarkedBlocks& out) {
    Result<std::optional<std::string>> onym = kind.identified ? element_onym(open) : std::optional<std::string>();
    if (!onym) return std::move(onym).error();
    MarkedBlocks children;
    if (Status converted = child_blocks(open, children); !converted) return converted;
    out.push(para(kind.symbol, kind.mirrored, {}, std::move(children).release(), std::move(onym).value()));
    return {};
}

Status DocbookConverter::program_listing(const XmlOpen& open, MarkedBlocks& out) {
    Suffix suffix;
    if (const auto language = attribute_value(open.attrs, "language")) {
        if (auto genos = writable_genos(unicode::lowercase(*language))) suffix.genoses.push_back(std::move(*genos));
    }
    Result<std::string> text = literal_text(open);
    if (!text) return std::move(text).error();
    out.push(Block::MonadEnlexis{std::move(text).value(), std::move(suffix)});
    return {};
}

Status DocbookConverter::child_blocks(const XmlOpen& open, MarkedBlocks& out) {
    if (open.self_closing) return {};
    return import_docbook_blocks(open.name, out);
}

Result<std::vector<Inline>> DocbookConverter::import_docbook_inlines(std::string_view end, Blocks& notes) {
    Inlines out;
    while (true) {
        Result<XmlToken> token = tokens_.next_inside(end, docbook_import_error);
        if (!token) return std::move(token).error();
        if (auto* text = std::get_if<XmlText>(&*token)) {
            std::string collapsed = inline_text(std::move(text->text));
            if (!collapsed.empty()) out.emplace_back(Inline::Text{std::move(collapsed)});
            continue;
        }
        if (const auto* close = std::get_if<XmlClose>(&*token)) {
            if (close->name != end) return unsupported(*token, "inline");
            trim_run_edges(out);
            isolate_trailing_backslashes(out);
            return out;
        }
        if (Status converted = inline_element(std::get<XmlOpen>(*token), out, notes); !converted) {
            return std::move(converted).error();
        }
    }
}

Status DocbookConverter::inline_element(const XmlOpen& open, Inlines& out, Blocks& notes) {
    Result<NestingDepth::Level> level = context_.enter();
    if (!level) return std::move(level).error();
    const std::string_view name = open.name;
    if (name == "emphasis" || name == "quote") {
        Result<Inlines> children = child_inlines(open, notes);
        if (!children) return std::move(children).error();
        out.emplace_back(Inline::EndoSimmere{std::string(emphasis_symbol(open)), std::move(children).value(), {}, true});
        return {};
    }
    if (name == "code" || name == "literal") {
        Result<std::string> text = literal_text(open);
        if (!text) return std::move(text).error();
        out.emplace_back(Inline::Enlexis{std::move(text).value(), {}});
        return {};
    }
    if (name == "link" || name == "ulink") return link(open, out, notes);
    if (name == "footnote") return inline_footnote(open, out, notes);
    if (name == "footnoteref") return footnote_reference(open, out, notes);
    return unsupported(open, "inline");
}

// A link whose text is its target, or that has none, is the link sim alone;
// other text is kept with the target beside it. Without a target (an
// internal linkend) only the text stays.
Status DocbookConverter::link(const XmlOpen& open, Inlines& out, Blocks& notes) {
    auto target_attr = attribute_value(open.attrs, "xlink:href");
    if (!target_attr) target_attr = attribute_value(open.attrs, "url");
    const std::string_view target = target_attr ? unicode::trim(*target_attr) : std::string_view();
    Result<Inlines> children = child_inlines(open, notes);
    if (!children) return std::move(children).error();
    if (target.empty()) {
        for (Inline& child : *children) out.push_back(std::move(child));
        return {};
    }
    const auto* only_text = children->size() == 1 ? std::get_if<Inline::Text>(&children->front().node) : nullptr;
    Inline link_sim = link_inline(writable_parameter(target));
    if (children->empty() || (only_text && unicode::trim(only_text->text) == target)) {
        out.push_back(std::move(link_sim));
        return {};
    }
    for (Inline& child : *children) out.push_back(std::move(child));
    out.emplace_back(Inline::Text{" ("});
    out.push_back(std::move(link_sim));
    out.emplace_back(Inline::Text{")"});
    return {};
}

// The callout becomes a deixis on a generated label, numbered through the
// whole document; the body becomes a footnote Para with that label, placed
// after the paragraph or title that holds the callout.
Status DocbookConverter::inline_footnote(const XmlOpen& open, Inlines& out, Blocks& notes) {
    std::string label = joined({"n", std::to_string(++footnotes_)});
    MarkedBlocks body;
    if (Status converted = child_blocks(open, body); !converted) return converted;
    out.emplace_back(Inline::Deixis{std::string(footnote_symbol), label, {}});
    notes.push_back(para(footnote_symbol, true, {}, std::move(body).release(), std::move(label)));
    return {};
}

// footnoteref is an empty element; written with an end tag, whatever it
// holds is kept after the callout.
Status DocbookConverter::footnote_reference(const XmlOpen& open, Inlines& out, Blocks& notes) {
    const auto linkend = attribute_value(open.attrs, "linkend");
    if (!linkend) return context_.error("footnoteref without linkend");
    Result<std::string> target = context_.onym(*linkend);
    if (!target) return std::move(target).error();
    Result<Inlines> children = child_inlines(open, notes);
    if (!children) return std::move(children).error();
    out.emplace_back(Inline::Deixis{std::string(footnote_symbol), std::move(target).value(), {}});
    for (Inline& child : *children) out.push_back(std::move(child));
    return {};
}

Result<std::vector<Inline>> DocbookConverter::child_inlines(const XmlOpen& open, Blocks& notes) {
    if (open.self_closing) return Inlines();
    return import_docbook_inlines(open.name, notes);
}

Result<std::string> DocbookConverter::literal_text(const XmlOpen& open) {
    if (open.self_closing) return std::string();
    return tokens_.text_only(open.name);
}

Result<std::optional<std::string>> DocbookConverter::element_onym(const XmlOpen& open) const {
    const auto id = attribute_value(open.attrs, "xml:id");
    if (!id) return std::optional<std::string>();
    Result<std::string> onym = context_.onym(*id);
    if (!onym) return std::move(onym).error();
    return std::optional<std::string>(std::move(onym).value());
}

Error DocbookConverter::unsupported(const XmlToken& token, std::string_view where) const {
    return context_.error(joined({"unsupported ", format_xml_token(token), " ", where}));
}

}  // namespace ilvex
