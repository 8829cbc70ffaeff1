#include "dialektos/definition_text.hpp"

#include "dialektos/unicode.hpp"

namespace ilvex {

DefinitionLines::DefinitionLines(std::string_view text) {
    std::size_t start = 0;
    while (true) {
        const auto end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines_.push_back(text.substr(start));
            return;
        }
        lines_.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

std::string_view DefinitionLines::trimmed(std::size_t index) const {
    return unicode::trim(lines_[index]);
}

Error DefinitionText::at_line(Error error, std::size_t index) const {
    return std::move(error).at(std::string(source_name), index + 1);
}

Error DefinitionText::invalid(std::size_t index, std::string message) const {
    return at_line(Error(ErrorKind::InvalidDefinition, std::move(message)), index);
}

std::string quoted(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '`';
    out += text;
    out += '`';
    return out;
}

std::vector<std::string_view> split_words(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    std::size_t word_start = std::string_view::npos;
    while (i < text.size()) {
        const std::size_t at = i;
        const bool space = unicode::is_whitespace(unicode::next_char(text, i));
        if (space && word_start != std::string_view::npos) {
            words.push_back(text.substr(word_start, at - word_start));
            word_start = std::string_view::npos;
        } else if (!space && word_start == std::string_view::npos) {
            word_start = at;
        }
    }
    if (word_start != std::string_view::npos) words.push_back(text.substr(word_start));
    return words;
}

}  // namespace ilvex
