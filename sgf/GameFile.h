#pragma once

#include "mcts/MoveAnalysis.h"
#include "settings/GameRecord.h"
#include "sgf/SgfGame.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A game file as the program opens it: a game record or an SGF game, told by the content.
// An SGF file starts with '(' (after a byte-order mark and white space), which no record
// does; anything else is read as a record.
//  - A record is read with the checks of the window's Open and no others: its moves need
//    not form a legal game (a cell may occur twice), as Open has always allowed.
//  - An SGF file is read by SgfGame: its record is always a legal game, and the notes say
//    what was read in a way worth telling (a swap-sides game, setup stones placed as moves,
//    variations left out) or not kept (a final resignation).
//
// Thread contract: none; the functions keep no state.
class GameFile {
public:
    struct Reading {
        std::optional<GameRecord> record;
        std::string error;              // why there is no record: one line for the user
        std::vector<std::string> notes; // one line each, for the user; may come with either
        SgfGame::Info info;             // an SGF file's players and result; empty for a record
        // The review written with an SGF game (see SgfAnalysis); empty when there is none.
        std::vector<MoveAnalysis> analysis;
        // An SGF game's variations, as SgfGame reads them; a record has none.
        std::vector<GameVariation> variations;
        bool variationsLeftOut = false;
    };

    // Reads the file whole (see FileText::readAll); a file that cannot be read gives the
    // error "cannot be read".
    static Reading read(const std::filesystem::path& path);
    // The same for bytes already read.
    static Reading parse(std::string_view bytes);
    // As parse(), but a record must also be a legal game, as an SGF game always is: what
    // the commands that convert or review a game take.
    static Reading parseGame(std::string_view bytes);
    static bool looksLikeSgf(std::string_view bytes);
};
