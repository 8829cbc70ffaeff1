#include "endo/scripture/scheme_import.hpp"

#include <utility>

#include "dialektos/lexical.hpp"
#include "endo/scripture/scheme_pass.hpp"
#include "endo/scripture/scripture_blocks.hpp"

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

void SchemeSink::pass_on(Handed handed, bool move) {
    const SchemeWalk walk{scheme_, move};
    switch (handed.piece) {
        case Piece::Whole:
            apply_scheme_block(handed.block, walk, "", chapter_);
            target_.block(std::move(handed.block));
            return;
        case Piece::Open: {
            const auto* para = std::get_if<Block::Para>(&handed.block.node);
            in_division_ = para != nullptr && para->symbol == book_symbol;
            if (in_division_) {
                division_book_ = book_of(para->lemma);
                division_chapter_.clear();
            }
            target_.open(std::move(handed.block));
            return;
        }
        case Piece::Child:
            if (in_division_) {
                apply_scheme_block(handed.block, walk, division_book_, division_chapter_);
            } else {
                apply_scheme_block(handed.block, walk, "", chapter_);
            }
            target_.block(std::move(handed.block));
            return;
        case Piece::Close:
            in_division_ = false;
            target_.close();
            return;
    }
}

void SchemeSink::flush_waiting(bool move) {
    for (Handed& handed : waiting_) pass_on(std::move(handed), move);
    waiting_.clear();
}

void SchemeSink::take(Handed handed) {
    if (scheme_seen_) {
        pass_on(std::move(handed), false);
        return;
    }
    // A header's lemma and hypograph are searched with it; its children
    // come one by one.
    const MilestonesFound found = handed.piece == Piece::Close ? MilestonesFound{} : find_milestones(scheme_, handed.block);
    if (found.of_scheme) {
        scheme_seen_ = true;
        flush_waiting(false);
        pass_on(std::move(handed), false);
    } else if (!waiting_.empty() || found.movable) {
        waiting_.push_back(std::move(handed));
    } else {
        pass_on(std::move(handed), true);  // nothing in it can move
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
