#include "dendron/writer.hpp"

#include <utility>

#include "dendron/paragraph_line.hpp"
#include "dendron/size_estimate.hpp"
#include "dendron/tree_writer.hpp"

namespace ilvex {

using writing::TreeWriter;

std::string name_reference(std::string_view name) {
    std::string reference;
    reference.reserve(name.size() + 2);
    reference += '{';
    reference += name;
    reference += '}';
    return reference;
}

void write_suffix(const Suffix& suffix, std::string& out) {
    if (suffix.onym) {
        out += '(';
        out += *suffix.onym;
        out += ')';
    }
    for (const auto& genos : suffix.genoses) {
        out += '.';
        out += genos;
    }
}

std::string write_document(const Document& document, const Dialektos* dialektos, const ResolveDialektos& resolve) {
    std::string out;
    out.reserve(estimated_text_size(document));
    TreeWriter writer(out, dialektos, resolve);
    writer.declaration(document.dialektos, document.version);
    for (const Block& block : document.blocks) writer.next(block);
    return out;
}

// How much written text a writer with a sink gathers before handing it on.
constexpr std::size_t piece_size = 512 * 1024;

struct DocumentWriter::State {
    State(const Dialektos* document_dialektos, ResolveDialektos resolve_embedded, TextSink text_sink)
        : dialektos(document_dialektos),
          resolve(std::move(resolve_embedded)),
          sink(std::move(text_sink)),
          writer(out, dialektos, resolve) {}

    // Between blocks nothing refers back to the text written, which can
    // then go to the sink; within a paragraph, the text before its current
    // line.
    void hand_over(std::size_t at_least) {
        const std::size_t settled = writer.settled();
        if (!sink || settled < at_least || settled == 0) return;
        sink(std::string_view(out).substr(0, settled));
        out.erase(0, settled);
        writer.forget_written(settled);
    }

    template <class Inlines>
    bool simple_paragraph(const Inlines& inlines, SimNames* names) {
        ParagraphLineWriter* lines = line_writer();
        if (lines == nullptr) return false;
        // Written in place: a paragraph declined is cut off again.
        const std::size_t before = writer.begin_written_paragraph();
        if (!lines->write(inlines, writer.body_closer(), out, names)) {
            out.resize(before);
            return false;
        }
        writer.end_written_paragraph();
        hand_over(piece_size);
        return true;
    }

    ParagraphLineWriter* line_writer() {
        if (dialektos == nullptr || !writer.spells_against(dialektos)) return nullptr;
        if (!lines) lines.emplace(*dialektos);  // at the first paragraph: a call may write none
        return &*lines;
    }

    std::string out;
    const Dialektos* dialektos;
    ResolveDialektos resolve;
    TextSink sink;
    TreeWriter writer;
    std::optional<ParagraphLineWriter> lines;
};

DocumentWriter::DocumentWriter(std::string_view dialektos_id, const std::optional<std::string>& version,
                               const Dialektos* dialektos, ResolveDialektos resolve, std::size_t expected_size,
                               TextSink sink)
    : state_(std::make_unique<State>(dialektos, std::move(resolve), std::move(sink))) {
    state_->out.reserve(state_->sink ? 2 * piece_size : expected_size);
    state_->writer.declaration(dialektos_id, version);
}

DocumentWriter::~DocumentWriter() = default;

void DocumentWriter::block(const Block& block) {
    state_->writer.next(block);
    state_->hand_over(piece_size);
}

void DocumentWriter::paragraph_part(const std::vector<Inline>& part) {
    state_->writer.paragraph_part(part);
    state_->hand_over(piece_size);
}

bool DocumentWriter::simple_paragraph(const FlatInlines& inlines, SimNames* names) {
    return state_->simple_paragraph(inlines, names);
}

bool DocumentWriter::simple_paragraph(const std::vector<Inline>& inlines) {
    return state_->simple_paragraph(inlines, nullptr);
}

ParagraphLineWriter* DocumentWriter::line_writer() { return state_->line_writer(); }

void DocumentWriter::written_open(BlockKind kind, std::string_view opener, std::string closer) {
    state_->writer.written_open(kind, opener, std::move(closer));
    state_->hand_over(piece_size);
}

void DocumentWriter::written_close(std::string_view closing_line) {
    state_->writer.written_close(closing_line);
    state_->hand_over(piece_size);
}

void DocumentWriter::open(const Block& block) {
    state_->writer.open(block);
    state_->hand_over(piece_size);
}

void DocumentWriter::close(const Block& block) {
    state_->writer.close(block);
    state_->hand_over(piece_size);
}

std::string DocumentWriter::finish() && {
    state_->hand_over(0);
    return std::move(state_->out);
}

}  // namespace ilvex
