#pragma once

#include <string>
#include <string_view>

// Why the SGF reader refuses a file, as one line for the user. Thrown and caught inside the
// reader only; SgfGame::read hands the message on.
struct SgfError {
    std::string message;

    // A value as a message quotes it: at most 20 characters, bytes other than printable
    // ASCII shown as '?'.
    static std::string shown(std::string_view value) {
        constexpr std::size_t longest = 20;
        std::string text;
        for (const char c : value.substr(0, longest)) {
            const auto byte = static_cast<unsigned char>(c);
            text += byte >= 32 && byte < 127 ? c : '?';
        }
        return value.size() > longest ? text + "..." : text;
    }
};
