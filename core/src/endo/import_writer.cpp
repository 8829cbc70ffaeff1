#include "endo/import_writer.hpp"

#include <stdexcept>
#include <utility>
#include <variant>

#include "dendron/paragraph_line.hpp"

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

// A block with a body is written in pieces, so that the paragraphs of its
// body can be written as lines too.
void ImportWriter::accept(Block&& block) {
    if (const auto* paragraph = std::get_if<Block::Paragraph>(&block.node)) {
        if (writer().simple_paragraph(paragraph->inlines)) return;
    } else if (std::vector<Block>* children = block_body(block)) {
        accept_open(block);
        for (Block& child : *children) accept(std::move(child));
        accept_close(block);
        return;
    }
    writer().block(block);
}

bool ImportWriter::accept_flat(const FlatInlines& inlines) { return writer().simple_paragraph(inlines); }

bool ImportWriter::opened_as_line(const Block& block) {
    const auto* para = std::get_if<Block::Para>(&block.node);
    ParagraphLineWriter* lines = para != nullptr ? writer().line_writer() : nullptr;
    if (lines == nullptr) return false;
    std::string opener;
    std::string closer;
    std::string closing;
    if (!lines->para_lines(*para, opener, closer, closing)) return false;
    writer().written_open(BlockKind::Para, opener, std::move(closer));
    closings_.emplace_back(std::move(closing));
    return true;
}

void ImportWriter::accept_open(const Block& block) {
    if (opened_as_line(block)) return;
    writer().open(block);
    closings_.emplace_back();
}

void ImportWriter::accept_close(const Block& block) {
    std::optional<std::string> closing = std::move(closings_.back());
    closings_.pop_back();
    if (closing) {
        writer().written_close(*closing);
        return;
    }
    writer().close(block);
}

std::string ImportWriter::finish() && { return std::move(writer()).finish(); }

}  // namespace ilvex
