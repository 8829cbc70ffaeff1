#include "endo/import_sink.hpp"

#include <utility>

#include "endo/writable.hpp"

namespace ilvex {

void ImportSink::block(Block&& block) {
    compose_strings(block);
    accept(std::move(block));
}

Status DocumentCollector::declaration(std::string_view dialektos,
                                      const std::optional<std::string>& version) {
    document_.dialektos = std::string(dialektos);
    document_.version = version;
    return {};
}

void DocumentCollector::accept(Block&& block) { document_.blocks.push_back(std::move(block)); }

}  // namespace ilvex
