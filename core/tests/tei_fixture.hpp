// Runs the TEI converters on small XML fragments and shows what they built
// as written litogramma text, after checking that the text reads back to
// itself; a failure shows as "error: " and the message after the importer's
// prefix.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dendron/document.hpp"
#include "endo/tei/tei_blocks.hpp"
#include "endo/tei/tei_context.hpp"
#include "endo/tei/tei_inlines.hpp"
#include "local_dialektoi.hpp"
#include "round_trip.hpp"

namespace ilvex::testing {

// Generous: the work takes milliseconds, but a sanitizer build on a busy
// machine is many times slower.
inline constexpr auto time_bound = std::chrono::seconds(5);

inline std::string tei_failure(const Error& error) {
    constexpr std::string_view prefix = "missing or unreadable resource: tei import: ";
    std::string text = failure_text(error);
    if (text.starts_with(prefix)) text.erase(0, prefix.size());
    return "error: " + text;
}

// The blocks as the document body writes them: no declaration line.
inline std::string written_body(std::vector<Block> blocks) {
    const Document document{"litogramma", std::nullopt, std::move(blocks)};
    if (std::string failure = check_import(document, local_dialektoi().path()); !failure.empty()) {
        return "not written back: " + failure;
    }
    std::string text = write_imported(document).value();
    const std::size_t body = text.find_first_not_of('\n', text.find('\n'));
    if (body == std::string::npos) return "";
    text.erase(0, body);
    if (text.ends_with('\n')) text.pop_back();
    return text;
}

// `convert` given a context over the tokens of `xml` gives a Result of the
// blocks it built and the index it stopped at, which must be the end.
template <class Convert>
std::string tei_converted(std::string_view xml, Convert&& convert) {
    TeiContext context(xml);
    auto built = convert(context);
    if (!built) return tei_failure(context.tokens.first_error(built.error()));
    if (context.tokens.has(built->next)) return "stopped at token " + std::to_string(built->next);
    if (context.tokens.error()) return tei_failure(*context.tokens.error());
    return written_body(std::move(built->blocks));
}

// Running text: `xml` is the content of a p, followed by `end`.
inline std::string tei_inline_text(std::string_view xml, std::string_view end = "</p>") {
    return tei_converted(std::string(xml) + std::string(end), [](TeiContext& context) -> Result<TeiBlocks> {
        Result<TeiInlines> run = import_tei_inlines(context, 0, "p");
        if (!run) return std::move(run).error();
        TeiBlocks out{{Block::Paragraph{std::move(run->inlines)}}, run->next};
        for (Block& block : run->blocks) out.blocks.push_back(std::move(block));
        return out;
    });
}

// Block content: `xml` is the content of a body, followed by `end`.
inline std::string tei_block_text(std::string_view xml, std::string_view end = "</body>") {
    return tei_converted(std::string(xml) + std::string(end),
                         [](TeiContext& context) { return import_tei_blocks(context, 0, "body", 0); });
}

// A fragment and the text it is written as.
struct TeiCase {
    const char* xml;
    const char* written;
};

inline void expect_inlines(const std::vector<TeiCase>& cases) {
    for (const TeiCase& c : cases) EXPECT_EQ(tei_inline_text(c.xml), c.written) << c.xml;
}

inline void expect_blocks(const std::vector<TeiCase>& cases) {
    for (const TeiCase& c : cases) EXPECT_EQ(tei_block_text(c.xml), c.written) << c.xml;
}

}  // namespace ilvex::testing
