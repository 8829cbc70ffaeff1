#include "endo/import_writer.hpp"

#include <stdexcept>
#include <utility>

#include "dialektos/memory_source.hpp"
#include "dialektos/resolution.hpp"

namespace ilvex {
namespace {

}  // namespace

std::size_t reserved_output(std::size_t input_size) { return 2 * input_size + 4096; }

Status ImportWriter::declaration(std::string_view dialektos,
                                 const std::optional<std::string>& version) {
    Result<Dialektos> target = resolve_from_sources(MemorySource(), dialektos);
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

std::string ImportWriter::finish() && { return std::move(writer()).finish(); }

}  // namespace ilvex
