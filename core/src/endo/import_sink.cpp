#include "endo/import_sink.hpp"

#include <stdexcept>
#include <utility>
#include <variant>

#include "endo/writable.hpp"

namespace ilvex {

std::vector<Block>* block_body(Block& block) {
    if (auto* x = std::get_if<Block::Para>(&block.node)) return &x->children;
    if (auto* x = std::get_if<Block::Diaphane>(&block.node)) return &x->children;
    if (auto* x = std::get_if<Block::Englossis>(&block.node)) return &x->children;
    if (auto* x = std::get_if<Block::ParaAxioma>(&block.node)) return &x->children;
    return nullptr;
}

void ImportSink::block(Block&& block) {
    if (!ascii_strings_) compose_strings(block);
    if (open_.empty() || takes_pieces()) {
        accept(std::move(block));
    } else {
        block_body(open_.back())->push_back(std::move(block));
    }
}

void ImportSink::open(Block&& block) {
    if (block_body(block) == nullptr) throw std::logic_error("an importer opened a block without a body");
    if (!ascii_strings_) compose_strings(block);
    if (takes_pieces()) accept_open(block);
    open_.push_back(std::move(block));
}

void ImportSink::close() {
    if (open_.empty()) throw std::logic_error("an importer closed a block it did not open");
    if (takes_pieces()) {
        accept_close(open_.back());
        open_.pop_back();
        return;
    }
    Block block = std::move(open_.back());
    open_.pop_back();
    if (open_.empty()) {
        accept(std::move(block));
    } else {
        block_body(open_.back())->push_back(std::move(block));
    }
}

Status DocumentCollector::declaration(std::string_view dialektos,
                                      const std::optional<std::string>& version) {
    document_.dialektos = std::string(dialektos);
    document_.version = version;
    return {};
}

void DocumentCollector::accept(Block&& block) { document_.blocks.push_back(std::move(block)); }

}  // namespace ilvex
