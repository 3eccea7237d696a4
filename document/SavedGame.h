#pragma once

#include "mcts/MoveAnalysis.h"
#include "model/Coord.h"
#include "sgf/GameVariation.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// A game as Save As writes it: SGF when the file name ends in ".sgf" (in any case), with the
// result when the game was won or resigned and the variations as branches; otherwise a game
// record, which holds the game's moves only.
struct SavedGame {
    std::uint32_t size = 0;
    std::vector<Hex::Coord> moves;
    int winner = 0;   // the side whose chain joins its edges, 0 for none
    int resigned = 0; // the side that gave the game up, 0 for none
    std::vector<GameVariation> variations;
    // The analysis of the first moves, kept in an SGF file (see SgfAnalysis); may be empty.
    std::vector<MoveAnalysis> analysis;

    static bool isSgfName(const std::filesystem::path& file);

    // The SGF text, or nullopt and the reason when the moves do not form a legal game (a
    // record may name a cell twice).
    std::optional<std::string> sgfText(std::string& problem) const;
    // Writes the file whole in the format its name asks for; empty on success, else what
    // went wrong.
    std::string write(const std::filesystem::path& file) const;
};
