#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "dialektos/directory_source.hpp"
#include "temp_directory.hpp"

namespace ilvex {
namespace {

using testing::TempDirectory;

std::string describe(const Result<std::optional<std::string>>& read) {
    if (!read) return "error: " + error_message(read.error());
    return *read ? "text: " + **read : "absent";
}

class DirectorySourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write("b.dia", "bee");
        dir.write("a.lektos", "ay");
        dir.write("bad-content.dia", "\xff\xfe");
        dir.write("bad-name-\xff.dia", "unlisted");
        std::filesystem::create_directory(dir / "sub.dia");
        dir.write("sub.dia/inner.dia", "inner");
        std::filesystem::create_symlink(dir / "b.dia", dir / "link.dia");
        std::filesystem::create_symlink(dir / "sub.dia", dir / "dirlink.dia");
        std::filesystem::create_symlink(dir / "nowhere", dir / "dangling.dia");
        ASSERT_EQ(::mkfifo((dir / "fifo.dia").c_str(), 0600), 0);
    }

    TempDirectory dir;
};

TEST_F(DirectorySourceTest, ReadsRegularFilesOnly) {
    const DirectorySource source(dir.path());
    struct Case {
        const char* name;
        const char* expected;
    };
    const Case cases[] = {
        {"b.dia", "text: bee"},
        {"link.dia", "text: bee"},
        {"missing.dia", "absent"},
        {"sub.dia", "absent"},
        {"dirlink.dia", "absent"},
        {"dangling.dia", "absent"},
        {"fifo.dia", "absent"},  // never waited on
        {"bad-content.dia", "error: input is not valid UTF-8"},
        {"", "absent"},
        {".", "absent"},
        {"..", "absent"},
        // Names never reach outside the directory.
        {"sub.dia/inner.dia", "absent"},
        {"../b.dia", "absent"},
        {"/etc/hostname", "absent"},
    };
    for (const Case& c : cases) EXPECT_EQ(describe(source.read(c.name)), c.expected) << c.name;
    EXPECT_EQ(describe(source.read(std::string_view("b.dia\0x", 7))), "absent");
    EXPECT_EQ(describe(DirectorySource(dir.path() + "/").read("b.dia")), "text: bee");
    EXPECT_EQ(describe(DirectorySource(dir / "sub.dia").read("inner.dia")), "text: inner");
}

TEST_F(DirectorySourceTest, ListsRegularFilesWithUtf8NamesInByteOrder) {
    const std::vector<std::string> expected = {"a.lektos", "b.dia", "bad-content.dia", "link.dia"};
    EXPECT_EQ(DirectorySource(dir.path()).list(), expected);
    EXPECT_TRUE(DirectorySource(dir / "missing").list().empty());
    EXPECT_TRUE(DirectorySource(dir / "b.dia").list().empty());
}

TEST_F(DirectorySourceTest, ADirectoryHoldingNulHoldsNothing) {
    const DirectorySource source(dir.path() + std::string("\0/x", 3));
    EXPECT_TRUE(source.list().empty());
    EXPECT_EQ(describe(source.read("b.dia")), "absent");
}

TEST_F(DirectorySourceTest, AnEmptyDirectoryIsTheCurrentOne) {
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const DirectorySource source("");
    const auto listed = source.list();
    const auto read = describe(source.read("b.dia"));
    std::filesystem::current_path(previous);
    EXPECT_EQ(listed, DirectorySource(dir.path()).list());
    EXPECT_EQ(read, "text: bee");
}

TEST_F(DirectorySourceTest, AnUnreadableFileIsAMissingResource) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
    dir.write("locked.dia", "x");
    std::filesystem::permissions(dir / "locked.dia", std::filesystem::perms::none);
    EXPECT_EQ(describe(DirectorySource(dir.path()).read("locked.dia")),
              "error: missing or unreadable resource: " + (dir / "locked.dia") + ": Permission denied");
}

TEST(DirectorySource, AReadThatFailsIsAMissingResource) {
    // A regular file of /proc whose first page cannot be read, even by root.
    const DirectorySource source("/proc/self");
    const auto read = source.read("mem");
    if (read && !*read) GTEST_SKIP() << "no /proc/self/mem here";
    EXPECT_EQ(describe(read), "error: missing or unreadable resource: /proc/self/mem: Input/output error");
}

TEST(DirectorySource, ReadsFilesLargerThanOneBuffer) {
    TempDirectory dir;
    const std::string big(1'000'003, 'x');
    dir.write("big.dia", big);
    const auto read = DirectorySource(dir.path()).read("big.dia");
    ASSERT_TRUE(read && *read);
    EXPECT_EQ(**read, big);
}

}  // namespace
}  // namespace ilvex
