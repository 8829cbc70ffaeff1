// The block and inline converters of the DocBook importer. Each is given the
// tokens just after an element's start tag and reads through that element's
// end tag. A title is left as a marked paragraph of its inlines: the root or
// section around it takes the first one (the document title, the section's
// lemma), and every other stays the plain paragraph the mark leaves.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "dialektos/result.hpp"
#include "endo/docbook/docbook_tokens.hpp"
#include "endo/import_context.hpp"
#include "endo/placeholder_marks.hpp"

namespace ilvex {

class DocbookConverter {
public:
    DocbookConverter(DocbookTokens& tokens, ImportContext& context) : tokens_(tokens), context_(context) {}

    // An element that becomes a Para of its blocks.
    struct Container;

    // Called after each element of a block list has been added to it.
    using Progress = std::function<void(MarkedBlocks&)>;

    // The blocks of element `end` into `out`, through its end tag.
    Status import_docbook_blocks(std::string_view end, MarkedBlocks& out, const Progress& progress = {});

private:
    using Inlines = std::vector<Inline>;
    using Blocks = std::vector<Block>;

    Status block_element(const XmlOpen& open, MarkedBlocks& out);
    Status info(MarkedBlocks& out);
    Status title(const XmlOpen& open, MarkedBlocks& out);
    Status paragraph(const XmlOpen& open, MarkedBlocks& out);
    Status section(const XmlOpen& open, MarkedBlocks& out);
    Status container(const XmlOpen& open, const Container& kind, MarkedBlocks& out);
    Status program_listing(const XmlOpen& open, MarkedBlocks& out);
    // The content of a block element; none for a self-closing one.
    Status child_blocks(const XmlOpen& open, MarkedBlocks& out);

    // The inlines of element `end` through its end tag; the bodies of the
    // footnotes met in them go to `notes`.
    Result<Inlines> import_docbook_inlines(std::string_view end, Blocks& notes);
    Status inline_element(const XmlOpen& open, Inlines& out, Blocks& notes);
    Status link(const XmlOpen& open, Inlines& out, Blocks& notes);
    Status inline_footnote(const XmlOpen& open, Inlines& out, Blocks& notes);
    Status footnote_reference(const XmlOpen& open, Inlines& out, Blocks& notes);
    // The content of an inline element; none for a self-closing one.
    Result<Inlines> child_inlines(const XmlOpen& open, Blocks& notes);
    Result<std::string> literal_text(const XmlOpen& open);

    // The xml:id of an element as an onym, nothing without one.
    Result<std::optional<std::string>> element_onym(const XmlOpen& open) const;
    Error unsupported(const XmlToken& token, std::string_view where) const;

    DocbookTokens& tokens_;
    ImportContext& context_;
    std::uint64_t footnotes_ = 0;  // inline footnotes met so far, in the whole document
};

// When the first of `blocks` is a title, takes it out and gives its inlines
// as they stand in a lemma or the document title: literal text put on one
// line, which a lemma must be. Otherwise gives nothing.
std::optional<std::vector<Inline>> take_docbook_title(MarkedBlocks& blocks);

}  // namespace ilvex
