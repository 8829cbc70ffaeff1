#include "endo/import_writer.hpp"

#include <stdexcept>
#include <utility>

namespace ilvex {
namespace {

// An imported text is about as long as its source, a little longer for its
// markup. The room is reserved generously: pages of it that are never
// written cost no memory, while outgrowing it would copy the whole text into
// a buffer twice as large, with both alive at once.
std::size_t reserved_output(std::size_t input_size) { return 2 * input_size + 4096; }

}  // namespace

Status ImportWriter::declaration(std::string_view dialektos,
                                 const std::optional<std::string>& version) {
    Result<Dialektos> target = import_target_dialektos(dialektos);
    if (!target) return std::move(target).error();
    target_ = std::move(target).value();
    writer_.emplace(dialektos, version, &*target_, ResolveDialektos(), reserved_output(input_size_), sink_);
    return {};
}

DocumentWriter& ImportWriter::writer() {
    if (!writer_) throw std::logic_error("an importer wrote before its declaration");
    return *writer_;
}

void ImportWriter::accept(Block&& block) { writer().block(block); }

void ImportWriter::accept_open(const Block& block) { writer().open(block); }

void ImportWriter::accept_close(const Block& block) { writer().close(block); }

std::string ImportWriter::finish() && { return std::move(writer()).finish(); }

}  // namespace ilvex
