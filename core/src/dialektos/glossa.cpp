#include "dialektos/glossa.hpp"

#include <map>

#include "dialektos/definition_text.hpp"
#include "dialektos/lexical.hpp"
#include "dialektos/unicode.hpp"

namespace ilvex {
namespace {

// Checks the pair line "@=<dialektos>=><lang>".
Status check_pair(std::string_view line, const Dialektos& dialektos, std::string_view lang) {
    if (!line.starts_with("@=")) {
        return glossa_error("expected the `@=<dialektos>=><lang>` pair, found " + quoted(line));
    }
    const std::string_view pair = line.substr(2);
    const auto arrow = pair.find("=>");
    if (arrow == std::string_view::npos) return glossa_error("malformed pair " + quoted(line) + " (expected `=>`)");
    if (unicode::trim(pair.substr(0, arrow)) != dialektos.id || unicode::trim(pair.substr(arrow + 2)) != lang) {
        return glossa_error("pair " + quoted(line) + " does not match `" + dialektos.id + "." + std::string(lang) +
                            "`");
    }
    return {};
}

// Byte index of the first White_Space character of `text`, and its length.
std::optional<std::pair<std::size_t, std::size_t>> first_whitespace(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t at = i;
        if (unicode::is_whitespace(unicode::next_char(text, i))) return std::pair{at, i - at};
    }
    return std::nullopt;
}

class GlossaBuilder {
public:
    explicit GlossaBuilder(const Dialektos& dialektos) : dialektos_(dialektos) {}

    // Adds the entry line "@<symbol> <name>".
    Status add(std::string_view line) {
        if (!line.starts_with('@')) return glossa_error("unexpected line: " + quoted(line));
        const auto space = first_whitespace(line);
        if (!space) return glossa_error("malformed name line: " + quoted(line));
        const std::string symbol(line.substr(1, space->first - 1));
        const std::string name(unicode::trim(line.substr(space->first + space->second)));
        if (!is_valid_name(name)) {
            return glossa_error("name " + quoted(name) + " for " + quoted(symbol) +
                                ": letters, digits, and hyphens only, beginning and ending alphanumeric");
        }
        if (!dialektos_.sims.contains(symbol)) {
            return glossa_error(quoted(symbol) + " is not defined in dialektos " + quoted(dialektos_.id));
        }
        if (glossa_.contains(symbol)) return glossa_error("duplicate entry for " + quoted(symbol));
        const auto [owner, fresh] = symbol_of_name_.try_emplace(name, symbol);
        if (!fresh) {
            return glossa_error("name " + quoted(name) + " is shared by " + quoted(owner->second) + " and " +
                                quoted(symbol));
        }
        glossa_.emplace(symbol, name);
        return {};
    }

    Glossa take() { return std::move(glossa_); }

private:
    const Dialektos& dialektos_;
    Glossa glossa_;
    std::map<std::string, std::string, std::less<>> symbol_of_name_;
};

}  // namespace

Error glossa_error(std::string message) { return Error(ErrorKind::InvalidDefinition, "glossa: " + message); }

Result<Glossa> parse_glossa(std::string_view text, const Dialektos& dialektos, std::string_view lang) {
    const DefinitionLines lines(text);
    const std::size_t declaration = lines.raw(0).starts_with("#!") ? 1 : 0;
    if (declaration >= lines.size() || lines.trimmed(declaration) != "@@@!ilvex-glossa") {
        return glossa_error("missing `@@@!ilvex-glossa` declaration");
    }
    bool paired = false;
    GlossaBuilder builder(dialektos);
    for (std::size_t index = declaration + 1; index < lines.size(); ++index) {
        const std::string_view line = lines.trimmed(index);
        if (line.empty() || line.starts_with("@@/")) continue;
        Status status = paired ? builder.add(line) : check_pair(line, dialektos, lang);
        if (!status) return std::move(status).error();
        paired = true;
    }
    if (!paired) return glossa_error("missing pair declaration");
    return builder.take();
}

}  // namespace ilvex
