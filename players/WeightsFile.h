#pragma once

#include "engine/Weights.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

// The weights file "quorlen.dat": four text lines, one weight each.
class WeightsFile {
public:
    static constexpr const char* fileName = "quorlen.dat";

    // Reads up to four numbers into weights 0..3 in turn. The first read that fails (no
    // file, or text that is not a number) leaves that weight and all later ones unchanged.
    static void read(const std::filesystem::path& path, Weights& weights);

    // Writes the four weights with six significant digits, replacing the file whole;
    // false when it could not be written (the old file, if any, stays).
    static bool write(const std::filesystem::path& path, const Weights& weights);

    // read without the file: the numbers of a weights file's bytes, each after any white
    // space, with the same rule for a failed read. Returns how many weights were read.
    static std::size_t parse(std::string_view bytes, Weights& weights);

    // The file's content for the weights: each in "%g" form on a line of its own.
    static std::string text(const Weights& weights);
};
