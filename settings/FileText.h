#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include <sys/types.h>

// Whole-file reading and writing for the program's small text files (settings, game
// records, weights). File traffic is all or nothing: a reader gets the whole file or
// nothing, and a writer either replaces the file whole or leaves the old one untouched.
class FileText {
public:
    // Larger files are refused as unreadable: none of the program's files comes near it,
    // and it keeps a hostile file from making a reader allocate without bound.
    static constexpr std::size_t maxBytes = 16 * 1024 * 1024;

    // The bytes of a regular file of at most maxBytes; nullopt when it cannot be opened or
    // read, is not a regular file (a directory, a device or a pipe never blocks or streams
    // forever here), or is larger.
    static std::optional<std::string> readAll(const std::filesystem::path& path);

    // The text of bytes read in chunks of at most 4096 bytes, where each chunk counts only
    // up to its first zero byte (the settings and record readers' rule).
    static std::string textOfChunks(std::string_view bytes);
    static constexpr std::size_t chunkBytes = 4096;

    // Replaces the file at path whole: writes content to a new temporary file in the same
    // directory, flushes it to the disk and renames it over path. On any failure the
    // temporary file is removed, the old file stays as it was, and the result is false.
    // A new file gets the given permission bits (less the umask); a replaced file keeps
    // its own. A file that the process may not write (read-only) is not replaced, and a
    // symbolic link is kept: the file it points to is replaced.
    static bool replaceWhole(const std::filesystem::path& path, std::string_view content,
                             mode_t newFileMode = 0666);
};
