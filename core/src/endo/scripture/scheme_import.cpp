#include "endo/scripture/scheme_import.hpp"

#include <utility>

#include "dialektos/lexical.hpp"
#include "endo/scripture/scheme_pass.hpp"

namespace ilvex {
namespace {

// Takes an import and keeps nothing: an invalid scheme is reported only
// once the import has shown it has no error of its own.
class DiscardingSink final : public ImportSink {
public:
    Status declaration(std::string_view, const std::optional<std::string>&) override { return {}; }

private:
    void accept(Block&&) override {}
};

}  // namespace

Status SchemeSink::declaration(std::string_view dialektos, const std::optional<std::string>& version) {
    return target_.declaration(dialektos, version);
}

void SchemeSink::pass_on(Block&& block, bool move) {
    apply_scheme_block(block, SchemeWalk{scheme_, move}, "", chapter_);
    target_.block(std::move(block));
}

void SchemeSink::flush_waiting(bool move) {
    for (Block& block : waiting_) pass_on(std::move(block), move);
    waiting_.clear();
}

void SchemeSink::accept(Block&& block) {
    if (scheme_seen_) {
        pass_on(std::move(block), false);
        return;
    }
    const MilestonesFound found = find_milestones(scheme_, block);
    if (found.of_scheme) {
        scheme_seen_ = true;
        flush_waiting(false);
        pass_on(std::move(block), false);
    } else if (!waiting_.empty() || found.movable) {
        waiting_.push_back(std::move(block));
    } else {
        pass_on(std::move(block), true);  // nothing in it can move
    }
}

void SchemeSink::finish() { flush_waiting(!scheme_seen_); }

Status import_with_scheme(ScriptureImporter importer, std::string_view text, std::string_view scheme,
                          ImportSink& sink) {
    if (!is_valid_genos(scheme)) {
        DiscardingSink discarded;
        if (Status imported = importer(text, discarded); !imported) return imported;
        std::string message = "invalid milestone scheme `";
        message += scheme;
        message += '`';
        return Error(ErrorKind::Other, std::move(message));
    }
    SchemeSink rewriting(scheme, sink);
    if (Status imported = importer(text, rewriting); !imported) return imported;
    rewriting.finish();
    return {};
}

}  // namespace ilvex
