#include "lib/check_entry.hpp"

#include <functional>
#include <optional>
#include <utility>

#include "dendron/outline.hpp"
#include "dendron/plero.hpp"
#include "dendron/writer.hpp"
#include "dialektos/directory_source.hpp"
#include "dialektos/resolution.hpp"
#include "dialektos/unicode.hpp"
#include "parser/block_parser.hpp"
#include "parser/document_lines.hpp"

namespace ilvex {
namespace {

// Makes the sink that takes the blocks of a parse, once the declaration is
// read and its dialektos resolved; none keeps the blocks. The outline's also
// sets where the references of running text go.
using SinkFactory = std::function<BlockSink*(PreparedDocument&, const Dialektos&)>;

struct ParseOptions {
    bool collect_records = false;
    bool keep_content = true;
    // Whether the ParsedDocument gets a copy of the dialektos; the functions
    // that only read it during the parse leave it empty.
    bool keep_dialektos = true;
    SinkFactory sink = {};
    TextDone text_done = {};
};

// The sink of a parse that needs no block once read: one that only
// validates, or the outline's, whose references and records come apart.
class DroppingSink final : public BlockSink {
public:
    void open(Block&) override {}
    void block(Block&&) override {}
    void close(Block&) override {}
};

// The sink of plero: each piece is named, then written, as soon as it is
// read. Once a piece cannot be named, nothing more is written, but the
// parse goes on, so that an error of the document itself still comes first.
class NamingSink final : public BlockSink {
public:
    NamingSink(DocumentWriter& writer, StreamedLocalizer& localizer, InlineScratch& scratch)
        : writer_(writer), localizer_(localizer), scratch_(scratch) {
        scratch_.recycling = true;
    }

    // A container is named in place; at its close only what the closing
    // line added is left to name.
    void open(Block& container) override {
        if (!failure_ && take(localizer_.open(container))) writer_.open(container);
    }
    void block(Block&& block) override {
        if (!failure_ && take(localizer_.block(block))) writer_.block(block);
        scratch_.take_back(block);
    }
    // A part of a paragraph is named as a block is.
    bool takes_paragraph_parts() const override { return true; }
    void paragraph_part(Block& part) override {
        if (failure_ || !take(localizer_.block(part))) return;
        writer_.paragraph_part(std::get<Block::Paragraph>(part.node).inlines);
    }
    void close(Block& container) override {
        if (!failure_ && take(localizer_.close(container))) writer_.close(container);
    }
    // A paragraph is written from its flat list by name where the writer
    // can; once nothing more is written, it needs no tree either.
    bool takes_flat_paragraphs() const override { return true; }
    bool flat_paragraph(FlatInlines& inlines) override {
        return failure_ || writer_.simple_paragraph(inlines, localizer_.paragraph_names());
    }

    // The first piece that could not be named, and why.
    const std::optional<Error>& failure() const { return failure_; }

private:
    bool take(Status status) {
        if (!status) failure_ = std::move(status).error();
        return !failure_;
    }

    DocumentWriter& writer_;
    StreamedLocalizer& localizer_;
    InlineScratch& scratch_;
    std::optional<Error> failure_;
};

// Hands each piece on as soon as it is read, to a target that takes the
// same three steps: the writer of brachy.
template <class Target>
class ForwardingSink final : public BlockSink {
public:
    ForwardingSink(Target& target, InlineScratch& scratch) : target_(target), scratch_(scratch) {
        scratch_.recycling = true;
    }
    void open(Block& container) override { target_.open(container); }
    void block(Block&& block) override {
        target_.block(block);
        scratch_.take_back(block);
    }
    void close(Block& container) override { target_.close(container); }
    bool takes_paragraph_parts() const override { return true; }
    void paragraph_part(Block& part) override {
        target_.paragraph_part(std::get<Block::Paragraph>(part.node).inlines);
    }
    bool takes_flat_paragraphs() const override { return true; }
    bool flat_paragraph(FlatInlines& inlines) override { return target_.simple_paragraph(inlines); }

private:
    Target& target_;
    InlineScratch& scratch_;  // where the storage of each block goes once used
};

Result<ParsedDocument> parse_document_with(std::string_view text, std::string_view path,
                                           const ParseOptions& options) {
    auto prepared = prepare_document(text, path);
    if (!prepared) return std::move(prepared).error();
    auto& [declaration, state] = *prepared;
    state.collect_records = options.collect_records;
    state.keep_content = options.keep_content;
    if (options.collect_records) state.records.reserve_for_text(text.size());
    // The dialektos is read where resolution keeps it (a standard one is
    // parsed once per process), alive as long as `stack`.
    const DirectorySource source(state.dir);
    ResolutionStack stack;
    auto resolved = resolve_kept_dialektos(source, declaration.id, stack);
    if (!resolved) return std::move(resolved).error();
    const Dialektos& dialektos = *resolved.value();
    if (options.sink) state.sink = options.sink(*prepared, dialektos);
    state.text_done = options.text_done;
    const SymbolScope in_force(state, dialektos);
    auto blocks = parse_blocks(state, dialektos, std::nullopt);
    if (!blocks) return std::move(blocks).error();
    return ParsedDocument{Document{std::move(declaration.id), std::move(declaration.version),
                                   std::move(blocks).value()},
                          std::move(state.records), options.keep_dialektos ? dialektos : Dialektos{}};
}

// The check entry's routing: a definition file goes to its own parser,
// anything else, in NFC, to `parse_text`. Most texts are in NFC already and
// are parsed in place, without a copy.
template <class OnDefinition, class ParseText>
auto route_input(std::string_view text, std::string_view path, TextForm form, OnDefinition on_definition,
                 ParseText parse_text) {
    if (is_definition_text(text)) return on_definition(parse_definition_file(text, path));
    if (form == TextForm::Nfc || unicode::is_nfc(text)) return parse_text(text);
    return parse_text(unicode::nfc(text));
}

}  // namespace

Result<ParsedInput> parse_input(std::string_view text, std::string_view path) {
    auto on_definition = [](Result<Dialektos> definition) -> Result<ParsedInput> {
        if (!definition) return std::move(definition).error();
        // Filled in place: moving a whole ParsedInput into the Result trips a
        // false "may be used uninitialized" of GCC 12 at -O3.
        Result<ParsedInput> result{ParsedInput(std::in_place_type<Dialektos>)};
        std::get<Dialektos>(result.value()) = std::move(definition).value();
        return result;
    };
    return route_input(text, path, TextForm::Unknown, on_definition,
                       [&](std::string_view nfc_text) { return parse_document_input(nfc_text, path); });
}

Result<InputKind> check_input(std::string_view text, std::string_view path, TextForm form) {
    auto on_definition = [](Result<Dialektos> definition) -> Result<InputKind> {
        if (!definition) return std::move(definition).error();
        return InputKind::Dialektos;
    };
    return route_input(text, path, form, on_definition, [&](std::string_view nfc_text) -> Result<InputKind> {
        DroppingSink dropping;
        const auto drop = [&](const PreparedDocument&, const Dialektos&) -> BlockSink* { return &dropping; };
        auto parsed =
            parse_document_with(nfc_text, path, {.keep_content = false, .keep_dialektos = false, .sink = drop});
        if (!parsed) return std::move(parsed).error();
        return InputKind::Document;
    });
}

ResolveDialektos englossis_resolver(std::string_view path) {
    return [dir = document_directory(path)](std::string_view id) { return resolve_from_dir(dir, id); };
}

namespace {

// What brachy and plero give for a definition file: its own error, or no text.
Result<std::optional<std::string>> nothing_to_write(Result<Dialektos> definition) {
    if (!definition) return std::move(definition).error();
    return std::optional<std::string>();
}

// The writer of a document whose declaration has been read and resolved.
void start_writer(std::optional<DocumentWriter>& writer, const PreparedDocument& prepared,
                  const Dialektos& dialektos, std::string_view path, std::size_t text_size, const TextSink& sink) {
    const DocumentDeclaration& declaration = prepared.declaration;
    writer.emplace(declaration.id, declaration.version, &dialektos, englossis_resolver(path), text_size, sink);
}

// `done` for a parse of `nfc_text`, which is `text` itself or its normalized
// copy: offsets in the copy say nothing of the text the caller holds.
TextDone done_with(std::string_view text, std::string_view nfc_text, const TextDone& done) {
    return nfc_text.data() == text.data() ? done : TextDone{};
}

}  // namespace

Result<std::optional<std::string>> write_brachy(std::string_view text, std::string_view path,
                                                const TextSink& sink, TextForm form, const TextDone& done) {
    return route_input(text, path, form, nothing_to_write, [&](std::string_view nfc_text) -> Result<std::optional<std::string>> {
        std::optional<DocumentWriter> writer;
        std::optional<ForwardingSink<DocumentWriter>> writing;
        const auto write = [&](const PreparedDocument& prepared, const Dialektos& dialektos) -> BlockSink* {
            start_writer(writer, prepared, dialektos, path, nfc_text.size(), sink);
            return &writing.emplace(*writer, prepared.state.inline_scratch);
        };
        auto parsed = parse_document_with(
            nfc_text, path, {.keep_dialektos = false, .sink = write, .text_done = done_with(text, nfc_text, done)});
        if (!parsed) return std::move(parsed).error();
        return std::optional<std::string>(std::move(*writer).finish());
    });
}

Result<std::optional<std::string>> write_plero(std::string_view text, std::string_view path,
                                               std::optional<std::string_view> lang, const TextSink& sink,
                                               TextForm form, const TextDone& done) {
    return route_input(text, path, form, nothing_to_write, [&](std::string_view nfc_text) -> Result<std::optional<std::string>> {
        Status glossa;
        DroppingSink dropping;
        std::optional<DocumentWriter> writer;
        std::optional<StreamedLocalizer> localizer;
        std::optional<NamingSink> naming;
        const auto write = [&](const PreparedDocument& prepared, const Dialektos& dialektos) -> BlockSink* {
            // Without the glossa the document is still read through, for its own errors.
            glossa = require_glossa(dialektos, lang);
            if (!glossa) return &dropping;
            start_writer(writer, prepared, dialektos, path, nfc_text.size(), sink);
            localizer.emplace(dialektos, lang, englossis_resolver(path));
            return &naming.emplace(*writer, *localizer, prepared.state.inline_scratch);
        };
        auto parsed = parse_document_with(
            nfc_text, path, {.keep_dialektos = false, .sink = write, .text_done = done_with(text, nfc_text, done)});
        if (!parsed) return std::move(parsed).error();
        if (!glossa) return std::move(glossa).error();
        if (naming->failure()) return *naming->failure();
        return std::optional<std::string>(std::move(*writer).finish());
    });
}

Result<ParsedDocument> parse_document(std::string_view text, std::string_view path) {
    return parse_document_with(text, path, {});
}

Result<ParsedInput> parse_document_input(std::string_view text, std::string_view path) {
    auto parsed = parse_document(text, path);
    if (!parsed) return std::move(parsed).error();
    return ParsedInput(std::in_place_type<ParsedDocument>, std::move(parsed).value());
}

Result<ParsedDocument> parse_document_for_outline(std::string_view text, std::string_view path) {
    return parse_document_with(text, path, {.collect_records = true});
}

Result<Outline> outline_document(std::string_view text, std::string_view path) {
    std::optional<OutlineBuilder> builder;
    DroppingSink dropping;
    const auto outline = [&](PreparedDocument& prepared, const Dialektos& dialektos) -> BlockSink* {
        prepared.state.references = &builder.emplace(text, dialektos);
        return &dropping;
    };
    auto parsed = parse_document_with(
        text, path, {.collect_records = true, .keep_content = false, .keep_dialektos = false, .sink = outline});
    if (!parsed) return std::move(parsed).error();
    return std::move(*builder).finish(std::move(parsed->document.dialektos), std::move(parsed->outline_records));
}

}  // namespace ilvex
