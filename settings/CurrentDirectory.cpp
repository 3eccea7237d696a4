#include "settings/CurrentDirectory.h"

#include <system_error>

std::optional<std::filesystem::path> currentDirectory() {
    std::error_code error;
    std::filesystem::path current = std::filesystem::current_path(error);
    if (error) {
        return std::nullopt;
    }
    return current;
}
