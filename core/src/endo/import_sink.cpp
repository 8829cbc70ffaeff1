#include "endo/import_sink.hpp"

#include <utility>
#include <variant>

#include "endo/writable.hpp"

namespace ilvex {

void ImportSink::block(Block&& block) {
    compose_strings(block);
    accept(std::move(block));
}

void ImportSink::open(Block&& block) {
    compose_strings(block);
    accept_open(std::move(block));
}

void ImportSink::child(Block&& block) {
    compose_strings(block);
    accept_child(std::move(block));
}

void ImportSink::close() { accept_close(); }

void ImportSink::accept_open(Block&& block) { assembled_ = std::move(block); }

void ImportSink::accept_child(Block&& block) {
    std::visit(
        [&](auto& x) {
            if constexpr (requires { x.children.push_back(std::move(block)); }) x.children.push_back(std::move(block));
        },
        assembled_->node);
}

void ImportSink::accept_close() {
    Block whole = std::move(*assembled_);
    assembled_.reset();
    accept(std::move(whole));
}

Status DocumentCollector::declaration(std::string_view dialektos,
                                      const std::optional<std::string>& version) {
    document_.dialektos = std::string(dialektos);
    document_.version = version;
    return {};
}

void DocumentCollector::accept(Block&& block) { document_.blocks.push_back(std::move(block)); }

}  // namespace ilvex
