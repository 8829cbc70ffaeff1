#include <gtest/gtest.h>

#include "dialektos/path_text.hpp"

namespace ilvex {
namespace {

TEST(PathText, StemAndParent) {
    struct Case {
        const char* path;
        const char* stem;
        const char* parent;
    };
    const Case cases[] = {
        {"doc.ild", "doc", ""},
        {"defs/x.lektos", "x", "defs"},
        {"/x.ild", "x", "/"},
        {"/abs/dir/x.y.dia", "x.y", "/abs/dir"},
        {"sub//dir//x.ild", "x", "sub//dir"},
        {"a/./b.dia", "b", "a"},
        {"./b.dia", "b", "."},
        {"dir/x.ild/", "x", "dir"},
        {"dir/x.ild/.", "x", "dir"},
        {".hidden", ".hidden", ""},
        {"a/.hidden.dia", ".hidden", "a"},
        {"..x", ".", ""},
        {"name.", "name", ""},
        {"noext", "noext", ""},
        {"", "", ""},
        {"/", "", ""},
        {".", "", ""},
        {"..", "", ""},
        {"a/..", "", "a"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(file_stem(c.path), c.stem) << c.path;
        EXPECT_EQ(parent_directory(c.path), c.parent) << c.path;
    }
}

TEST(PathText, StemReplacesInvalidUtf8) { EXPECT_EQ(file_stem("d/a\xff" "b.dia"), "a\xEF\xBF\xBD" "b"); }

}  // namespace
}  // namespace ilvex
