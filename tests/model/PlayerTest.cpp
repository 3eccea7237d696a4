#include "model/Player.h"
#include "model/Game.h"

#include <gtest/gtest.h>

namespace {

TEST(Player, DefaultMoveIsTheFirstEmptyCellInReadingOrder) {
    // Player 2's stones fill the first row; the replay puts Player 1's between them.
    Hex::Game game(3, std::vector<Hex::Coord>{{2, 2}, {0, 0}, {2, 1}, {0, 1}, {1, 2}, {0, 2}});
    Player player("Player 1");
    player.setGame(&game);
    Event stop(Event::Mode::ManualReset);
    EXPECT_EQ(player.getMove(stop), (Hex::Coord{1, 0}));
    EXPECT_EQ(player.askSwap(stop), Player::takeSwap);
    EXPECT_EQ(player.name(), "Player 1");
}

TEST(Player, FullBoardOrNoGameGivesNoMove) {
    Hex::Game game(2, std::vector<Hex::Coord>{{0, 0}, {0, 1}, {1, 0}, {1, 1}});
    Player player("p");
    Event stop(Event::Mode::ManualReset);
    EXPECT_EQ(player.getMove(stop), Hex::noMove);
    player.setGame(&game);
    EXPECT_EQ(player.getMove(stop), Hex::noMove);
}

} // namespace
