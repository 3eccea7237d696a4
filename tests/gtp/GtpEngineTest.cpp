#include "gtp/GtpEngine.h"

#include "GtpScript.h"
#include "engine/IntersectionMove.h"
#include "engine/PathFinder.h"
#include "model/BoardText.h"
#include "notation/HexNotation.h"
#include "players/ComputerPlayer.h"
#include "players/ExpertPlayer.h"
#include "support/EnginePrinters.h"
#include "support/RecordingSink.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Hex::Coord;

class GtpEngineTest : public testing::Test {
protected:
    GtpEngine::Options options(Strength strength = Strength::easy) {
        GtpEngine::Options chosen;
        chosen.strength = strength;
        chosen.weightsFile = directory / "quorlen.dat";
        chosen.seed = 11;
        chosen.pause = [](std::chrono::milliseconds) {};
        chosen.messages = &sink;
        return chosen;
    }

    // The text of a successful reply, "?" and the message of a failed one.
    static std::string answer(GtpEngine& engine, const std::string& line) {
        const GtpEngine::Reply reply = engine.execute(*GtpCommand::parse(line));
        return reply.success ? reply.text : "? " + reply.text;
    }

    // Sends the lines in turn, which should all succeed: the first failure with its command,
    // or "" when every line succeeded.
    static std::string accepts(GtpEngine& engine, std::initializer_list<std::string> lines) {
        for (const std::string& line : lines) {
            const std::string reply = answer(engine, line);
            if (!reply.empty()) {
                return line + ": " + reply;
            }
        }
        return "";
    }

    TempDirectory directory;
    RecordingSink sink;
};

TEST_F(GtpEngineTest, GoldenSession) {
    GtpEngine engine(options());
    const std::string script = "protocol_version\n"
                               "1 name\n"
                               "known_command genmove\n"
                               "known_command kgs-genmove_cleanup\n"
                               "boardsize 5\n"
                               "play b b3\n"
                               "play w swap\n"
                               "showboard\n"
                               "# a comment, and an empty line, get no reply\n"
                               "\n"
                               "genmove b\n"
                               "frobnicate\n"
                               "play b\n"
                               "quit\n"
                               "name\n";
    LiveSession session(engine);
    session.send(script);
    session.closeInput();
    EXPECT_EQ(session.finish(), "= 2\n\n"
                                "=1 Quorlen\n\n"
                                "= true\n\n"
                                "= false\n\n"
                                "= \n\n"
                                "= \n\n"
                                "= \n\n"
                                "= \n"
                                "   a b c d e\n"
                                " 1 . . . . .\n"
                                " 2  . . O . .\n"
                                " 3   . . . . .\n"
                                " 4    . . . . .\n"
                                " 5     . . . . .\n\n"
                                "= e1\n\n"
                                "? unknown command\n\n"
                                "? syntax error: expected play COLOR MOVE\n\n"
                                "= \n\n");
}

// The easy White takes the swap of a stone in the middle; an edge stone it declines and
// opens itself.
TEST_F(GtpEngineTest, WhiteTakesTheSwapOfAStoneInTheMiddleOnly) {
    GtpEngine engine(options());
    ASSERT_EQ(accepts(engine, {"boardsize 10", "play b d5"}), ""); // row 4, column 3
    EXPECT_EQ(answer(engine, "genmove w"), "swap-pieces");
    EXPECT_EQ(engine.position().moves(), (std::vector<Coord>{{4, 3}, {10, 10}}));
    EXPECT_TRUE(sink.waitForStatus("Quorlen AI finished"));

    ASSERT_EQ(accepts(engine, {"clear_board", "play b a1"}), "");
    const std::string move = answer(engine, "genmove w");
    const std::optional<Coord> cell = HexNotation::parseCell(move, 10);
    ASSERT_TRUE(cell) << move;
    EXPECT_TRUE(cell->row >= 2 && cell->row <= 6 && cell->col >= 2 && cell->col <= 6) << move;
    EXPECT_EQ(engine.position().board().cell(cell->row, cell->col), 2);

    // The expert swaps the winning centre, but not once the front end switches the swap off.
    GtpEngine::Options chosen = options(Strength::expert);
    chosen.threads = 1;
    chosen.moveTime = std::chrono::milliseconds(100);
    GtpEngine expert(chosen);
    ASSERT_EQ(accepts(expert, {"boardsize 3", "play b b2"}), "");
    EXPECT_EQ(answer(expert, "genmove w"), "swap-pieces");
    ASSERT_EQ(accepts(expert, {"param_game allow_swap 0", "clear_board", "play b b2"}), "");
    const std::string reply = answer(expert, "genmove w");
    EXPECT_TRUE(HexNotation::parseCell(reply, 3).has_value()) << reply;
}

TEST_F(GtpEngineTest, TheSwapCanBeSwitchedOffAndOn) {
    GtpEngine::Options off = options();
    off.swap = false;
    GtpEngine engine(off);
    const std::pair<const char*, const char*> exchanges[] = {
        {"param_game", "[bool] allow_swap 0"},
        {"boardsize 10", ""},
        {"play b d5", ""},
        {"play w swap-pieces", "? illegal move: the swap is off"},
        {"param_game allow_swap 1", ""},
        {"param_game", "[bool] allow_swap 1"},
        {"play w swap-pieces", ""},
        {"param_game allow_swap 0", ""},
        {"param_game allow_swap maybe", "? syntax error: expected param_game allow_swap 0|1"},
        {"param_game komi 7", "? unknown parameter: komi"},
        {"boardsize 10", ""},
        {"play b d5", ""}};
    for (const auto& [command, reply] : exchanges) {
        EXPECT_EQ(answer(engine, command), reply) << command;
    }
    // With the swap off White answers a stone in the middle with a stone of its own, also on
    // the smallest board, where its one opening cell is Black's stone.
    EXPECT_TRUE(HexNotation::parseCell(answer(engine, "genmove w"), 10));
    ASSERT_EQ(accepts(engine, {"boardsize 3", "play b a1"}), "");
    const std::optional<Coord> cell = HexNotation::parseCell(answer(engine, "genmove w"), 3);
    ASSERT_TRUE(cell);
    EXPECT_NE(*cell, (Coord{0, 0}));
    EXPECT_EQ(engine.position().board().cell(cell->row, cell->col), 2);
}

TEST_F(GtpEngineTest, TheEasyMoveIsTheCrossingOfTheCheapestPaths) {
    GtpEngine engine(options());
    ASSERT_EQ(accepts(engine, {"boardsize 7", "play b d4", "play w c3", "play b e2", "play w d5"}),
              "");
    const Hex::Board before = engine.position().board();
    PathFinder player1(7, 0, 1);
    PathFinder player2(7, 1, 2);
    player1.setWeights(&defaultWeights);
    player2.setWeights(&defaultWeights);
    const Coord expected = intersectionMove(player1, player2, before);
    ASSERT_NE(expected, Hex::noMove);
    EXPECT_EQ(answer(engine, "genmove b"), HexNotation::cellName(expected));
}

TEST_F(GtpEngineTest, CommandsThatBreakTheRulesChangeNothing) {
    GtpEngine engine(options());
    const std::pair<const char*, const char*> exchanges[] = {
        {"boardsize 31", "? unacceptable size"},
        {"boardsize 2", "? unacceptable size"},
        {"boardsize 10 11", "? unacceptable size"},
        {"boardsize", "? unacceptable size"},
        {"boardsize 3 3", ""},
        {"undo", "? cannot undo"},
        {"play b swap-pieces", "? illegal move: swap-pieces is only allowed as the second move"},
        {"play w a1", "? illegal move: black is to move"},
        {"play x a1", "? invalid color"},
        {"play b d1", "? invalid move: d1"},
        {"genmove purple", "? invalid color"},
        {"genmove w", "? black is to move"},
        {"final_score", "? the game is not over"},
        {"time_left b -5 0", "? syntax error: expected whole numbers of at least 0"},
        {"play b a1", ""},
        {"play w a1", "? illegal move: cell a1 is occupied"},
        {"play w swap-sides", "? swap-sides is not supported: the swap is swap-pieces (the stone "
                              "is mirrored and changes colour)"},
        {"play w b1", ""},
        {"play b a2", ""},
        {"play w b2", ""},
        {"play b a3", ""},
        {"final_score", "B+"},
        {"play w c3", "? illegal move: the game is over"},
        {"genmove w", "? the game is over"},
        {"undo", ""},
        {"final_score", "? the game is not over"},
    };
    for (const auto& [command, expected] : exchanges) {
        const auto before = engine.position().moves();
        const std::string reply = answer(engine, command);
        EXPECT_EQ(reply, expected) << command;
        if (reply.rfind("? ", 0) == 0) {
            EXPECT_EQ(engine.position().moves(), before) << command;
        }
    }
    EXPECT_EQ(Hex::toText(engine.position().board()), "X O .\n X O .\n  . . .\n");
}

TEST_F(GtpEngineTest, LoadsgfMakesTheFilesGameThePositionUpToAMove) {
    writeBytes(directory / "sides.sgf", "(;SZ[5];B[b1];W[swap];W[c3];B[d2])");
    writeBytes(directory / "setup.sgf", "(;SZ[4]AB[a1][c3]AW[b2];W[d4];B[d1])");
    const std::string dir = directory.path().string() + "/";
    const struct {
        std::string command;
        std::string reply;
        std::vector<Coord> moves; // after a success
    } exchanges[] = {
        {"loadsgf " + dir + "sides.sgf", "", {{0, 1}, {5, 5}, {2, 2}, {3, 1}}},
        {"loadsgf " + dir + "sides.sgf 3", "", {{0, 1}, {5, 5}}},
        // The setup stones come first; the moves are counted after them.
        {"loadsgf " + dir + "setup.sgf 2", "", {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {"loadsgf " + dir + "setup.sgf 99", "", {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {0, 3}}},
        {"loadsgf " + dir + "none.sgf", "? cannot read " + dir + "none.sgf", {}},
        {"loadsgf " + dir + "sides.sgf 0",
         "? syntax error: expected loadsgf FILE [MOVE], MOVE a move number from 1",
         {}},
    };
    GtpEngine engine(options());
    for (const auto& exchange : exchanges) {
        const auto before = engine.position().moves();
        const std::string reply = answer(engine, exchange.command);
        EXPECT_EQ(reply, exchange.reply) << exchange.command;
        EXPECT_EQ(engine.position().moves(), reply.empty() ? exchange.moves : before)
            << exchange.command;
    }
    EXPECT_EQ(engine.position().size(), 4u);
}

TEST_F(GtpEngineTest, TimeLeftGivesTheHardPlayerThatClock) {
    GtpEngine engine(options(Strength::hard));
    ASSERT_EQ(accepts(engine, {"boardsize 10", "time_left black 120 0"}), "");
    ComputerPlayer* black = engine.player(1);
    ASSERT_NE(black, nullptr);
    EXPECT_EQ(black->timeLimit(), 120);
    // The same seconds as its own clock leaves it: the player stays.
    ASSERT_EQ(answer(engine, "time_left b 120 0"), "");
    EXPECT_EQ(engine.player(1), black);
    ASSERT_EQ(answer(engine, "time_left b 30 0"), "");
    ASSERT_NE(engine.player(1), nullptr);
    EXPECT_EQ(engine.player(1)->timeLimit(), 30);
    EXPECT_EQ(engine.player(2), nullptr);

    GtpEngine easy(options());
    ASSERT_EQ(answer(easy, "time_left w 120 0"), "");
    EXPECT_EQ(easy.player(2), nullptr); // the easy strength has no use for time
}

// Each line is TYPE/LABEL/COMMAND, of a type the front end draws, and each command runs (the
// front end puts the colour to move for %c). The input has "ended", so that the live analysis
// answers after its first slice.
TEST_F(GtpEngineTest, AnalysisCommandsAreListedInTheFrontEndsFormat) {
    GtpEngine::Options chosen = options();
    chosen.threads = 1;
    GtpEngine engine(chosen);
    ASSERT_EQ(answer(engine, "boardsize 4"), "");
    engine.inputEnded();
    const std::string listed = answer(engine, "hexgui-analyze_commands");
    const auto known = engine.commandNames();
    std::istringstream lines(listed);
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        const std::size_t first = line.find('/');
        const std::size_t second = line.find('/', first + 1);
        ASSERT_NE(second, std::string::npos) << line;
        EXPECT_EQ(line.find('/', second + 1), std::string::npos) << line;
        const std::string type = line.substr(0, first);
        EXPECT_TRUE(type == "plist" || type == "pspairs" || type == "string" || type == "var")
            << line;
        std::string command = line.substr(second + 1);
        EXPECT_NE(std::find(known.begin(), known.end(), command.substr(0, command.find(' '))),
                  known.end())
            << line;
        if (const std::size_t colour = command.find("%c"); colour != std::string::npos) {
            command.replace(colour, 2, "black");
        }
        EXPECT_EQ(answer(engine, command).rfind("? ", 0), std::string::npos) << line;
    }
    EXPECT_EQ(count, 7);
}

TEST_F(GtpEngineTest, PathsAndValueDescribeTheCurrentPosition) {
    GtpEngine engine(options());
    ASSERT_EQ(answer(engine, "boardsize 3"), "");
    EXPECT_EQ(answer(engine, "quorlen-value"), "0.000"); // the empty board is even
    EXPECT_EQ(answer(engine, "quorlen-paths black"), "b1 b2 a3 b3");
    EXPECT_EQ(answer(engine, "quorlen-paths white"), "a2 b2 c1 c2");
    ASSERT_EQ(answer(engine, "play b b2"), "");
    EXPECT_GT(std::stod(answer(engine, "quorlen-value")), 0.0);
    EXPECT_EQ(answer(engine, "quorlen-paths"), "? syntax error: expected quorlen-paths COLOR");
    EXPECT_EQ(answer(engine, "quorlen-root_values"), ""); // no search yet
}

// The expert answers genmove with its search (here one of the two winning cells), the win
// rates of its most visited moves describe that search, and time_left keeps its player (and
// with it its tree).
TEST_F(GtpEngineTest, TheExpertSearchesShowsItsWinRatesAndKeepsItsPlayer) {
    GtpEngine::Options chosen = options(Strength::expert);
    chosen.threads = 1;
    chosen.moveTime = std::chrono::milliseconds(300);
    GtpEngine engine(chosen);
    ASSERT_EQ(answer(engine, "boardsize 3"), "");
    EXPECT_EQ(answer(engine, "quorlen-win_rates"), ""); // no search yet
    ASSERT_EQ(accepts(engine, {"play b a1", "play w a2", "play b a3", "play w b2", "play b c3"}),
              "");
    const std::string played = answer(engine, "genmove w");
    EXPECT_TRUE(played == "c1" || played == "c2") << played;
    EXPECT_EQ(answer(engine, "final_score"), "W+");
    EXPECT_NE(answer(engine, "quorlen-win_rates").find(played + " won"), std::string::npos);
    EXPECT_EQ(engine.player(2), nullptr);

    ExpertPlayer* white = engine.expert(2);
    ASSERT_NE(white, nullptr);
    ASSERT_EQ(answer(engine, "time_left white 30 0"), "");
    EXPECT_EQ(engine.expert(2), white);
    EXPECT_EQ(white->timeLimit(), 30);
    ASSERT_EQ(answer(engine, "clear_board"), "");
    EXPECT_EQ(answer(engine, "quorlen-win_rates"), "");
}

// Three playouts on an empty 11 x 11 board visit at most three moves: only those have a rate.
TEST_F(GtpEngineTest, WinRatesListOnlyTheMovesSearched) {
    GtpEngine::Options chosen = options(Strength::expert);
    chosen.threads = 1;
    chosen.playouts = 3;
    GtpEngine engine(chosen);
    ASSERT_EQ(accepts(engine, {"boardsize 11", "param_game allow_swap 0"}), "");
    ASSERT_NE(answer(engine, "genmove b").rfind('?', 0), 0u);
    std::istringstream pairs(answer(engine, "quorlen-win_rates"));
    std::size_t listed = 0;
    for (std::string cell, rate; pairs >> cell >> rate;) {
        ++listed;
    }
    EXPECT_GE(listed, 1u);
    EXPECT_LE(listed, 3u);
}

// With --resign the expert gives up a position its search proves lost (Black's centre on 3 x 3
// without the swap), and the position stays as it was; without it, it plays on.
TEST_F(GtpEngineTest, TheExpertResignsAProvenLossOnlyWhenAsked) {
    for (const bool resign : {true, false}) {
        GtpEngine::Options chosen = options(Strength::expert);
        chosen.threads = 1;
        chosen.moveTime = std::chrono::milliseconds(300);
        chosen.resign = resign;
        GtpEngine engine(chosen);
        ASSERT_EQ(accepts(engine, {"boardsize 3", "param_game allow_swap 0", "play b b2"}), "");
        const std::string played = answer(engine, "genmove w");
        EXPECT_EQ(played == "resign", resign) << played;
        EXPECT_EQ(engine.position().moves().size(), resign ? 1U : 2U);
    }
}

// Black's centre wins the empty 3 x 3 board without the swap: the analysis proves it, shows it
// as won, and its line goes on from the position as long as the moves played follow it. (The
// search proves it here: the solver would prove it before any line grows.)
TEST_F(GtpEngineTest, AnalysisShowsAProvenWinAndTheLineFromThePosition) {
    GtpEngine::Options chosen = options(Strength::expert);
    chosen.threads = 1;
    chosen.solver = false;
    GtpEngine engine(chosen);
    ASSERT_EQ(accepts(engine, {"boardsize 3", "param_game allow_swap 0"}), "");
    EXPECT_EQ(answer(engine, "quorlen-pv"), ""); // no search yet
    EXPECT_EQ(answer(engine, "gogui-gfx-analyze white"), "? black is to move");
    engine.inputEnded(); // one slice of search, then the answer
    const std::string found = answer(engine, "gogui-gfx-analyze b");
    EXPECT_EQ(found.rfind("b2 won, ", 0), 0u) << found;
    const std::string rates = answer(engine, "quorlen-win_rates");
    EXPECT_EQ(rates.rfind("b2 won ", 0), 0u) << rates;
    std::istringstream pairs(rates);
    for (std::string cell, rate; pairs >> cell >> rate;) {
        const bool percent =
            rate.size() >= 2 && rate.back() == '%' && std::stoi(rate) >= 1 && std::stoi(rate) <= 99;
        EXPECT_TRUE(percent || rate == "won" || rate == "lost") << rates;
    }

    std::istringstream cells(answer(engine, "quorlen-pv"));
    std::vector<std::string> line{std::istream_iterator<std::string>(cells), {}};
    ASSERT_GE(line.size(), 2u);
    EXPECT_EQ(line[0], "b2");
    EXPECT_NE(found.find("line " + answer(engine, "quorlen-pv")), std::string::npos) << found;
    ASSERT_EQ(answer(engine, "play b b2"), "");
    EXPECT_EQ(answer(engine, "quorlen-pv").rfind(line[1], 0), 0u); // the rest of the line
    ASSERT_EQ(answer(engine, "undo"), "");
    ASSERT_EQ(answer(engine, "play b a1"), "");
    EXPECT_EQ(answer(engine, "quorlen-pv"), ""); // off the line
}

// A script piped into the engine, as for batch analysis: the end of the input interrupts
// nothing, so its genmove is the expert's full think and the win rates describe it.
TEST_F(GtpEngineTest, APipedScriptIsAnsweredInFull) {
    GtpEngine::Options chosen = options(Strength::expert);
    chosen.threads = 1;
    chosen.moveTime = std::chrono::milliseconds(300);
    GtpEngine engine(chosen);
    LiveSession session(engine);
    session.send("boardsize 11\nplay b f6\nplay w c3\nplay b d9\ngenmove w\nquorlen-win_rates\n");
    session.closeInput();
    const std::string output = session.finish();
    const std::size_t rates = output.rfind("= ");
    ASSERT_NE(rates, std::string::npos) << output;
    std::istringstream pairs(output.substr(rates + 2));
    int searched = 0;
    for (std::string cell, rate; pairs >> cell >> rate;) {
        searched += rate != "1%" ? 1 : 0;
    }
    EXPECT_GT(searched, 0) << output;
    EXPECT_EQ(sink.countStatus("Quorlen AI finished"), 1); // a stopped think does not say so
}

} // namespace
