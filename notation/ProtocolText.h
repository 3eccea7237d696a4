#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The text helpers that the GTP, SGF and match readers share. Unlike the lenient readers of
// the program's own files (NumberText), a number here is the whole text or nothing.
class ProtocolText {
public:
    // The text as a decimal integer in the 32-bit range, without sign, blanks or other
    // characters around it (a leading minus is read); nullopt otherwise.
    static std::optional<int> wholeNumber(std::string_view text);
    // ASCII letters in lower case; other bytes as they are.
    static std::string lowerCase(std::string_view text);
    // Without the white space at either end.
    static std::string trimmed(std::string_view text);
    // The parts between the separators, empty ones included: "a,,b" gives a, "", b.
    static std::vector<std::string_view> split(std::string_view text, char separator);
};
