#include "cli/DemoCommand.h"

#include "model/BoardText.h"
#include "model/Exception.h"
#include "model/Game.h"
#include "model/Player.h"

#include <CLI/CLI.hpp>

#include <iostream>

namespace {

// Prints the position after every move.
class PrintingObserver : public Hex::GameObserver {
public:
    explicit PrintingObserver(const Hex::Game*& game) : m_game(game) {}
    void onGameChanged() override {
        const std::size_t moveCount = m_game->moves().size();
        if (moveCount == m_printed) {
            return; // the end-of-game notification repeats the last position
        }
        m_printed = moveCount;
        const Hex::Coord last = m_game->lastMove();
        std::cout << "move " << moveCount << ": (" << last.row << ", " << last.col << ")\n"
                  << Hex::toText(m_game->board()) << '\n';
    }

private:
    const Hex::Game*& m_game;
    std::size_t m_printed = 0;
};

int runDemo(unsigned size) {
    Player first("Player 1");
    Player second("Player 2");
    const Hex::Game* current = nullptr;
    PrintingObserver observer(current);
    Hex::Game game(size, &observer);
    current = &game;
    game.setPlayer1(&first);
    game.setPlayer2(&second);
    try {
        const int winner = game.run();
        std::cout << "winner: " << winner << "\nwinning chain:";
        for (const Hex::Coord cell : game.winningPath()) {
            std::cout << " (" << cell.row << ", " << cell.col << ")";
        }
        std::cout << '\n';
    } catch (const Hex::Exception& error) {
        std::cerr << error.message() << '\n';
        return 1;
    }
    return 0;
}

} // namespace

void addDemoCommand(CLI::App& app, int& exitCode) {
    auto* demo = app.add_subcommand("demo", "Play a game between two first-empty-cell players");
    auto size = std::make_shared<unsigned>(5);
    demo->add_option("--size", *size, "Board side, 3 to 30")->check(CLI::Range(3u, 30u));
    demo->callback([size, &exitCode] { exitCode = runDemo(*size); });
}
