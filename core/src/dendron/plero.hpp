// Plerographic rendering: the document with every sim written by name in
// braces, the names optionally taken from a language's glossa.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "dendron/writer.hpp"
#include "dialektos/model.hpp"
#include "dialektos/result.hpp"

namespace ilvex {

// The plerographic text of `document` (left unchanged), whose sims come from
// `dialektos`. With `lang`, names come from the dialektos's glossa for it,
// which must exist; a sim it has no entry for keeps its own name. The
// children of an Englossis block are named through the dialektos that
// `resolve` gives for its id (through that one's glossa for `lang` when it
// has one, by primary names otherwise); without `resolve` they keep their
// symbols. Axioma bodies keep their symbols.
Result<std::string> render_plero(const Document& document, const Dialektos& dialektos,
                                 std::optional<std::string_view> lang, const ResolveDialektos& resolve = {});

// Fails when `lang` is given and the dialektos has no glossa for it.
Status require_glossa(const Dialektos& dialektos, std::optional<std::string_view> lang);

// Rewrites the sim symbols of a block list in place as "{name}".
Status localize_blocks(std::vector<Block>& blocks, const Dialektos& dialektos, std::optional<std::string_view> lang,
                       const ResolveDialektos& resolve = {});

// Rewrites the sim symbols of an inline list in place as "{name}".
Status localize_inlines(std::vector<Inline>& inlines, const Dialektos& dialektos,
                        std::optional<std::string_view> lang);

// The dialektos and language the sims of a block list are named through; a
// null dialektos leaves them their symbols.
struct NamingContext {
    const Dialektos* dialektos = nullptr;
    std::optional<std::string_view> lang;
};

class Localizer;

// Names the sims of blocks handed over one at a time as a parse reads them,
// the way render_plero names a whole tree: a block with a body comes as
// `open` (before its children), its children, then `close`. Each call
// renames the symbols of the block it is given in place; `close` gets the
// container `open` named, with what its closing line holds added, and
// names only that. `dialektos` and `lang` must outlive it.
class StreamedLocalizer {
public:
    StreamedLocalizer(const Dialektos& dialektos, std::optional<std::string_view> lang, ResolveDialektos resolve);
    ~StreamedLocalizer();
    StreamedLocalizer(const StreamedLocalizer&) = delete;
    StreamedLocalizer& operator=(const StreamedLocalizer&) = delete;

    Status open(Block& container);
    Status block(Block& block);
    Status close(Block& container);
    // The names that the paragraph writer writes the sims of a paragraph
    // of the body being read by, as block() would name them; null where the
    // body keeps its symbols. Each naming context has one for the
    // localizer's life.
    SimNames* paragraph_names();

private:
    class BodyNames;
    // The names of a context, made at its first body.
    BodyNames* names_for(const NamingContext& context);

    ResolveDialektos resolve_;
    std::unique_ptr<Localizer> localizer_;
    std::vector<std::unique_ptr<BodyNames>> names_;
    std::vector<BodyNames*> bodies_;  // the body being read is the last; null keeps its symbols
};

// Replaces one sim symbol by "{name}": the glossa name for `lang` when the
// glossa has one, else the sim's own name. The name must lead back to this
// sim alone among all names and glossa names of the dialektos.
Status localize_sim_reference(std::string& symbol, const Dialektos& dialektos, std::optional<std::string_view> lang);

}  // namespace ilvex
