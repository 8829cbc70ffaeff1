#include "dialektos/error.hpp"

#include <string_view>

namespace ilvex {
namespace {

// Message templates indexed by kind number. "{}" stands for the payload;
// the two two-part kinds are written out in kind_message.
constexpr std::string_view templates[error_kind_count] = {
    "input is not valid UTF-8",
    "missing dialektos declaration on the first content line",
    "cannot resolve dialektos `{}`: no local .lektos/.dia file",
    "invalid dialektos declaration: {}",
    "mixed sigils in one document",
    "sigil run of {} characters (maximum is four)",
    "undefined sim `{}`",
    "unmatched sim `{}` (episim not found)",
    "unmatched episim `{}`",
    "endo-simmere formatted to mimic a para-simmere",
    "monosim parameter contains whitespace: `{}`",
    "invalid onym identifier `{}`",
    "invalid genos identifier `{}`",
    "axioma reference `{}` precedes its definition (or is never defined)",
    "deixis reference `{}` is not a declared onym",
    "",  // DeixisTargetMismatch: two placeholders
    "axioma-enlexis reference `{}` targets a standalone onym anchor",
    "axioma-enlexis reference `{}` would include a para-simmere in endo-context",
    "anaphor (file transclusion) form in endo-context",
    "missing or unreadable resource: {}",
    "transclusion cycle through {}",
    "{}",
    "",  // InconsistentTaxis: two placeholders
    "conflicting definitions for sim symbol `{}`",
    "invalid dialektos definition: {}",
    "invalid exomorphosis definition: {}",
    "invalid morphism definition: {}",
    "cannot resolve morphism `{}`: no .hom/.iso file and no derivable embedding",
    "sims with no mapping under the morphism: {}",
    "morphism is not total over its source dialektos; unaccounted sims (map, group, or drop "
    "explicitly with @--): {}",
    "ambiguous morphism route; add a direct morphism or morph explicitly through an "
    "intermediate: {}",
    "cannot resolve exomorphosis `{}`: no local or standard .exo file",
    "no exomorphosis rule matches `{}` (and no default)",
    "ambiguous exomorphosis rules of equal specificity for `{}`",
    "{}",
    "I/O error: {}",
};

std::string payload_text(const ErrorPayload& payload) {
    if (const auto* text = std::get_if<std::string>(&payload)) return *text;
    if (const auto* count = std::get_if<std::uint64_t>(&payload)) return std::to_string(*count);
    return {};
}

void append_kind_message(std::string& out, const Error& error) {
    if (error.kind == ErrorKind::DeixisTargetMismatch) {
        const auto* parts = std::get_if<std::pair<std::string, std::string>>(&error.payload);
        const std::string symbol = parts ? parts->first : std::string();
        const std::string target = parts ? parts->second : std::string();
        out += "deixis `@" + symbol + "(" + target + ")` does not point at a `@" + symbol +
               "` simmere";
        return;
    }
    if (error.kind == ErrorKind::InconsistentTaxis) {
        const auto* counts = std::get_if<std::pair<std::uint64_t, std::uint64_t>>(&error.payload);
        out += "inconsistent taxis: expected ";
        out += std::to_string(counts ? counts->first : 0);
        out += ", found ";
        out += std::to_string(counts ? counts->second : 0);
        return;
    }
    const std::string_view tmpl = templates[static_cast<int>(error.kind)];
    const auto hole = tmpl.find("{}");
    if (hole == std::string_view::npos) {
        out += tmpl;
        return;
    }
    out += tmpl.substr(0, hole);
    out += payload_text(error.payload);
    out += tmpl.substr(hole + 2);
}

}  // namespace

std::string location_prefix(const ErrorLocation& location) {
    return location.path + ":" + std::to_string(location.line) + ":" +
           std::to_string(location.column);
}

std::string error_message(const Error& error) {
    std::string out;
    if (error.location) {
        out += location_prefix(*error.location);
        out += ": ";
    }
    append_kind_message(out, error);
    if (!error.included_via.empty()) {
        out += " (included via ";
        for (auto it = error.included_via.rbegin(); it != error.included_via.rend(); ++it) {
            if (it != error.included_via.rbegin()) out += " -> ";
            out += *it;
        }
        out += ")";
    }
    return out;
}

}  // namespace ilvex
