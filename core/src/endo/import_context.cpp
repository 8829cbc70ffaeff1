#include "endo/import_context.hpp"

#include "dialektos/lexical.hpp"

namespace ilvex {
namespace {

Error invalid_identifier(const ImportContext& context, std::string_view text) {
    std::string message = "invalid identifier `";
    message += text;
    message += '`';
    return context.error(message);
}

}  // namespace

std::optional<NestingDepth::Level> NestingDepth::enter() {
    if (open_ >= max_import_nesting) return std::nullopt;
    return Level(*this);
}

Result<NestingDepth::Level> ImportContext::enter() {
    std::optional<NestingDepth::Level> level = nesting.enter();
    if (!level) {
        return error("nesting deeper than " + std::to_string(max_import_nesting) + " levels");
    }
    return std::move(*level);
}

Result<std::string> ImportContext::onym(std::string_view text) const {
    if (!is_valid_onym(text)) return invalid_identifier(*this, text);
    return std::string(text);
}

Status ImportContext::check_milestone(std::string_view scheme, std::string_view value) const {
    if (!is_valid_genos(scheme)) return invalid_identifier(*this, scheme);
    if (!is_valid_milestone_value(value)) return invalid_identifier(*this, value);
    return {};
}

}  // namespace ilvex
