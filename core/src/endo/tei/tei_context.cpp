#include "endo/tei/tei_context.hpp"

#include "endo/import_errors.hpp"

namespace ilvex {

TeiContext::TeiContext(const std::vector<XmlToken>& tokens)
    : tokens(tokens), closes(tokens), import(tei_import_error) {}

const TeiContext::SpeechCounts& TeiContext::speech_counts() {
    if (speech_counts_) return *speech_counts_;
    SpeechCounts counts;
    counts.lines.reserve(tokens.size() + 1);
    counts.prose.reserve(tokens.size() + 1);
    std::size_t lines = 0;
    std::size_t prose = 0;
    for (const XmlToken& token : tokens) {
        counts.lines.push_back(lines);
        counts.prose.push_back(prose);
        const auto* open = std::get_if<XmlOpen>(&token);
        if (open == nullptr) continue;
        if (open->name == "l") ++lines;
        if (open->name == "p" || open->name == "ab" || open->name == "quote") ++prose;
    }
    counts.lines.push_back(lines);
    counts.prose.push_back(prose);
    speech_counts_ = std::move(counts);
    return *speech_counts_;
}

}  // namespace ilvex
