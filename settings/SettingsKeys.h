#pragma once

#include <string_view>

// The keys of the settings store.
namespace SettingsKeys {

inline constexpr std::string_view boardSize = "BOARD_SIZE";
inline constexpr std::string_view windowWidth = "WINDOW_WIDTH";
inline constexpr std::string_view windowHeight = "WINDOW_HEIGHT";
inline constexpr std::string_view colorBack = "COLOR_BACK";
inline constexpr std::string_view colorBorder = "COLOR_BORDER";
inline constexpr std::string_view colorCell = "COLOR_CELL";
inline constexpr std::string_view colorSelection = "COLOR_SELECTION";
inline constexpr std::string_view colorP1 = "COLOR_P1";
inline constexpr std::string_view colorP2 = "COLOR_P2";
inline constexpr std::string_view colorPath = "COLOR_PATH";
inline constexpr std::string_view p1Type = "P1_TYPE";
inline constexpr std::string_view p2Type = "P2_TYPE";
// Not among the defaults: written only once a side has been given a GTP engine (escaped,
// see EscapedText).
inline constexpr std::string_view p1Engine = "P1_ENGINE";
inline constexpr std::string_view p2Engine = "P2_ENGINE";
inline constexpr std::string_view timeLimit = "TIME_LIMIT";
inline constexpr std::string_view showPaths = "SHOW_PATHS";
inline constexpr std::string_view learning = "LEARNING";
inline constexpr std::string_view learningRate = "LEARNING_RATE";
inline constexpr std::string_view showEvals = "SHOW_EVALS";
inline constexpr std::string_view showBest = "SHOW_BEST";
inline constexpr std::string_view searchThreads = "SEARCH_THREADS";

} // namespace SettingsKeys
