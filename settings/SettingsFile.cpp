#include "settings/SettingsFile.h"

#include <system_error>

const std::filesystem::path& SettingsFile::path() {
    static const std::filesystem::path fixed = [] {
        std::error_code error;
        const std::filesystem::path current = std::filesystem::current_path(error);
        return error ? std::filesystem::path(fileName) : pathIn(current.string());
    }();
    return fixed;
}

std::filesystem::path SettingsFile::pathIn(const std::string& directory) {
    return std::filesystem::path(directory + "/" + fileName);
}
