#pragma once

#include <optional>
#include <string_view>

// The strengths of the computer player, as the command-line tool names them: "easy" and
// "hard" (the ComputerPlayer without and with look-ahead) and "expert" (the ExpertPlayer).
enum class Strength { easy, hard, expert };

const char* strengthName(Strength strength);
// The strength of that name; none for any other text.
std::optional<Strength> strengthNamed(std::string_view name);
