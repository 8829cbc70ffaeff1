// Real files of every format, written by others, read from the shared
// corpus beside the repository (one folder per format name, subfolders
// included; skipped when there is none; the environment's ILVEX_CORPUS_DIR
// names another folder of the same shape): each imports to text that reads
// back, the same whether collected or written as it streams, or is refused
// with the importer's error; never a crash, and quickly, sanitizers included.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "lexigramma_fixture.hpp"
#include "lib/endo_formats.hpp"
#include "round_trip.hpp"

namespace ilvex {
namespace {

namespace fs = std::filesystem;

// A guard against a hang or a quadratic case, not a speed target.
constexpr auto time_bound = std::chrono::seconds(2);

std::vector<fs::path> corpus_files(const fs::path& folder) {
    std::vector<fs::path> files;
    if (fs::is_directory(folder)) {
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
            if (entry.is_regular_file()) files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

fs::path corpus_directory() {
    const char* chosen = std::getenv("ILVEX_CORPUS_DIR");
    return chosen != nullptr && *chosen != '\0' ? fs::path(chosen) : fs::path(ILVEX_CORPUS_DIR);
}

TEST(Corpus, EveryFileImportsOrIsRefused) {
    const fs::path corpus = corpus_directory();
    if (!fs::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
    // Dictionaries import into lexigramma, which only a user defines.
    const std::string path = testing::lexigramma_directory().path();
    for (const EndoFormat& format : endo_formats()) {
        if (format.importer == nullptr) continue;
        for (const fs::path& file : corpus_files(corpus / format.name)) {
            SCOPED_TRACE(file.string());
            const std::string text = read_file(file);
            const auto start = std::chrono::steady_clock::now();
            DocumentCollector collector;
            if (Status imported = format.importer(text, collector); imported) {
                EXPECT_EQ(testing::check_streamed_import(format.importer, text, path), "");
            }
            EXPECT_LT(std::chrono::steady_clock::now() - start, time_bound);
        }
    }
}

}  // namespace
}  // namespace ilvex
