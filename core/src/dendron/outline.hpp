// The outline of a parsed document: a flat summary for tools of its Para,
// Stichoi, Diaphane and Englossis blocks with their line spans, and of the
// lines on which its milestones, onyms and deixes stand.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "dendron/outline_record.hpp"
#include "dendron/reference_sink.hpp"
#include "dialektos/model.hpp"

namespace ilvex {

struct OutlineEntry {
    std::string key;
    std::uint64_t line = 0;  // 1-based; 0 when no line was found

    bool operator==(const OutlineEntry&) const = default;
};

struct Outline {
    std::string dialektos;
    OutlineRecords blocks;                  // by start line, then longest first
    std::vector<OutlineEntry> milestones;   // keys "<scheme>:<value>"
    std::vector<OutlineEntry> onyms;        // block onyms, then inline onyms
    std::vector<OutlineEntry> deixes;       // keys "<symbol>(<target>)"

    bool operator==(const Outline&) const = default;
};

// The outline of a document whose references come one at a time, as a
// parse that streams reads them (see ReferenceSink), from the NFC text it
// parses, which must outlive the builder; `dialektos` is the one the
// document declares. finish() takes over the records the parse collected.
class OutlineBuilder final : public ReferenceSink {
public:
    OutlineBuilder(std::string_view text, const Dialektos& dialektos);
    ~OutlineBuilder() override;
    OutlineBuilder(const OutlineBuilder&) = delete;
    OutlineBuilder& operator=(const OutlineBuilder&) = delete;

    void milestone(std::string_view scheme, std::string_view value) override;
    void onym(std::string_view onym) override;
    void deixis(std::string_view symbol, std::string_view target) override;
    Outline finish(std::string dialektos, OutlineRecords records) &&;

private:
    struct State;

    std::unique_ptr<State> state_;
};

// Builds the outline of `document` from the records its parse collected and
// the NFC text it was parsed from; `dialektos` is the one it declares. The
// lines of the references are found again in the text, each at the first
// line at or after the line of the reference located before it.
Outline build_outline(const Document& document, OutlineRecords records,
                      std::string_view text, const Dialektos& dialektos);

}  // namespace ilvex
