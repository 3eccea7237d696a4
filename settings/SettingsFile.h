#pragma once

#include <filesystem>
#include <string>

// Where the settings file lives: "config.ini" in the directory that was current when the
// program started, even after the current directory has changed (the record and weights
// files follow the current directory; the settings file does not).
class SettingsFile {
public:
    static constexpr const char* fileName = "config.ini";

    // The path, fixed at the first call: start-up calls it before anything can change the
    // current directory. When the current directory cannot be read it is the bare name.
    static const std::filesystem::path& path();

    // directory + "/" + "config.ini".
    static std::filesystem::path pathIn(const std::string& directory);
};
