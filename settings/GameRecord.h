#pragma once

#include "model/Coord.h"

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Hex {
class Game;
}

// A game record: the board size and the move list of one game, as a text file of CR LF
// lines: the size, then one "row.col" line per move ("N.N" is the swap marker).
struct GameRecord {
    std::uint32_t size = 0;
    std::vector<Hex::Coord> moves;

    // The largest size a record may name; larger ones are rejected so that a hostile record
    // cannot make the program allocate a huge board.
    static constexpr std::uint32_t maxSize = 30;

    // Parses a record's bytes with every check of the Open command; nullopt when rejected.
    static std::optional<GameRecord> parse(std::string_view bytes);

    // Checks the move lines (the lines after the size, without their line ends) of a
    // record of the given size; nullopt when any is rejected.
    static std::optional<std::vector<Hex::Coord>>
    parseMoveLines(std::uint32_t size, const std::vector<std::string_view>& lines);

    // Reads and parses a record file; nullopt when it cannot be read or is rejected.
    static std::optional<GameRecord> readFile(const std::filesystem::path& path);

    // "%Y%m%d%H%M%S_quorlen_save_file.txt" of the given time in local time.
    static std::string fileName(std::time_t when);

    // Writes the game's record into the directory under fileName(now), replacing the file
    // whole; false when nothing could be written (the old file, if any, stays).
    static bool save(const std::filesystem::path& directory, const Hex::Game& game);

    // The record's file content: the size and one "row.col" line per move, each ending in
    // CR LF.
    std::string text() const;

    // The replayed game of this record (never run).
    std::unique_ptr<Hex::Game> replay() const;
};
