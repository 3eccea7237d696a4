#include "headless/PositionOptions.h"

#include "model/Exception.h"
#include "model/Game.h"
#include "notation/GamePosition.h"
#include "notation/HexNotation.h"
#include "notation/ProtocolText.h"
#include "players/WeightsFile.h"
#include "settings/FileText.h"
#include "settings/GameRecord.h"
#include "sgf/SgfGame.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

using BadInput = PositionOptions::BadInput;

std::string_view trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

template <typename Number>
std::optional<Number> parseWhole(std::string_view text) {
    Number value{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || stop != end) {
        return std::nullopt;
    }
    return value;
}

std::uint32_t parseSize(const std::string& text) {
    const std::optional<int> size = parseWhole<int>(trimBlanks(text));
    if (!size || *size < 1 || *size > static_cast<int>(GameRecord::maxSize)) {
        throw BadInput("--size must be a whole number from 1 to 30, not '" + text + "'");
    }
    return static_cast<std::uint32_t>(*size);
}

Weights parseWeights(const std::string& text) {
    const std::vector<std::string_view> parts = ProtocolText::split(text, ',');
    const std::string problem =
        "--weights needs four finite decimal numbers separated by commas, not '" + text + "'";
    if (parts.size() != 4) {
        throw BadInput(problem);
    }
    Weights weights{};
    for (std::size_t k = 0; k < weights.size(); ++k) {
        const std::optional<double> weight = parseWhole<double>(trimBlanks(parts[k]));
        if (!weight || !std::isfinite(*weight)) {
            throw BadInput(problem);
        }
        weights[k] = *weight;
    }
    return weights;
}

// As a computer player reads it: the defaults, then as many numbers as the file holds. Only
// a file that cannot be read at all is refused, since the user named it.
Weights readWeightsFile(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) || !std::ifstream(path)) {
        throw BadInput("cannot read the weights file '" + path + "'");
    }
    Weights weights = defaultWeights;
    WeightsFile::read(path, weights);
    return weights;
}

// The first move that no legal game makes, in a few words ("move 3 (2.2) goes on a taken
// cell"); empty when the moves are a legal game.
std::string firstIllegalMove(std::uint32_t size, const std::vector<Hex::Coord>& moves) {
    const Hex::Coord swapMarker = HexNotation::swapMarker(size);
    GamePosition game(size);
    for (std::size_t i = 0; i < moves.size(); ++i) {
        const Hex::Coord move = moves[i];
        const std::string named = "move " + std::to_string(i + 1) + " (" +
                                  std::to_string(move.row) + "." + std::to_string(move.col) + ")";
        if (game.winner() != 0) {
            return named + " comes after the game was won";
        }
        if (move == swapMarker) {
            if (i != 1) {
                return named + " is a swap, which only the second move may be";
            }
        } else if (!game.board().isEmpty(move.row, move.col)) {
            return named + " goes on a taken cell";
        }
        game.play(move);
    }
    return "";
}

// A game record as the window's Open reads it: the record's own checks were the only ones,
// and the replay puts every stone where its move says (a cell that occurs twice holds the
// later stone) and every swap marker swaps the first stone. A record that no legal game
// makes is taken all the same, with a note that says where it departs from one.
BoardPosition recordPosition(const GameRecord& record, const std::string& path,
                             std::vector<std::string>& notes) {
    const std::string departure = firstIllegalMove(record.size, record.moves);
    if (!departure.empty()) {
        notes.push_back("the game record '" + path + "' is no legal game: " + departure +
                        "; it is read as the window's Open reads it");
    }
    const std::unique_ptr<Hex::Game> game = record.replay();
    return BoardPosition::ofGame(*game);
}

// The game's replay puts each stone where its move says, even on a stone already there,
// which would give a position no game reaches. The swap marker is left to the replay.
BoardPosition gamePosition(std::uint32_t size, const std::vector<Hex::Coord>& moves,
                           const std::string& source) {
    const Hex::Coord swapMarker = HexNotation::swapMarker(size);
    for (std::size_t i = 0; i < moves.size(); ++i) {
        const Hex::Coord move = moves[i];
        if (move == swapMarker) {
            continue;
        }
        const std::vector<Hex::Coord> before(moves.begin(), moves.begin() + i);
        if (!Hex::Game(size, before).board().isEmpty(move.row, move.col)) {
            throw BadInput(source + " is no game: move " + std::to_string(i + 1) + " (" +
                           std::to_string(move.row) + "." + std::to_string(move.col) +
                           ") goes on a taken cell");
        }
    }
    const Hex::Game game(size, moves);
    return BoardPosition::ofGame(game);
}

// A file with setup stones is taken as it stands, even when it is also a game: its stones
// were placed, not played, so no move of theirs is the last one.
BoardPosition sgfPosition(const std::string& path, std::optional<int> toMove,
                          std::vector<std::string>& notes) {
    const std::optional<std::string> bytes = FileText::readAll(path);
    if (!bytes) {
        throw BadInput("cannot read the SGF file '" + path + "'");
    }
    SgfGame::Reading reading = SgfGame::read(*bytes);
    if (reading.setup) {
        SgfGame::Setup& setup = *reading.setup;
        setup.toMove = toMove.value_or(setup.toMove);
        if (setup.toMove == 0) {
            throw BadInput("the SGF file '" + path +
                           "' does not tell whose turn it is (no PL, and the numbers of Black "
                           "and White stones differ by more than one): give --to-move");
        }
        notes.insert(notes.end(), setup.notes.begin(), setup.notes.end());
        return BoardPosition{std::move(setup.board), setup.toMove, setup.lastMove};
    }
    if (!reading.record) {
        throw BadInput("the SGF file '" + path + "': " + reading.error);
    }
    if (toMove) {
        throw BadInput("--to-move is for positions set up with stones; the moves of the game in '" +
                       path + "' say whose turn it is");
    }
    notes.insert(notes.end(), reading.notes.begin(), reading.notes.end());
    return gamePosition(reading.record->size, reading.record->moves, "the SGF file '" + path + "'");
}

std::optional<int> parseSide(const std::string& text) {
    const std::optional<int> side = HexNotation::parseColour(text);
    if (!side) {
        throw BadInput("--to-move must be black or white, not '" + text + "'");
    }
    return side;
}

} // namespace

void PositionOptions::addTo(CLI::App& command) {
    m_size = command.add_option("--size", m_sizeText, "Board side, 1 to 30");
    m_moves = command.add_option(
        "--moves", m_movesText,
        "Moves as a record's move lines joined by commas: \"r.c,r.c,...\" (N.N is the swap)");
    m_record = command.add_option("--record", m_recordPath, "A game record file");
    m_sgf = command.add_option("--sgf", m_sgfPath,
                               "An SGF file: its game, or its setup stones as they stand");
    m_toMove = command.add_option(
        "--to-move", m_toMoveText,
        "black or white: the side to move of an SGF file's setup stones, over PL and the counts");
    m_weights = command.add_option("--weights", m_weightsText,
                                   "The four weights: w0,w1,w2,w3 (default the built-in)");
    m_weightsFile = command.add_option("--weights-file", m_weightsPath,
                                       "A weights file (four numbers); wins over --weights");
    m_moves->needs(m_size);
    m_record->excludes(m_size);
    m_record->excludes(m_moves);
    m_sgf->excludes(m_size);
    m_sgf->excludes(m_moves);
    m_sgf->excludes(m_record);
    m_toMove->needs(m_sgf);
}

BoardPosition PositionOptions::position(std::vector<std::string>& notes) const {
    if (m_sgf->count() > 0) {
        return sgfPosition(m_sgfPath,
                           m_toMove->count() > 0 ? parseSide(m_toMoveText) : std::nullopt, notes);
    }
    if (m_record->count() > 0) {
        const std::optional<GameRecord> record = GameRecord::readFile(m_recordPath);
        if (!record) {
            throw BadInput("the game record '" + m_recordPath +
                           "' cannot be read or is not a valid record");
        }
        return recordPosition(*record, m_recordPath, notes);
    }
    if (m_size->count() == 0) {
        throw BadInput("give the position with --size (and --moves), --record or --sgf");
    }
    const std::uint32_t size = parseSize(m_sizeText);
    std::vector<Hex::Coord> moves;
    if (!m_movesText.empty()) {
        const std::optional<std::vector<Hex::Coord>> parsed =
            GameRecord::parseMoveLines(size, ProtocolText::split(m_movesText, ','));
        if (!parsed) {
            throw BadInput("--moves '" + m_movesText + "' is not a valid move list for size " +
                           std::to_string(size));
        }
        moves = *parsed;
    }
    return gamePosition(size, moves, "--moves '" + m_movesText + "'");
}

Weights PositionOptions::weights() const {
    if (m_weightsFile->count() > 0) {
        return readWeightsFile(m_weightsPath);
    }
    if (m_weights->count() > 0) {
        return parseWeights(m_weightsText);
    }
    return defaultWeights;
}
