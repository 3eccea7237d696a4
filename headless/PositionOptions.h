#pragma once

#include "engine/Weights.h"
#include "headless/BoardPosition.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace CLI {
class App;
class Option;
} // namespace CLI

// The options that name a position and the weights to judge it with, shared by the commands
// that analyse or search one position:
//     --size N [--moves "r.c,r.c,..."]  or  --record FILE  or  --sgf FILE [--to-move SIDE]
//     [--weights w0,w1,w2,w3] [--weights-file FILE]
// The moves are a record's move lines joined by commas and are checked as a record's are,
// and also refused when one puts a stone on a taken cell. A record is read as the window's
// Open reads it, with the record's checks only: a cell that occurs twice holds the later
// stone, a late swap marker swaps the first stone, and a note says where such a record
// departs from a legal game. An SGF file gives its game, or its setup stones as they stand
// when it sets up a position; the side to move is then --to-move's, PL's, or the one the
// stone counts tell.
class PositionOptions {
public:
    // Bad input: the message names the problem and becomes the command's one line on stderr.
    class BadInput : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    // Registers the options on a command; this object must outlive the parse.
    void addTo(CLI::App& command);

    // The position named; throws BadInput, or a Hex::Exception when the moves do not fit
    // the board. What reading an SGF file noted goes into notes, one line each.
    BoardPosition position(std::vector<std::string>& notes) const;
    // The default weights, --weights, or the weights file read as a computer player reads
    // it (the file wins over --weights).
    Weights weights() const;

private:
    CLI::Option* m_size = nullptr;
    CLI::Option* m_moves = nullptr;
    CLI::Option* m_record = nullptr;
    CLI::Option* m_sgf = nullptr;
    CLI::Option* m_toMove = nullptr;
    CLI::Option* m_weights = nullptr;
    CLI::Option* m_weightsFile = nullptr;
    std::string m_sizeText;
    std::string m_movesText;
    std::string m_recordPath;
    std::string m_sgfPath;
    std::string m_toMoveText;
    std::string m_weightsText;
    std::string m_weightsPath;
};
