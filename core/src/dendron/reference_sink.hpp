// Takes the references running text holds, as a parse reads them: the
// milestones, onym anchors, deixes and onyms of endo-simmeres an outline
// lists, so that it needs no tree of the text to find them.
#pragma once

#include <string_view>

namespace ilvex {

// The parse calls it in document order: an endo-simmere's onym after what
// its body holds, where the closer stands. Nothing of an axioma body (a block
// axioma or an endo-axioma) comes here, nor the onyms of the other inline
// items' suffixes.
class ReferenceSink {
public:
    virtual ~ReferenceSink() = default;
    virtual void milestone(std::string_view scheme, std::string_view value) = 0;
    virtual void onym(std::string_view onym) = 0;
    virtual void deixis(std::string_view symbol, std::string_view target) = 0;
};

}  // namespace ilvex
