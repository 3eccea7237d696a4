#include "settings/SettingsFile.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

namespace {

TEST(SettingsFile, PathIsTheStartDirectoryAndStaysWhenTheDirectoryChanges) {
    EXPECT_EQ(SettingsFile::pathIn("/home/me"), std::filesystem::path("/home/me/config.ini"));
    const std::filesystem::path start = std::filesystem::current_path();
    EXPECT_EQ(SettingsFile::path(), start / "config.ini");
    TempDirectory elsewhere;
    std::filesystem::current_path(elsewhere.path());
    EXPECT_EQ(SettingsFile::path(), start / "config.ini");
    std::filesystem::current_path(start);
}

} // namespace
