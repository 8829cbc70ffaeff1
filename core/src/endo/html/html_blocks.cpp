// The block converters: what may stand at block level, in the body of a
// division, a block quotation or a list item.
#include <string>
#include <utility>
#include <variant>

#include "dendron/writable_values.hpp"
#include "dialektos/unicode.hpp"
#include "endo/html/html_converter.hpp"
#include "endo/html/html_text.hpp"
#include "endo/tree_builders.hpp"
#include "endo/xml/xml_entities.hpp"
#include "endo/xml/xml_walk.hpp"

namespace ilvex {
namespace {

Block::Para para(std::string_view symbol, bool mirrored = true) {
    return Block::Para{mirrored, std::string(symbol), {}, {}, {}, {}, Taxis::absent()};
}

// 1 to 6 for "h" and a number from 1 to 6 ("h2", "h02", "h+2"), else 0.
std::size_t heading_level(std::string_view name) {
    if (!name.starts_with('h')) return 0;
    const std::optional<std::uint64_t> level = read_html_number(name.substr(1));
    return level && *level >= 1 && *level <= 6 ? static_cast<std::size_t>(*level) : 0;
}

// The running text of a heading, paragraph or list item element.
Result<std::vector<Inline>> running_inlines(HtmlConverter& converter, const XmlOpen& open) {
    Result<InlineRun> run = import_html_element_inlines(converter, open, false);
    if (!run) return std::move(run).error();
    std::vector<Inline> inlines = std::move(run).value().inlines();
    as_running_text(inlines);
    return inlines;
}

// An item holds running text when it begins with text or with one of the
// inline elements that may open it; otherwise it holds blocks.
bool starts_inline_content(const XmlToken* first) {
    if (first == nullptr) return false;
    if (const auto* text = std::get_if<XmlText>(first)) return !is_white_space_only(text->text);
    const auto* open = std::get_if<XmlOpen>(first);
    return open && (open->name == "em" || open->name == "span" || open->name == "code" || open->name == "strong");
}

Result<std::vector<Block>> import_html_list_item(HtmlConverter& converter, const XmlOpen& item) {
    if (item.self_closing) return std::vector<Block>();
    if (!starts_inline_content(converter.tokens.peek())) {
        Result<NestingDepth::Level> level = converter.context.enter();
        if (!level) return std::move(level).error();
        return import_html_blocks(converter, "li");
    }
    Result<std::vector<Inline>> inlines = running_inlines(converter, item);
    if (!inlines) return std::move(inlines).error();
    std::vector<Block> blocks;
    blocks.emplace_back(Block::Paragraph{std::move(inlines).value()});
    return blocks;
}

// An ordered item is numbered by its value when that is a number, else by
// its position: an explicit value does not renumber the items after it.
Taxis item_number(const XmlOpen& item, std::uint64_t position) {
    if (const auto value = attribute_value(item.attrs, "value")) {
        if (const auto number = read_html_number(*value)) return Taxis::of(*number);
    }
    return Taxis::of(position);
}

Result<Block> list_block(HtmlConverter& converter, const XmlOpen& open) {
    Block::Para list = *html_block_container(open);
    if (open.self_closing) return Block(std::move(list));
    Result<NestingDepth::Level> level = converter.context.enter();
    if (!level) return std::move(level).error();
    for (;;) {
        Result<std::optional<Block>> item = next_html_list_item(converter, open, list.children.size());
        if (!item) return std::move(item).error();
        if (!item.value()) return Block(std::move(list));
        list.children.push_back(std::move(*item.value()));
    }
}

bool opens_verse(const std::vector<std::string_view>& words) {
    return !words.empty() && (words.front() == "verse" || words.front() == "table");
}

// A division whose first class word is "verse" or "table": the word goes,
// and "table" comes back as the last genos.
Result<Block> verse_division_block(HtmlConverter& converter, const XmlOpen& open) {
    std::vector<std::string_view> words = html_class_words(open.attrs);
    const bool table = words.front() == "table";
    words.erase(words.begin());
    std::vector<std::string> genoses = html_class_genoses(words);
    if (table) genoses.emplace_back("table");
    Taxis taxis = Taxis::absent();
    if (const auto value = attribute_value(open.attrs, "data-taxis")) {
        if (const auto number = read_html_number(*value)) taxis = Taxis::of(*number);
    }
    return import_html_verse_division(converter, open, taxis, std::move(genoses));
}

Result<Block> container_block(HtmlConverter& converter, const XmlOpen& open, Block::Para container) {
    if (open.self_closing) return Block(std::move(container));
    Result<NestingDepth::Level> level = converter.context.enter();
    if (!level) return std::move(level).error();
    Result<std::vector<Block>> children = import_html_blocks(converter, open.name);
    if (!children) return std::move(children).error();
    container.children = std::move(children).value();
    return Block(std::move(container));
}

// The text of a pre element, or of the one code element it holds, kept as
// it stands; a last line without its line feed gets one.
Result<Block> preformatted_block(HtmlConverter& converter, const XmlOpen& open) {
    std::string text;
    if (!open.self_closing) {
        HtmlTokens& tokens = converter.tokens;
        bool code_open = false;
        if (const XmlToken* next = tokens.peek(); is_html_open(next, "code")) {
            code_open = !std::get<XmlOpen>(*next).self_closing;
            tokens.skip();
        }
        while (const XmlToken* next = tokens.peek()) {
            const auto* piece = std::get_if<XmlText>(next);
            if (piece == nullptr) break;
            text += decode_xml_entities(piece->text);
            tokens.skip();
        }
        if (code_open) {
            if (!is_html_close(tokens.peek(), "code")) return converter.error("unclosed `<code>` in `<pre>`");
            tokens.skip();
        }
        if (!is_html_close(tokens.peek(), "pre")) return converter.error("unclosed `<pre>`");
        tokens.skip();
    }
    if (!text.empty() && !text.ends_with('\n')) text += '\n';
    return Block(Block::MonadEnlexis{std::move(text), {}});
}

Result<Block> image_block(HtmlConverter& converter, const XmlOpen& open) {
    const std::optional<std::string_view> src = attribute_value(open.attrs, "src");
    if (!src) return converter.error("img without src");
    if (!open.self_closing && is_html_close(converter.tokens.peek(), "img")) converter.tokens.skip();
    return Block(Block::Enmedia{writable_parameter(*src)});
}

Result<Block> block_element(HtmlConverter& converter, const XmlOpen& open) {
    if (const std::size_t level = heading_level(open.name)) {
        Result<std::vector<Inline>> inlines = running_inlines(converter, open);
        if (!inlines) return std::move(inlines).error();
        return single_sim_paragraph(std::string(level, '#'), std::move(inlines).value());
    }
    if (open.name == "p") {
        Result<std::vector<Inline>> inlines = running_inlines(converter, open);
        if (!inlines) return std::move(inlines).error();
        return Block(Block::Paragraph{std::move(inlines).value()});
    }
    if (open.name == "ul" || open.name == "ol") return list_block(converter, open);
    if (auto container = html_block_container(open)) return container_block(converter, open, std::move(*container));
    if (open.name == "div") return verse_division_block(converter, open);
    if (open.name == "pre") return preformatted_block(converter, open);
    if (open.name == "img") return image_block(converter, open);
    return converter.error("unsupported element at block level: `<" + open.name + ">`");
}

}  // namespace

Result<std::optional<Block>> next_html_list_item(HtmlConverter& converter, const XmlOpen& list,
                                                 std::uint64_t count) {
    const bool ordered = list.name == "ol";
    for (;;) {
        std::optional<XmlToken> token = converter.tokens.take();
        if (token) {
            if (const auto* text = std::get_if<XmlText>(&*token); text && is_white_space_only(text->text)) continue;
            if (const auto* close = std::get_if<XmlClose>(&*token); close && close->name == list.name) {
                return std::optional<Block>();
            }
        }
        const auto* item = token ? std::get_if<XmlOpen>(&*token) : nullptr;
        if (item == nullptr || item->name != "li") {
            return converter.error("expected `<li>` or `</" + list.name + ">`");
        }
        Block::Para entry = para(ordered ? "." : "-");
        if (ordered) entry.taxis = item_number(*item, count + 1);
        Result<std::vector<Block>> children = import_html_list_item(converter, *item);
        if (!children) return std::move(children).error();
        entry.children = std::move(children).value();
        return std::optional<Block>(std::move(entry));
    }
}

std::optional<Block::Para> html_block_container(const XmlOpen& open) {
    if (open.name == "ul") return para("--");
    if (open.name == "ol") return para("..");
    if (open.name == "blockquote") return para(">", false);
    if (open.name != "div") return std::nullopt;
    const std::vector<std::string_view> words = html_class_words(open.attrs);
    if (opens_verse(words)) return std::nullopt;
    Block::Para division = para("_");
    division.suffix.genoses = html_class_genoses(words);
    return division;
}

Error HtmlConverter::unclosed(std::string_view name) const {
    return error("unclosed `<" + std::string(name) + ">`");
}

Error HtmlConverter::unexpected_close(std::string_view name) const {
    return error("unexpected `</" + std::string(name) + ">`");
}

Result<std::optional<Block>> next_html_block(HtmlConverter& converter, std::optional<std::string_view> end) {
    for (;;) {
        const std::optional<XmlToken> token = converter.tokens.take();
        if (!token) {
            if (end) return converter.unclosed(*end);
            return std::optional<Block>();
        }
        if (const auto* text = std::get_if<XmlText>(&*token)) {
            if (is_white_space_only(text->text)) continue;
            return converter.error("bare text at block level: `" + std::string(unicode::trim(text->text)) + "`");
        }
        if (const auto* close = std::get_if<XmlClose>(&*token)) {
            if (end && close->name == *end) return std::optional<Block>();
            return converter.unexpected_close(close->name);
        }
        Result<Block> block = block_element(converter, std::get<XmlOpen>(*token));
        if (!block) return std::move(block).error();
        return std::optional<Block>(std::move(block).value());
    }
}

Result<std::vector<Block>> import_html_blocks(HtmlConverter& converter, std::string_view end) {
    std::vector<Block> blocks;
    for (;;) {
        Result<std::optional<Block>> next = next_html_block(converter, end);
        if (!next) return std::move(next).error();
        if (!next.value()) return blocks;
        blocks.push_back(std::move(*next.value()));
    }
}

}  // namespace ilvex
