#include "gtp/GenmoveGame.h"

#include "gtp/GenmoveSide.h"
#include "model/Game.h"

#include <deque>

std::optional<Hex::Coord> GenmoveGame::play(std::uint32_t size,
                                            const std::vector<Hex::Coord>& moves, Player& computer,
                                            InterruptGate& gate, bool swapOffered) {
    const auto n = static_cast<std::int32_t>(size);
    const Hex::Coord swapMarker{n, n};
    std::deque<Hex::Coord> black;
    std::deque<Hex::Coord> white;
    std::optional<bool> swapTaken;
    for (std::size_t i = 0; i < moves.size(); ++i) {
        if (i == 1) {
            swapTaken = moves[i] == swapMarker;
        }
        if (moves[i] != swapMarker) {
            (i % 2 == 0 ? black : white).push_back(moves[i]);
        }
    }
    if (!swapOffered && !swapTaken) {
        swapTaken = false;
    }
    const bool blackToMove = moves.size() % 2 == 0;
    GenmoveSide player1(std::move(black), std::nullopt, blackToMove ? &computer : nullptr, gate);
    GenmoveSide player2(std::move(white), swapTaken, blackToMove ? nullptr : &computer, gate);
    Hex::Game game(size, nullptr);
    game.setPlayer1(&player1);
    game.setPlayer2(&player2);
    game.run();
    return blackToMove ? player1.answer() : player2.answer();
}
