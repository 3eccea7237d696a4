#include "settings/FileText.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

TEST(FileText, EachChunkCountsUpToItsFirstZeroByte) {
    std::string bytes = std::string("ab\0cd", 5);
    bytes.resize(FileText::chunkBytes, 'x');
    bytes += "ef";
    EXPECT_EQ(FileText::textOfChunks(bytes), "abef");
    EXPECT_EQ(FileText::textOfChunks(std::string(3, '\0')), "");
    EXPECT_EQ(FileText::textOfChunks("plain"), "plain");
    const std::string full(FileText::chunkBytes * 2 + 1, 'z');
    EXPECT_EQ(FileText::textOfChunks(full), full);
}

TEST(FileText, ReadsWholeRegularFilesUpToTheBoundOnly) {
    TempDirectory dir;
    writeBytes(dir / "a", std::string("x\0y\r\n", 5));
    EXPECT_EQ(FileText::readAll(dir / "a"), std::string("x\0y\r\n", 5));
    writeBytes(dir / "empty", "");
    EXPECT_EQ(FileText::readAll(dir / "empty"), "");
    EXPECT_EQ(FileText::readAll(dir / "missing"), std::nullopt);
    EXPECT_EQ(FileText::readAll(dir.path()), std::nullopt);
    // A pipe without a writer would block a plain open, and a device streams forever.
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(FileText::readAll(dir / "fifo"), std::nullopt);
    EXPECT_EQ(FileText::readAll("/dev/zero"), std::nullopt);
    // Files beyond the bound are refused.
    fs::resize_file(dir / "empty", FileText::maxBytes + 1);
    EXPECT_EQ(FileText::readAll(dir / "empty"), std::nullopt);
    fs::resize_file(dir / "empty", FileText::maxBytes);
    EXPECT_EQ(FileText::readAll(dir / "empty").value().size(), FileText::maxBytes);
}

TEST(FileText, ReplacesWholeThroughLinksAndLeavesNoTemporaryFile) {
    TempDirectory dir;
    ::umask(022);
    EXPECT_TRUE(FileText::replaceWhole(dir / "f", "new\r\n", 0644));
    EXPECT_EQ(readBytes(dir / "f"), "new\r\n");
    EXPECT_EQ(fs::status(dir / "f").permissions(), static_cast<fs::perms>(0644));
    // A replaced file keeps its permission bits; a shorter content leaves no old tail.
    fs::permissions(dir / "f", static_cast<fs::perms>(0600));
    EXPECT_TRUE(FileText::replaceWhole(dir / "f", "x", 0644));
    EXPECT_EQ(readBytes(dir / "f"), "x");
    EXPECT_EQ(fs::status(dir / "f").permissions(), static_cast<fs::perms>(0600));
    EXPECT_EQ(dir.names(), std::set<std::string>{"f"});
    // Through a symbolic link the file it points to is replaced and the link stays.
    fs::create_symlink(dir / "f", dir / "link");
    EXPECT_TRUE(FileText::replaceWhole(dir / "link", "new"));
    EXPECT_TRUE(fs::is_symlink(dir / "link"));
    EXPECT_EQ(readBytes(dir / "f"), "new");
}

TEST(FileText, FailureLeavesTheOldFileAndNoTemporaryFile) {
    TempDirectory dir;
    writeBytes(dir / "f", "old");
    fs::create_directory(dir / "sub");
    EXPECT_FALSE(FileText::replaceWhole(dir / "sub", "new")); // the target is a directory
    EXPECT_FALSE(FileText::replaceWhole(dir / "none" / "f", "new"));
    {
        // The disk fills in the middle of the write.
        FileSizeLimit limit(2);
        EXPECT_FALSE(FileText::replaceWhole(dir / "f", "longer than two bytes"));
    }
    EXPECT_EQ(readBytes(dir / "f"), "old");
    EXPECT_EQ(dir.names(), (std::set<std::string>{"f", "sub"}));
}

TEST(FileText, ReadOnlyFileOrDirectoryIsNotReplaced) {
    TempDirectory dir;
    writeBytes(dir / "f", "old");
    fs::permissions(dir / "f", static_cast<fs::perms>(0444));
    if (!readOnlyDirectoryStopsWrites(dir.path())) {
        GTEST_SKIP() << "running as root: permissions do not stop writes";
    }
    EXPECT_FALSE(FileText::replaceWhole(dir / "f", "new"));
    fs::permissions(dir.path(), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_FALSE(FileText::replaceWhole(dir / "f", "new"));
    EXPECT_EQ(readBytes(dir / "f"), "old");
}

} // namespace
