#pragma once

#include "gtp/EngineDialect.h"
#include "settings/GameRecord.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class EngineProcess;

// The referee of a match between two GTP engines, A (given as Black) and B (given as
// White). It keeps the real position itself and finds the winner itself, with the model's
// rules and win detection; an engine's claims count for nothing. An engine that answers a
// genmove with anything but a legal move (pass included), refuses a legal move of its
// opponent or a new game, overruns the time limit, dies, or garbles the protocol forfeits the
// game, and the note says why. An engine that answers resign loses by resignation, a normal
// way to lose that the table counts apart (RE[B+R] or RE[W+R] in its SGF file). A dead or killed
// engine is started again for the next game; the match goes on.
//
// The swap: with Options::swap White may answer swap-pieces to the first stone. The referee
// tells every engine the rule (in the engines that list param_game) and the swap in the form
// that engine takes (see EngineDialect). Without it, an engine that answers swap-pieces loses
// the game, and no engine is ever sent one.
//
// An interrupt ends the match within a second, whatever it waits for (an engine's start and
// its name included): the game under way is not counted, and the engines are told to quit
// with a short grace before they are killed.
//
// Thread contract: run() on one thread; the interrupt flag may be raised from any thread (a
// signal handler included).
class Match {
public:
    struct Options {
        std::string engineA; // Black in the first game
        std::string engineB;
        int games = 1;
        std::uint32_t size = 11;
        bool swapColours = false; // A and B change colours every game
        bool swap = false;        // White may answer the first stone with swap-pieces
        std::optional<std::filesystem::path> sgfDir;
        // The longest an engine may take for any one reply.
        std::chrono::milliseconds timePerMove{60'000};
    };

    struct EngineStats {
        std::string name; // from the engine's name and version
        int games = 0;
        int wins = 0;
        int gamesAsBlack = 0;
        int winsAsBlack = 0;
        int forfeits = 0; // crashes, time-outs, illegal or garbled answers
        int moves = 0;    // answered genmoves
        double thinkSeconds = 0.0;
        double longestSeconds = 0.0;
        int resignations = 0;
    };

    struct Summary {
        int played = 0;
        int blackWins = 0;
        std::array<EngineStats, 2> engines; // A, B
        std::vector<std::string> notes;     // one per game resigned or forfeited
        bool interrupted = false;
        std::string error; // why the match could not start; empty when it ran
    };

    Match(Options options, std::ostream& progress);
    ~Match();
    Match(const Match&) = delete;
    Match& operator=(const Match&) = delete;

    Summary run(const std::atomic<bool>& interrupted);

private:
    struct Game;

    enum class Start { Started, Failed, Interrupted };
    Start startEngine(int engine, std::string& why, const std::atomic<bool>& interrupted);
    std::optional<Game> playGame(int index, const std::atomic<bool>& interrupted);
    bool askNewGame(Game& game, const std::atomic<bool>& interrupted);
    bool playMoves(Game& game, const std::atomic<bool>& interrupted);
    bool tell(Game& game, int engine, const std::vector<std::string>& commands,
              const std::atomic<bool>& interrupted);
    void tally(const Game& game);
    void saveSgf(const Game& game, int index);
    void showProgress();

    Options m_options;
    std::ostream& m_progress;
    std::array<std::unique_ptr<EngineProcess>, 2> m_engines;
    std::array<EngineDialect, 2> m_dialects;
    Summary m_summary;
};
