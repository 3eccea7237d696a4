#pragma once

#include <filesystem>
#include <optional>

// The process's current directory; nothing when it cannot be read, as when it was deleted
// while the program ran in it (files then cannot be made there either).
std::optional<std::filesystem::path> currentDirectory();
