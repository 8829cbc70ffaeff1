// Small token-level steps that the TEI converters share.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "dialektos/result.hpp"
#include "endo/tei/tei_token_window.hpp"
#include "endo/xml/xml_token.hpp"

namespace ilvex {

// Whether the token is a `Text` that is empty once trimmed of white space.
bool is_blank_text(const XmlToken& token);

// The first index from `index` on that is not blank text.
std::size_t skip_blank_texts(TeiTokens& tokens, std::size_t index);

// Past the start tag at `open`, and past its end tag too when that follows
// at once (an empty element written as a pair); any content is left to the
// caller's walk.
std::size_t after_own_close(TeiTokens& tokens, std::size_t open);

// Past the element whose start tag is at `open`, its content and end tag
// included: what an element that is skipped whole takes. Fails as
// TeiTokens::skip does when the end tag never comes.
Result<std::size_t> after_element(TeiTokens& tokens, std::size_t open);

// Source text as running text holds it: entities decoded, white space runs
// collapsed to one space.
std::string tei_text(std::string_view raw);

}  // namespace ilvex
