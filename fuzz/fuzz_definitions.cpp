// Definition texts and their resolution from in-memory sources. The input is
// split into files at lines "--- <name>" (the text before the first such
// line is "a.dia"), so that imports, chains, diamonds, cycles and glossae
// all occur; "a" is resolved from them. A dialektos that resolves must
// serialize to a text that reads back to itself.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "dialektos/memory_source.hpp"
#include "dialektos/resolution.hpp"
#include "property.hpp"
#include "round_trip.hpp"

namespace {

std::map<std::string, std::string> split_files(std::string_view text) {
    std::map<std::string, std::string> files;
    std::string* current = &files["a.dia"];
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        if (line.starts_with("--- ")) {
            current = &files[std::string(line.substr(4))];
            current->clear();
        } else {
            current->append(line);
            current->push_back('\n');
        }
        start = end + 1;
    }
    return files;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ilvex;
    const MemorySource source(split_files(fuzz::as_text(data, size)));
    const Result<Dialektos> resolved = resolve_from_sources(source, "a");
    if (resolved) fuzz::require(testing::check_serialization(*resolved));
    return 0;
}
