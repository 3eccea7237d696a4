#include "sgf/SgfGame.h"

#include "notation/GamePosition.h"
#include "notation/HexNotation.h"
#include "notation/ProgramVersion.h"
#include "notation/ProtocolText.h"
#include "sgf/SgfError.h"
#include "sgf/SgfSetup.h"
#include "sgf/SgfTree.h"

#include <algorithm>
#include <span>

namespace {

using Node = SgfTree::Node;
using Property = SgfTree::Property;

std::uint32_t boardSize(const Node& root) {
    if (const Property* game = SgfTree::find(root, "GM")) {
        if (ProtocolText::wholeNumber(ProtocolText::trimmed(game->values.front())) != 11) {
            throw SgfError{"not a Hex game: GM[" + SgfError::shown(game->values.front()) +
                           "] (Hex is GM[11])"};
        }
    }
    const Property* size = SgfTree::find(root, "SZ");
    if (size == nullptr) {
        throw SgfError{"the game names no board size (SZ)"};
    }
    const std::string text = ProtocolText::trimmed(size->values.front());
    const std::size_t colon = text.find(':');
    const std::optional<int> width =
        ProtocolText::wholeNumber(ProtocolText::trimmed(text.substr(0, colon)));
    const std::optional<int> height =
        colon == std::string::npos
            ? width
            : ProtocolText::wholeNumber(ProtocolText::trimmed(text.substr(colon + 1)));
    const std::string shown = "SZ[" + SgfError::shown(text) + "]";
    if (!width || !height) {
        throw SgfError{shown + " is not a board size"};
    }
    if (*width != *height) {
        throw SgfError{shown + ": boards that are not square are not supported"};
    }
    if (*width < 1 || static_cast<std::uint32_t>(*width) > GameRecord::maxSize) {
        throw SgfError{shown + ": board sizes are 1 to " + std::to_string(GameRecord::maxSize)};
    }
    return static_cast<std::uint32_t>(*width);
}

SgfGame::Info infoOf(const Node& root) {
    SgfGame::Info info;
    const std::pair<const char*, std::string*> infos[] = {
        {"PB", &info.black}, {"PW", &info.white}, {"RE", &info.result}};
    for (const auto& [name, value] : infos) {
        if (const Property* property = SgfTree::find(root, name)) {
            *value = property->values.front();
        }
    }
    return info;
}

std::string colourTitle(int side) {
    return side == 1 ? "Black" : "White";
}

std::string resignationNote(int side) {
    return colourTitle(side) + "'s resignation at the end is not kept";
}

std::string colourLetter(int side) {
    return side == 1 ? "B" : "W";
}

Hex::Coord mirrored(Hex::Coord cell) {
    return Hex::Coord{cell.col, cell.row};
}

bool isSwap(std::string_view value) {
    return value == "swap" || value == "swap-pieces" || value == "swap-sides";
}

struct Move {
    int side = 0;
    std::string value; // lower case
    std::string label; // how messages name it: "move 3 (W[c9])"
};

// The node's move, if it has one; number counts the moves from 1.
std::optional<Move> moveOf(const Node& node, std::size_t number) {
    const Property* black = SgfTree::find(node, "B");
    const Property* white = SgfTree::find(node, "W");
    if (black != nullptr && white != nullptr) {
        throw SgfError{"a node holds both a Black and a White move"};
    }
    const Property* move = black != nullptr ? black : white;
    if (move == nullptr) {
        return std::nullopt;
    }
    if (move->values.size() != 1) {
        throw SgfError{move->name + " holds more than one move"};
    }
    const int side = black != nullptr ? 1 : 2;
    std::string value = ProtocolText::lowerCase(ProtocolText::trimmed(move->values.front()));
    std::string label = "move " + std::to_string(number) + " (" + colourLetter(side) + "[" +
                        SgfError::shown(value) + "])";
    return Move{side, std::move(value), std::move(label)};
}

// The main line split at its first move: the nodes before it may set up stones, the moves
// follow.
struct MainLineParts {
    std::span<const Node> setup;
    std::vector<Move> moves;
};

MainLineParts splitAtFirstMove(const std::vector<Node>& nodes) {
    MainLineParts parts{nodes, {}};
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (i > 0 && SgfTree::find(nodes[i], "SZ") != nullptr) {
            throw SgfError{"SZ may only stand in the first node"};
        }
        std::optional<Move> move = moveOf(nodes[i], parts.moves.size() + 1);
        if (move && parts.moves.empty()) {
            parts.setup = parts.setup.first(i);
        }
        if (move || !parts.moves.empty()) {
            for (const char* setup : {"AB", "AW", "AE"}) {
                if (SgfTree::find(nodes[i], setup) != nullptr) {
                    throw SgfError{std::string("setup stones (") + setup +
                                   ") from the first move on are not supported"};
                }
            }
        }
        if (move) {
            parts.moves.push_back(std::move(*move));
        }
    }
    return parts;
}

std::string exchangedColour(std::string result) {
    static constexpr std::string_view from = "BWbw";
    static constexpr std::string_view to = "WBwb";
    if (!result.empty() && from.find(result.front()) != std::string_view::npos) {
        result.front() = to[from.find(result.front())];
    }
    return result;
}

// A swap followed by another move of the swapping colour records a swap of sides: the
// stone stays and the players change colours. Mirroring every later move and exchanging its
// colour turns it into the same game with the piece swap.
bool readSwapOfSides(std::uint32_t size, std::vector<Move>& moves, SgfGame::Reading& reading) {
    if (moves.size() < 2 || !isSwap(moves[1].value)) {
        return false;
    }
    const int swapper = moves[1].side;
    if (moves.size() == 2 || moves[2].side != swapper) {
        if (moves[1].value == "swap-sides" && moves.size() > 2) {
            throw SgfError{moves[2].label + ": after swap-sides " + colourTitle(swapper) +
                           " moves again"};
        }
        return false;
    }
    for (std::size_t i = 2; i < moves.size(); ++i) {
        Move& move = moves[i];
        move.side = 3 - move.side;
        if (const std::optional<Hex::Coord> cell = HexNotation::parseCell(move.value, size)) {
            move.value = HexNotation::cellName(mirrored(*cell));
            move.label.insert(move.label.size() - 1,
                              ", read as " + colourLetter(move.side) + "[" + move.value + "]");
        }
    }
    reading.info.result = exchangedColour(reading.info.result);
    reading.notes.push_back("the swap is read as a swap of sides, since " + colourTitle(swapper) +
                            " moves again after it: it becomes a piece swap, and every later "
                            "move is mirrored and played by the other colour");
    return true;
}

// Plays the moves on the position; a final resignation is noted, not played.
void playMoves(GamePosition& position, const std::vector<Move>& moves,
               std::vector<std::string>& notes) {
    for (std::size_t i = 0; i < moves.size(); ++i) {
        const Move& move = moves[i];
        if (move.value == "resign") {
            if (i + 1 != moves.size()) {
                throw SgfError{move.label + ": moves follow a resignation"};
            }
            notes.push_back(resignationNote(move.side));
            break;
        }
        const std::optional<Hex::Coord> cell =
            isSwap(move.value) ? HexNotation::swapMarker(position.size())
                               : HexNotation::parseCell(move.value, position.size());
        if (!cell) {
            throw SgfError{move.label + ": not a cell of a board of size " +
                           std::to_string(position.size())};
        }
        const std::string why = position.refusal(move.side, *cell);
        if (!why.empty()) {
            throw SgfError{move.label + ": " + why};
        }
        position.play(*cell);
    }
}

// Whether the game was read as a swap of sides.
bool readGame(std::uint32_t size, std::vector<Move> moves, SgfGame::Reading& reading) {
    const bool swapOfSides = readSwapOfSides(size, moves, reading);
    GamePosition position(size);
    playMoves(position, moves, reading.notes);
    reading.record = GameRecord{size, position.moves()};
    return swapOfSides;
}

// How many moves the main line holds before each of its nodes, and after the last.
std::vector<std::size_t> movesBefore(const std::vector<Node>& nodes) {
    std::vector<std::size_t> counts{0};
    for (const Node& node : nodes) {
        const bool move =
            SgfTree::find(node, "B") != nullptr || SgfTree::find(node, "W") != nullptr;
        counts.push_back(counts.back() + (move ? 1 : 0));
    }
    return counts;
}

// The branch's moves played on the position at its branch point; none when it holds no move.
std::vector<Hex::Coord> variationMoves(GamePosition& position, const std::vector<Node>& nodes) {
    const std::size_t branch = position.moves().size();
    std::vector<Move> moves;
    for (const Node& node : nodes) {
        for (const char* setup : {"AB", "AW", "AE"}) {
            if (SgfTree::find(node, setup) != nullptr) {
                throw SgfError{"a variation sets up stones"};
            }
        }
        if (std::optional<Move> move = moveOf(node, branch + moves.size() + 1)) {
            moves.push_back(std::move(*move));
        }
    }
    std::vector<std::string> notes; // a final resignation is not kept, as in the game
    playMoves(position, moves, notes);
    return {position.moves().begin() + static_cast<std::ptrdiff_t>(branch), position.moves().end()};
}

// The variations of a plain game, by branch point; the branches of a game read otherwise are
// left out. One position walks along the game, and each variation's moves are taken back
// after it, so that the work grows with the file's moves and not with their product.
void readVariations(const SgfTree::MainLine& line, bool plainGame, SgfGame::Reading& reading) {
    reading.variationsLeftOut = line.branchesDropped || (!plainGame && !line.branches.empty());
    if (!plainGame) {
        return;
    }
    std::vector<const SgfTree::Branch*> branches;
    for (const SgfTree::Branch& branch : line.branches) {
        branches.push_back(&branch);
    }
    std::stable_sort(branches.begin(), branches.end(),
                     [](const auto* a, const auto* b) { return a->after < b->after; });
    const std::vector<std::size_t> before = movesBefore(line.nodes);
    const GameRecord& game = *reading.record;
    GamePosition position(game.size);
    for (const SgfTree::Branch* branch : branches) {
        const std::size_t point = before[branch->after];
        if (point > game.moves.size()) {
            reading.variationsLeftOut = true; // after the game's resignation
            continue;
        }
        while (position.moves().size() < point) {
            position.play(game.moves[position.moves().size()]);
        }
        try {
            std::vector<Hex::Coord> moves = variationMoves(position, branch->nodes);
            if (!moves.empty()) {
                reading.variations.push_back({point, std::move(moves)});
            }
        } catch (const SgfError&) {
            reading.variationsLeftOut = true;
        }
        while (position.moves().size() > point) {
            position.undo();
        }
    }
}

// The setup stones with the moves after them placed as they stand: each move on an empty
// cell, the colours alternating from the side to move.
SgfGame::Setup setupPosition(const SgfSetup& setup, int toMove, const std::vector<Move>& moves,
                             std::vector<std::string> notes) {
    SgfGame::Setup position{setup.board(), toMove, Hex::noMove, std::move(notes)};
    for (std::size_t i = 0; i < moves.size(); ++i) {
        const Move& move = moves[i];
        if (move.value == "resign" && i + 1 == moves.size()) {
            position.notes.push_back(resignationNote(move.side));
            break;
        }
        if (isSwap(move.value)) {
            throw SgfError{move.label + ": a swap after setup stones is not supported"};
        }
        const std::optional<Hex::Coord> cell =
            HexNotation::parseCell(move.value, position.board.size());
        if (!cell) {
            throw SgfError{move.label + (move.value == "resign"
                                             ? ": moves follow a resignation"
                                             : ": not a cell of a board of size " +
                                                   std::to_string(position.board.size()))};
        }
        if (move.side != position.toMove) {
            throw SgfError{move.label + ": " +
                           std::string(HexNotation::colourName(position.toMove)) + " is to move"};
        }
        if (!position.board.isEmpty(cell->row, cell->col)) {
            throw SgfError{move.label + ": cell " + HexNotation::cellName(*cell) + " is occupied"};
        }
        position.board.cell(cell->row, cell->col, move.side);
        position.lastMove = *cell;
        position.toMove = 3 - move.side;
    }
    return position;
}

void readSetupGame(std::uint32_t size, const SgfSetup& setup, const std::vector<Move>& moves,
                   SgfGame::Reading& reading) {
    const int toMove = setup.player()   ? *setup.player()
                       : !moves.empty() ? moves.front().side
                                        : setup.sideByCounts();
    reading.setup = setupPosition(setup, toMove, moves, reading.notes);

    const std::vector<Hex::Coord> setupMoves = setup.gameMoves(toMove);
    GamePosition position(size);
    const std::string why = position.playAll(setupMoves);
    if (!why.empty()) {
        throw SgfError{"the setup stones are no game: " + why};
    }
    std::vector<std::string> notes;
    if (std::string note = setup.conversionNote(toMove); !note.empty()) {
        notes.push_back(std::move(note));
    }
    playMoves(position, moves, notes);
    reading.notes.insert(reading.notes.end(), notes.begin(), notes.end());
    reading.record = GameRecord{size, position.moves()};
    reading.setupMoves = setupMoves.size();
}

std::string escaped(std::string_view text) {
    std::string value;
    for (const char c : text) {
        if (c == ']' || c == '\\') {
            value += '\\';
        }
        value += c;
    }
    return value;
}

std::string moveNode(Hex::Coord move, std::size_t index, std::uint32_t size) {
    return (index % 2 == 0 ? ";B[" : ";W[") + HexNotation::moveName(move, size) + "]";
}

// The game's line after its first k moves, `line`, followed by the variations that leave
// it there as SGF branches; as it is when none does.
std::string branchedAt(std::size_t k, const std::string& line, std::uint32_t size,
                       const std::vector<GameVariation>& variations) {
    std::string branches;
    for (const GameVariation& variation : variations) {
        if (variation.branch != k || variation.moves.empty()) {
            continue;
        }
        branches += "(";
        for (std::size_t i = 0; i < variation.moves.size(); ++i) {
            branches += moveNode(variation.moves[i], k + i, size);
        }
        branches += ")";
    }
    if (branches.empty()) {
        return line;
    }
    return "(" + (line.empty() ? std::string(";") : line) + ")" + branches;
}

} // namespace

std::string SgfGame::write(const GameRecord& record, const Info& info,
                           const std::vector<std::string>& moveProperties,
                           const std::vector<GameVariation>& variations) {
    std::string text = "(;FF[4]GM[11]SZ[" + std::to_string(record.size) +
                       "]AP[Quorlen:" + std::string(programVersion) + "]";
    const std::pair<const char*, const std::string*> infos[] = {
        {"PB", &info.black}, {"PW", &info.white}, {"RE", &info.result}};
    for (const auto& [name, value] : infos) {
        if (!value->empty()) {
            text += std::string(name) + "[" + escaped(*value) + "]";
        }
    }
    // The game after its first k moves, with the variations that leave it there or later,
    // built from the end.
    const std::size_t count = record.moves.size();
    std::string rest = branchedAt(count, "", record.size, variations);
    for (std::size_t k = count; k-- > 0;) {
        std::string node = moveNode(record.moves[k], k, record.size);
        if (k < moveProperties.size()) {
            node += moveProperties[k];
        }
        rest = branchedAt(k, node + rest, record.size, variations);
    }
    return text + rest + ")\n";
}

SgfGame::Reading SgfGame::read(std::string_view text) {
    Reading reading;
    try {
        const SgfTree::MainLine line = SgfTree::read(text);
        if (line.variations) {
            reading.notes.emplace_back(variationsNote);
        }
        const Node& root = line.nodes.front();
        const std::uint32_t size = boardSize(root);
        reading.info = infoOf(root);
        MainLineParts parts = splitAtFirstMove(line.nodes);
        const SgfSetup setup(size, parts.setup);
        if (setup.present()) {
            readSetupGame(size, setup, parts.moves, reading);
            readVariations(line, false, reading);
        } else {
            const bool swapOfSides = readGame(size, std::move(parts.moves), reading);
            readVariations(line, !swapOfSides, reading);
        }
    } catch (const SgfError& error) {
        reading.record.reset();
        reading.variations.clear();
        reading.error = error.message;
    }
    return reading;
}
