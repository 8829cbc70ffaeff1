#include "dialektos/resolution.hpp"

#include <algorithm>

#include "dialektos/definition_parser.hpp"
#include "dialektos/directory_source.hpp"
#include "dialektos/glossa.hpp"
#include "dialektos/path_text.hpp"
#include "dialektos/std_library.hpp"
#include "dialektos/std_parse_cache.hpp"
#include "dialektos/unicode.hpp"

namespace ilvex {
namespace {

struct FoundDefinition {
    std::string local_name;
    std::string local_text;                   // read from the source, so it may have glossae
    const StdDefinition* standard = nullptr;  // or the embedded definition, used exactly as stored

    std::string_view text() const { return standard ? standard->text : std::string_view(local_text); }
    // Made only when the text is parsed: a standard definition is mostly
    // served from its cached parse.
    std::string source_name() const { return standard ? std_source_name(standard->id) : local_name; }
};

// The definition of `id`: "<id>.lektos", else "<id>.dia", else the standard
// one; nothing when there is none.
Result<std::optional<FoundDefinition>> find_definition(const DefinitionSource& source, std::string_view id) {
    for (const char* extension : {".lektos", ".dia"}) {
        std::string name = std::string(id) + extension;
        auto text = read_definition(source, name);
        if (!text) return std::move(text).error();
        if (*text) return std::optional<FoundDefinition>(FoundDefinition{std::move(name), std::move(**text)});
    }
    if (const StdDefinition* standard = find_std_definition(id)) {
        return std::optional<FoundDefinition>(FoundDefinition{{}, {}, standard});
    }
    return std::optional<FoundDefinition>();
}

// Whether `source` holds no file that resolution would read for `id`, and
// reading found no fault either.
bool lacks_definition_files(const DefinitionSource& source, const std::string& id) {
    for (const char* extension : {".lektos", ".dia"}) {
        const auto text = source.read(id + extension);
        if (!text || *text) return false;
    }
    return true;
}

// The process-wide parse of the standard definition `id`, whose own files
// `source` lacks, when parsing its text here would give that same dialektos:
// no other id it imports, directly or not, has a file in `source` that would
// be read instead or is being parsed (a cycle), and the stack is shallow
// enough for its longest import chain. Null otherwise, and then parsing the
// text gives the dialektos or error due.
const Dialektos* reusable_std_parse(const DefinitionSource& source, const StdDefinition& definition,
                                    ResolutionStack& stack) {
    const std::string_view id = definition.id;
    const StdParse* parse = std_parse(definition);
    if (!parse || stack.depth() + parse->height > ResolutionStack::max_depth) return nullptr;
    for (const std::string& imported : parse->closure) {
        if (imported == id) continue;
        if (stack.contains(imported) || !lacks_definition_files(source, imported)) return nullptr;
    }
    stack.note_import(parse->height);
    return &parse->dialektos;
}

// The language of a glossa file name "<id>.<lang>.glossa", whose prefix
// "<id>." is known to match: a non-empty part without ".".
std::optional<std::string_view> glossa_language(std::string_view name, std::size_t prefix_length) {
    constexpr std::string_view suffix = ".glossa";
    if (name.size() <= prefix_length + suffix.size() || !name.ends_with(suffix)) return std::nullopt;
    const std::string_view lang = name.substr(prefix_length, name.size() - prefix_length - suffix.size());
    if (lang.find('.') != std::string_view::npos) return std::nullopt;
    return lang;
}

Status collect_glossae(const DefinitionSource& source, Dialektos& dialektos, ResolutionStack& stack) {
    const std::string prefix = dialektos.id + ".";
    const std::vector<std::string>& names = stack.listing(source);
    for (auto it = std::lower_bound(names.begin(), names.end(), prefix); it != names.end() && it->starts_with(prefix);
         ++it) {
        const auto lang = glossa_language(*it, prefix.size());
        if (!lang) continue;
        auto text = read_definition(source, *it);
        if (!text) return std::move(text).error();
        if (!*text) continue;
        auto glossa = parse_glossa(**text, dialektos, *lang);
        if (!glossa) return std::move(glossa).error();
        dialektos.glossae.emplace(std::string(*lang), std::move(*glossa));
    }
    return {};
}

}  // namespace

Result<std::optional<std::string>> read_definition(const DefinitionSource& source, std::string_view name) {
    auto text = source.read(name);
    if (text && *text) **text = unicode::nfc(**text);
    return text;
}

Result<const Dialektos*> resolve_kept_dialektos(const DefinitionSource& source, std::string_view id,
                                                ResolutionStack& stack) {
    if (stack.contains(id)) {
        return Error(ErrorKind::TransclusionCycle, "dialektos inheritance cycle through `" + std::string(id) + "`");
    }
    if (const Dialektos* known = stack.recall(source, id)) return known;
    auto found = find_definition(source, id);
    if (!found) return std::move(found).error();
    if (!*found) return Error(ErrorKind::UnresolvedDialektos, std::string(id));
    if (stack.depth() >= ResolutionStack::max_depth) {
        return Error(ErrorKind::InvalidDefinition,
                     "import chain deeper than " + std::to_string(ResolutionStack::max_depth) + " dialektoi");
    }
    const FoundDefinition& definition = **found;
    if (definition.standard) {
        if (const Dialektos* shared = reusable_std_parse(source, *definition.standard, stack)) return shared;
    }
    stack.push(std::string(id));
    auto parsed = parse_definition(definition.text(), definition.source_name(), id, source, stack);
    const std::size_t height = stack.pop();
    if (!parsed) return std::move(parsed).error();
    if (!definition.standard) {
        if (auto glossae = collect_glossae(source, *parsed, stack); !glossae) return std::move(glossae).error();
    }
    return &stack.remember(source, std::string(id), std::move(*parsed), height);
}

Result<Dialektos> resolve_dialektos(const DefinitionSource& source, std::string_view id, ResolutionStack& stack) {
    auto kept = resolve_kept_dialektos(source, id, stack);
    if (!kept) return std::move(kept).error();
    return **kept;
}

Result<Dialektos> resolve_from_dir(std::string_view dir, std::string_view id) {
    return resolve_from_sources(DirectorySource(std::string(dir)), id);
}

Result<Dialektos> resolve_from_sources(const DefinitionSource& source, std::string_view id) {
    ResolutionStack stack;
    return resolve_dialektos(source, id, stack);
}

Result<Dialektos> parse_definition_file(std::string_view text, std::string_view path) {
    const std::string id = file_stem(path);
    const DirectorySource source(parent_directory(path));
    ResolutionStack stack(id);
    return parse_definition(unicode::nfc(text), path, id, source, stack);
}

}  // namespace ilvex
