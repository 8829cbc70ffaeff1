#include "endo/tei/tei_milestone.hpp"

#include "dialektos/lexical.hpp"
#include "dialektos/unicode.hpp"
#include "endo/xml/xml_walk.hpp"

namespace ilvex {
namespace {

constexpr std::size_t max_n_length = 24;

// The edition a resp or ed attribute names, lower-cased, when it can be a
// scheme. A resp is a pointer ("#ed1") to the edition's id.
std::optional<std::string> edition_of(const std::vector<XmlAttribute>& attrs) {
    std::string edition;
    if (const auto resp = attribute_value(attrs, "resp")) {
        std::string_view id = *resp;
        while (id.starts_with('#')) id.remove_prefix(1);
        edition = unicode::ascii_lowercase(id);
        if (is_valid_genos(edition)) return edition;
    }
    const auto ed = attribute_value(attrs, "ed");
    if (!ed || ed->size() < 2) return std::nullopt;
    edition = unicode::ascii_lowercase(*ed);
    if (!is_valid_genos(edition)) return std::nullopt;
    return edition;
}

std::optional<std::string> unit_of(const std::vector<XmlAttribute>& attrs) {
    const auto unit = attribute_value(attrs, "unit");
    if (!unit) return std::nullopt;
    std::string out = unicode::ascii_lowercase(*unit);
    for (char& c : out) {
        if (c == '_') c = '-';
    }
    if (!is_valid_genos(out)) return std::nullopt;
    return out;
}

void replace_all(std::string& text, std::string_view from, std::string_view to) {
    std::string out;
    std::size_t start = 0;
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, start)) {
        out.append(text, start, at - start);
        out += to;
        start = at + from.size();
    }
    out.append(text, start);
    text = std::move(out);
}

std::string milestone_value(std::string_view n) {
    std::string slug;
    slugify(unicode::trim(n), slug);
    const std::size_t first = slug.find_first_not_of("-.");
    if (first == std::string::npos) return {};
    slug = slug.substr(first, slug.find_last_not_of("-.") - first + 1);
    replace_all(slug, ".-", "-");
    replace_all(slug, "-.", "-");
    std::string value;
    for (const char c : slug) {
        if (c == '-' && !value.empty() && value.back() == '-') continue;
        value += c;
    }
    return value;
}

}  // namespace

void slugify(std::string_view text, std::string& out) {
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t start = i;
        const char32_t c = unicode::next_char(text, i);
        const bool kept = c == '-' || c == '.' || c == ':' || c == '_' ||
                          (!unicode::is_whitespace(c) && unicode::is_alphanumeric(c));
        if (kept) {
            out.append(text.substr(start, i - start));
        } else {
            out += '-';
        }
    }
}

std::optional<Inline> import_tei_milestone(std::string_view n, const std::vector<XmlAttribute>& attrs) {
    const std::optional<std::string> edition = edition_of(attrs);
    const std::optional<std::string> unit = unit_of(attrs);
    Inline::Milestone milestone;
    milestone.scheme = edition ? *edition : unit ? *unit : "milestone";
    if (edition && unit) milestone.suffix.genoses.push_back(*unit);
    milestone.value = milestone_value(n);
    if (milestone.scheme == "card") {
        milestone.scheme = "perseus";
        milestone.value = "card:" + milestone.value;
        milestone.suffix.genoses = {"card"};
    }
    if (!is_valid_milestone_value(milestone.value)) return std::nullopt;
    return Inline(std::move(milestone));
}

std::optional<Inline> tei_milestone_element(const XmlOpen& open) {
    const auto n = attribute_value(open.attrs, "n");
    if (!n || unicode::char_count(unicode::trim(*n)) > max_n_length) return std::nullopt;
    return import_tei_milestone(*n, open.attrs);
}

}  // namespace ilvex
