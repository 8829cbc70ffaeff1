#include "dialektos/definition_parser.hpp"

#include "dialektos/definition_text.hpp"
#include "dialektos/imports.hpp"
#include "dialektos/sim_block.hpp"
#include "dialektos/unicode.hpp"
#include "dialektos/vocabulary.hpp"

namespace ilvex {
namespace {

struct Declaration {
    Sigil sigil = Sigil::At;
    std::size_t next = 0;  // the line after the declaration
};

Result<Declaration> read_declaration(const DefinitionLines& lines, std::string_view source_name) {
    const std::size_t index = lines.raw(0).starts_with("#!") ? 1 : 0;
    auto missing = [&] {
        return Error(ErrorKind::MissingDeclaration).at(std::string(source_name), index + 1);
    };
    if (index >= lines.size()) return missing();
    const std::string_view line = lines.trimmed(index);
    Sigil sigil;
    if (line.starts_with("@@@!")) {
        sigil = Sigil::At;
    } else if (line.starts_with("\\\\\\!")) {
        sigil = Sigil::Backslash;
    } else {
        return missing();
    }
    const std::string_view after = line.substr(4);
    const std::string_view word = after.substr(0, after.find('@'));
    if (word != "ilvex") {
        return Error(ErrorKind::InvalidDefinition,
                     "definition files must declare the `ilvex` meta-dialektos, found " + quoted(word))
            .at(std::string(source_name), index + 1);
    }
    return Declaration{sigil, index + 1};
}

// Skips the block comment opened at line `open`: that line alone when it also
// closes it, else up to the first later line that ends with the closer.
Result<std::size_t> skip_block_comment(const DefinitionText& text, std::size_t open) {
    const Keywords& keywords = text.keywords;
    const std::string_view after = text.lines.trimmed(open).substr(keywords.block_comment_open.size());
    if (after.ends_with(keywords.block_comment_close)) return open + 1;
    for (std::size_t index = open + 1; index < text.lines.size(); ++index) {
        if (text.lines.trimmed(index).ends_with(keywords.block_comment_close)) return index + 1;
    }
    return text.at_line(Error(ErrorKind::UnmatchedSim, keywords.block_comment_open), open);
}

Result<std::size_t> read_and_store_sim(const DefinitionText& text, std::size_t open, Dialektos& dialektos) {
    auto block = read_sim_block(text, open);
    if (!block) return std::move(block).error();
    const ErrorLocation location{std::string(text.source_name), open + 1, 1};
    if (auto stored = insert_sim(dialektos.sims, location, std::move(block->sim)); !stored) {
        return std::move(stored).error();
    }
    return block->next;
}

}  // namespace

Result<Dialektos> parse_definition(std::string_view text, std::string_view source_name, std::string_view id,
                                   const DefinitionSource& source, ResolutionStack& stack) {
    const DefinitionLines lines(text);
    const auto declaration = read_declaration(lines, source_name);
    if (!declaration) return declaration.error();
    const Keywords& keywords = keywords_for(declaration->sigil);
    const DefinitionText definition{lines, source_name, keywords};

    Dialektos dialektos;
    dialektos.id = std::string(id);
    std::map<std::string, AliasClaims, std::less<>> claims;
    std::size_t index = declaration->next;
    while (index < lines.size()) {
        const std::string_view line = lines.trimmed(index);
        Result<std::size_t> next = index + 1;
        if (line.empty()) {
            // skipped
        } else if (line.starts_with(keywords.block_comment_open)) {
            next = skip_block_comment(definition, index);
        } else if (line.starts_with(keywords.line_comment)) {
            // skipped
        } else if (line.starts_with(keywords.import)) {
            if (auto imported = read_import_line(definition, index, source, stack, dialektos); !imported) {
                return std::move(imported).error();
            }
        } else if (line.starts_with(keywords.vocabulary_open)) {
            next = read_vocabulary_block(definition, index, {dialektos.vocabularies, claims});
        } else if (line.starts_with(keywords.sim_open)) {
            next = read_and_store_sim(definition, index, dialektos);
        } else {
            return definition.invalid(index, "unexpected line: " + quoted(line));
        }
        if (!next) return std::move(next).error();
        index = *next;
    }
    return dialektos;
}

}  // namespace ilvex
