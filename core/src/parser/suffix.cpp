#include "parser/suffix.hpp"

#include "dialektos/lexical.hpp"
#include "dialektos/unicode.hpp"

namespace ilvex {
namespace {

// A genos begins with a letter that is not uppercase, so ". Next", ".Next"
// and ".5" are text.
bool genos_starts_at(std::string_view text, std::size_t i) {
    if (i >= text.size()) return false;
    const char32_t c = unicode::next_char(text, i);
    return unicode::is_alphabetic(c) && !unicode::is_uppercase(c);
}

// The same character class as the genos rule itself, so that everything the
// rule could accept is taken into the run and then judged as a whole.
bool is_genos_run_char(char32_t c) {
    return c == '-' || (unicode::is_alphanumeric(c) && !unicode::is_uppercase(c));
}

std::string_view read_genos_run(InlineScanner& scanner) {
    const std::size_t start = scanner.pos;
    // Genoses are mostly ASCII, read here without decoding.
    while (!scanner.at_end()) {
        const char c = scanner.text[scanner.pos];
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-') {
            ++scanner.pos;
        } else if (static_cast<unsigned char>(c) < 0x80) {
            return scanner.text.substr(start, scanner.pos - start);
        } else {
            break;
        }
    }
    while (!scanner.at_end()) {
        std::size_t next = scanner.pos;
        if (!is_genos_run_char(unicode::next_char(scanner.text, next))) break;
        scanner.pos = next;
    }
    return scanner.text.substr(start, scanner.pos - start);
}

Status read_onym(InlineScanner& scanner, Suffix& suffix) {
    ++scanner.pos;  // "("
    const auto onym = read_until(scanner, ")");
    if (!onym) return error_here(scanner, Error(ErrorKind::Other, "unterminated onym suffix"));
    if (!is_valid_onym(*onym)) {
        return error_here(scanner, Error(ErrorKind::InvalidOnym, std::string(*onym)));
    }
    suffix.onym = std::string(*onym);
    return {};
}

}  // namespace

Status parse_suffix(InlineScanner& scanner, Suffix& suffix) {
    if (scanner.byte_is(scanner.pos, '(')) {
        if (auto status = read_onym(scanner, suffix); !status) return std::move(status).error();
    }
    while (!scanner.at_end()) {
        const char c = scanner.text[scanner.pos];
        if (c != '.') {
            if (c == '|') ++scanner.pos;
            break;
        }
        if (!genos_starts_at(scanner.text, scanner.pos + 1)) break;
        ++scanner.pos;
        const std::string_view genos = read_genos_run(scanner);
        if (!is_valid_genos(genos)) {
            return error_here(scanner, Error(ErrorKind::InvalidGenos, std::string(genos)));
        }
        // A parse that only validates keeps no inline item, nor its genoses.
        if (scanner.keep || scanner.flat != nullptr) suffix.genoses.emplace_back(genos);
    }
    return {};
}

Result<SuffixAndRest> parse_suffix_text(const ParserState& state, std::string_view text,
                                        std::uint64_t line_index) {
    if (text.empty()) return SuffixAndRest{};  // most closing lines end at their closer
    InlineScanner scanner{text, state.path, 0, line_index, state.backslash};
    Suffix suffix;
    if (Status read = parse_suffix(scanner, suffix); !read) return std::move(read).error();
    return SuffixAndRest{std::move(suffix), scanner.rest()};
}

}  // namespace ilvex
