#include "dendron/writer_forms.hpp"

#include <algorithm>
#include <variant>

#include "dendron/overloaded.hpp"
#include "dendron/writable_values.hpp"
#include "dendron/writer.hpp"
#include "dialektos/lexical.hpp"
#include "dialektos/unicode.hpp"

namespace ilvex::writing {

bool is_monosim_block(BlockKind kind) {
    switch (kind) {
        case BlockKind::Enmedia:
        case BlockKind::EnmediaDigest:
        case BlockKind::Anaphor:
        case BlockKind::AnaphorEnlexis:
        case BlockKind::AxiomaReference:
            return true;
        default:
            return false;
    }
}

const std::vector<Block>* body_of(const Block& block) {
    return std::visit(overloaded{
                          [](const Block::Para& x) { return &x.children; },
                          [](const Block::Diaphane& x) { return &x.children; },
                          [](const Block::Englossis& x) { return &x.children; },
                          [](const Block::ParaAxioma& x) { return &x.children; },
                          [](const auto&) -> const std::vector<Block>* { return nullptr; },
                      },
                      block.node);
}

bool writes_nothing(const Block& block) {
    const auto* paragraph = std::get_if<Block::Paragraph>(&block.node);
    return paragraph && std::all_of(paragraph->inlines.begin(), paragraph->inlines.end(), [](const Inline& item) {
               const auto* text = std::get_if<Inline::Text>(&item.node);
               return text && unicode::trim_start(text->text).empty();
           });
}

char32_t first_char(std::string_view text) {
    std::size_t i = 0;
    return text.empty() ? 0 : unicode::next_char(text, i);
}

bool continues_genos(char32_t c) {
    return c == '-' || (unicode::is_alphanumeric(c) && !unicode::is_uppercase(c));
}

bool looks_like_suffix(std::string_view text) {
    if (text.starts_with('(')) return true;
    if (!text.starts_with('.') || text.size() < 2) return false;
    std::size_t i = 1;
    const char32_t c = unicode::next_char(text, i);
    return unicode::is_alphabetic(c) && !unicode::is_uppercase(c);
}

bool prefix_related(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    return a.substr(0, n) == b.substr(0, n);
}

bool is_ascii_digits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

After after(const Inline& item) {
    const Suffix* suffix = std::visit(
        overloaded{
            [](const Inline::EndoSimmere& x) { return &x.suffix; },
            [](const Inline::Enlexis& x) { return &x.suffix; },
            [](const Inline::Diaphane& x) { return &x.suffix; },
            [](const Inline::Monosim& x) { return &x.suffix; },
            [](const Inline::Milestone& x) { return &x.suffix; },
            [](const Inline::Deixis& x) { return &x.suffix; },
            [](const auto&) -> const Suffix* { return nullptr; },
        },
        item.node);
    if (!suffix) return {};
    return {true, !suffix->genoses.empty(), suffix->empty()};
}

bool closer_joins_suffix(const After& previous, std::string_view closer) {
    if (!previous.reads_suffix || closer.empty()) return false;
    switch (closer.front()) {
        case '|': return true;
        case '(': return previous.empty_suffix;
        case '-': return previous.genoses;
        default: return false;
    }
}

std::string_view opener_of(const Inline& item, std::string& buffer) {
    auto sim = [&](const std::string& symbol) {
        buffer.assign(1, '@');
        buffer += symbol;
        return std::string_view(buffer);
    };
    return std::visit(overloaded{
                          [](const Inline::Text&) { return std::string_view(); },
                          [&](const Inline::EndoSimmere& x) { return sim(x.symbol); },
                          [](const Inline::Enlexis&) { return std::string_view("@@\""); },
                          [](const Inline::Diaphane&) { return std::string_view("@@."); },
                          [&](const Inline::Monosim& x) { return sim(x.symbol); },
                          [](const Inline::OnymAnchor&) { return std::string_view("@("); },
                          [](const Inline::Milestone&) { return std::string_view("@(\""); },
                          [&](const Inline::Deixis& x) { return sim(x.symbol); },
                          [](const Inline::EndoAxioma&) { return std::string_view("@@:"); },
                          [](const Inline::AxiomaReference& x) { return std::string_view(x.enlexis ? "@@+" : "@@("); },
                      },
                      item.node);
}

std::string lead_after_opener(const Inline::EndoSimmere& item) {
    // Most content begins with a letter or a space, which no symbol takes.
    if (!item.children.empty()) {
        const auto* text = std::get_if<Inline::Text>(&item.children.front().node);
        if (text && !text->text.empty()) {
            const auto first = static_cast<unsigned char>(text->text.front());
            if (first < 0x80 && !ascii_symbol_chars.contains(static_cast<char>(first))) return {};
        }
    }
    std::string lead;
    for (const Inline& child : item.children) {
        const auto* text = std::get_if<Inline::Text>(&child.node);
        if (!text) return lead + '|';
        const std::size_t run = symbol_run_length(text->text);
        lead.append(text->text, 0, run);
        if (run < text->text.size()) return lead;
    }
    return lead.append(episim_symbol(item.symbol, item.mirrored));
}

std::string opener_run(std::string_view symbol, const Taxis& taxis) {
    std::string run(symbol);
    if (taxis.state != Taxis::State::Absent) run += '(';
    return run;
}

std::string call_run(std::string_view symbol, std::string_view param, const Suffix& suffix) {
    std::string run(symbol);
    run += '(';
    run += param;
    run += ')';
    write_suffix(suffix, run);
    return run;
}

void write_taxis(const Taxis& taxis, std::string& out) {
    switch (taxis.state) {
        case Taxis::State::Empty:
            out += "()";
            break;
        case Taxis::State::Number:
            out += '(';
            out += std::to_string(taxis.number);
            out += ')';
            break;
        case Taxis::State::Absent:
            break;
    }
}

}  // namespace ilvex::writing
