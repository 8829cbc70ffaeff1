#include "dialektos/std_parse_cache.hpp"

#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>

#include "dialektos/definition_parser.hpp"
#include "dialektos/memory_source.hpp"
#include "dialektos/resolution_stack.hpp"
#include "dialektos/std_library.hpp"

namespace ilvex {
namespace {

struct Slot {
    std::once_flag built;
    std::optional<StdParse> parse;  // empty if the text failed to parse
};

Slot& slot_of(const StdDefinition& definition) {
    static const std::unique_ptr<Slot[]> slots = std::make_unique<Slot[]>(std_definitions().size());
    return slots[static_cast<std::size_t>(&definition - std_definitions().data())];
}

// Parses the embedded text the way resolution does from a source without
// files. Its imports resolve to their own cached parses, which are built
// first; the embedded definitions import one another without cycles, so this
// never waits on the parse being built.
std::optional<StdParse> build(const StdDefinition& definition) {
    const MemorySource no_files;
    ResolutionStack stack{std::string(definition.id)};
    auto parsed = parse_definition(definition.text, std_source_name(definition.id), definition.id, no_files, stack);
    const std::size_t height = stack.pop();
    if (!parsed) return std::nullopt;
    StdParse parse{std::move(*parsed), height, {std::string(definition.id)}, std::nullopt};
    for (const DialektosImport& imported : parse.dialektos.imports) {
        const StdParse* parent = std_parse(imported.dialektos);
        if (!parent) return std::nullopt;
        parse.closure.insert(parse.closure.end(), parent->closure.begin(), parent->closure.end());
    }
    std::sort(parse.closure.begin(), parse.closure.end());
    parse.closure.erase(std::unique(parse.closure.begin(), parse.closure.end()), parse.closure.end());
    return parse;
}

}  // namespace

const StdParse* std_parse(std::string_view id) {
    const StdDefinition* definition = find_std_definition(id);
    return definition ? std_parse(*definition) : nullptr;
}

const StdParse* std_parse(const StdDefinition& definition) {
    Slot& slot = slot_of(definition);
    std::call_once(slot.built, [&] {
        slot.parse = build(definition);
        // Built in place: the index refers to the dialektos it indexes.
        if (slot.parse) slot.parse->symbols.emplace(slot.parse->dialektos);
    });
    return slot.parse ? &*slot.parse : nullptr;
}

const SymbolIndex* std_symbol_index(const Dialektos& dialektos) {
    const StdParse* parse = std_parse(dialektos.id);
    return parse && &parse->dialektos == &dialektos ? &*parse->symbols : nullptr;
}

}  // namespace ilvex
