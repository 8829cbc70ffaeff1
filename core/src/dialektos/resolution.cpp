#include "dialektos/resolution.hpp"

#include <optional>
#include <string>

#include "dialektos/definition_parser.hpp"

namespace ilvex {

Result<Dialektos> resolve_dialektos(const DefinitionSource& source, std::string_view id, ResolutionStack& stack) {
    if (stack.contains(id)) {
        return Error(ErrorKind::TransclusionCycle, "dialektos inheritance cycle through `" + std::string(id) + "`");
    }
    for (const char* extension : {".lektos", ".dia"}) {
        const std::string name = std::string(id) + extension;
        auto text = source.read(name);
        if (!text) return std::move(text).error();
        if (!*text) continue;
        stack.push(std::string(id));
        auto parsed = parse_definition(**text, name, id, source, stack);
        stack.pop();
        return parsed;
    }
    return Error(ErrorKind::UnresolvedDialektos, std::string(id));
}

}  // namespace ilvex
