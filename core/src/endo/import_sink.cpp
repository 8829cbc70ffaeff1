#include "endo/import_sink.hpp"

#include <utility>
#include <variant>

#include "endo/writable.hpp"

namespace ilvex {

void ImportSink::block(Block&& block) {
    compose_strings(block);
    accept(std::move(block));
}

void ImportSink::open_block(Block&& block) {
    compose_strings(block);
    accept_open(std::move(block));
}

void ImportSink::child_block(Block&& child) {
    compose_strings(child);
    accept_child(std::move(child));
}

void ImportSink::close_block() { accept_close(); }

void ImportSink::accept_open(Block&& block) { gathered_ = std::move(block); }

void ImportSink::accept_child(Block&& child) {
    std::visit(
        [&child](auto& node) {
            if constexpr (requires { node.children.push_back(std::move(child)); }) {
                node.children.push_back(std::move(child));
            }
        },
        gathered_->node);
}

void ImportSink::accept_close() {
    Block block = std::move(*gathered_);
    gathered_.reset();
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
