#include "settings/SettingsFile.h"

#include "settings/CurrentDirectory.h"

const std::filesystem::path& SettingsFile::path() {
    static const std::filesystem::path fixed = [] {
        const auto current = currentDirectory();
        return current ? pathIn(current->string()) : std::filesystem::path(fileName);
    }();
    return fixed;
}

std::filesystem::path SettingsFile::pathIn(const std::string& directory) {
    return std::filesystem::path(directory + "/" + fileName);
}
