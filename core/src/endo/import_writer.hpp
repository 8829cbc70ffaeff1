// The sink that writes an import as endo returns it: in brachygraphic
// spelling, block by block as the importer gives them, so that no more than
// one top-level block of the imported tree is held at once.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dendron/writer.hpp"
#include "dialektos/model.hpp"
#include "endo/import_sink.hpp"
#include "endo/user_defined_target.hpp"

namespace ilvex {

// Writes the same text as write_document of the collected tree, given the
// target dialektos that the declaration names, resolved from the standard
// library (the writer needs its sims to tell where the text needs a
// separator).
class ImportWriter final : public ImportSink {
public:
    // `input_size` is the size of the imported text, from which the output
    // is reserved once. With a `sink`, the text goes there in pieces as it
    // is written (see DocumentWriter) and finish() gives nothing.
    explicit ImportWriter(std::size_t input_size, TextSink sink = {})
        : input_size_(input_size), sink_(std::move(sink)) {}

    // Fails when the standard library has no such dialektos; the
    // user-defined target is spelled by the sims its importer writes.
    Status declaration(std::string_view dialektos, const std::optional<std::string>& version) override;

    // The text written; the importer must have given its declaration.
    std::string finish() &&;

private:
    void accept(Block&& block) override;
    bool takes_pieces() const override { return true; }
    void accept_open(const Block& block) override;
    void accept_close(const Block& block) override;
    DocumentWriter& writer();
    bool accept_flat(const FlatInlines& inlines) override;
    // Writes the opening line of a Para of the common kind itself, keeping
    // its closing line for close; false for any other block.
    bool opened_as_line(const Block& block);

    std::size_t input_size_;
    TextSink sink_;
    std::optional<Dialektos> target_;  // before writer_, which points at it
    std::optional<DocumentWriter> writer_;
    // For each block opened and not yet closed, the closing line of a Para
    // opened as a line, or nothing where the writer opened it.
    std::vector<std::optional<std::string>> closings_;
};

}  // namespace ilvex
