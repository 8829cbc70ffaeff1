#include "dendron/writable_values.hpp"

#include <utility>

#include "dialektos/unicode.hpp"

namespace ilvex {
namespace {

constexpr std::string_view inline_closer = "\"@@";
constexpr std::string_view block_closer = "\"@@@";

bool closes_monad_enlexis(std::string_view line) {
    return unicode::trim_start(line).starts_with(block_closer);
}

std::string_view without_trailing_returns(std::string_view line) {
    while (line.ends_with('\r')) line.remove_suffix(1);
    return line;
}

// Calls `visit(line, has_newline)` for each line of `text`; a final line
// without "\n" is visited too, an empty rest after a final "\n" is not.
template <class Visit>
void for_each_line(std::string_view text, Visit visit) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            visit(text.substr(start), false);
            return;
        }
        visit(text.substr(start, end - start), true);
        start = end + 1;
    }
}

// `text` with every character for which `encode` holds percent-encoded as
// its UTF-8 bytes.
template <class Encode>
std::string percent_encoded(std::string_view text, Encode encode) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t start = i;
        const char32_t c = unicode::next_char(text, i);
        const std::string_view bytes = text.substr(start, i - start);
        if (!encode(c)) {
            out.append(bytes);
            continue;
        }
        for (const char b : bytes) {
            const auto byte = static_cast<unsigned char>(b);
            out.push_back('%');
            out.push_back(hex[byte >> 4]);
            out.push_back(hex[byte & 0xF]);
        }
    }
    return out;
}

// Whether the text can be one MonadEnlexis as it is.
bool is_plain_literal(std::string_view text) {
    bool plain = true;
    for_each_line(text, [&](std::string_view line, bool) {
        if (line.ends_with('\r') || closes_monad_enlexis(line)) plain = false;
    });
    return plain;
}

// literal_blocks of a text that is not plain: the runs of lines that need
// nothing, and each line that would close the block on its own.
std::vector<Block> split_literal_blocks(std::string_view text, const Suffix& suffix) {
    std::vector<Block> blocks;
    std::string run;
    // A run of lines that were only carriage returns is empty, yet it is a
    // block: dropping it would leave its place empty.
    bool in_run = false;
    const auto flush_run = [&] {
        if (!in_run) return;
        blocks.emplace_back(Block::MonadEnlexis{std::move(run), suffix});
        run.clear();
        in_run = false;
    };
    for_each_line(text, [&](std::string_view line, bool has_newline) {
        line = without_trailing_returns(line);
        if (closes_monad_enlexis(line)) {
            flush_run();
            blocks.emplace_back(Block::Paragraph{literal_inlines(line)});
            return;
        }
        in_run = true;
        run += line;
        if (has_newline) run += '\n';
    });
    flush_run();
    return blocks;
}

// A plain text becomes its block as it is: copied from a view, moved from
// a string the caller gives up.
template <class Text>
std::vector<Block> literal_blocks_of(Text&& text, const Suffix& suffix) {
    if (!is_plain_literal(text)) return split_literal_blocks(text, suffix);
    std::vector<Block> blocks;
    blocks.emplace_back(Block::MonadEnlexis{std::string(std::forward<Text>(text)), suffix});
    return blocks;
}

}  // namespace

std::string writable_parameter(std::string_view text) {
    return percent_encoded(text, [](char32_t c) { return unicode::is_whitespace(c); });
}

std::string writable_inline_parameter(std::string_view text) {
    return percent_encoded(text, [](char32_t c) { return c == ')' || unicode::is_whitespace(c); });
}

std::vector<Inline> literal_inlines(std::string_view text) {
    std::vector<Inline> pieces;
    std::size_t start = 0;
    for (std::size_t quote = text.find(inline_closer); quote != std::string_view::npos;
         quote = text.find(inline_closer, start)) {
        pieces.emplace_back(Inline::Enlexis{std::string(text.substr(start, quote + 1 - start)), {}});
        start = quote + 1;
    }
    pieces.emplace_back(Inline::Enlexis{std::string(text.substr(start)), {}});
    return pieces;
}

std::vector<Block> literal_blocks(std::string_view text, const Suffix& suffix) {
    return literal_blocks_of(text, suffix);
}

std::vector<Block> literal_blocks(std::string&& text, const Suffix& suffix) {
    return literal_blocks_of(std::move(text), suffix);
}

}  // namespace ilvex
