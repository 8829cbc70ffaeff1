// Glossa files: localized sim names of one dialektos in one language.
#pragma once

#include <string>
#include <string_view>

#include "dialektos/model.hpp"
#include "dialektos/result.hpp"

namespace ilvex {

// The InvalidDefinition error "glossa: " + message, without location.
Error glossa_error(std::string message);

// Parses the glossa `text` of `dialektos` for the language `lang`.
Result<Glossa> parse_glossa(std::string_view text, const Dialektos& dialektos, std::string_view lang);

}  // namespace ilvex
