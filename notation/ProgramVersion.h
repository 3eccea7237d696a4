#pragma once

#include <string_view>

#ifndef QUORLEN_VERSION
#error "QUORLEN_VERSION must name the program's version (set by cli/CMakeLists.txt)"
#endif

// The program's version, as `version` and the AP property of SGF files name it.
inline constexpr std::string_view programVersion = QUORLEN_VERSION;
