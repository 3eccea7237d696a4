#pragma once

#include "engine/MessageSink.h"
#include "engine/StatusSink.h"
#include "engine/Weights.h"
#include "gtp/GtpCommand.h"
#include "gtp/InterruptGate.h"
#include "gtp/LiveAnalysis.h"
#include "gtp/RootValueSink.h"
#include "mcts/MctsSearch.h"
#include "mcts/TreeMemoryBudget.h"
#include "notation/GamePosition.h"
#include "players/Strength.h"
#include "settings/SettingsStore.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ComputerPlayer;
class ExpertPlayer;
class TimedPlayer;

// Quorlen as a GTP engine for Hex: the position, the commands, and one computer player per
// colour that answers genmove exactly as it plays in the program (see GenmoveGame).
//
// Colours: Black is Player 1 and moves first, White is Player 2; cells and the swap are named
// as in HexNotation. Moves alternate from Black; a command that would break the rules (an
// occupied cell, a move after the game is won, a swap anywhere but the second move, the
// wrong colour) gets an error and changes nothing.
//
// loadsgf FILE [MOVE] makes an SGF file's game the position (read as SgfGame reads it, setup
// stones placed as moves), or with MOVE the position before the file's move number MOVE
// (counted from 1, after the setup stones), as GTP's regression command has it.
//
// The swap (on unless Options::swap is off; `param_game allow_swap 0|1` switches it, as
// Benzene-style front ends and referees send it): while it is off, genmove never answers
// swap-pieces and play refuses it.
//
// time_left (hard strength): the colour's computer player is made anew, with the given
// seconds as its time limit and a fresh clock, whenever the seconds differ from what its own
// clock leaves it; its budget then follows the front end's clock from the next move on. A new
// player reads the weights file and starts its learning memory afresh, as a player of the
// program does when a side's strength changes. The easy strength has no use for time. The
// expert strength keeps its player, and with it its search tree: the player takes the seconds
// as its new time limit and starts its clock afresh. With a move time the expert thinks that
// long for every move instead.
//
// The analysis commands describe the expert's latest search, its genmove's or the live
// analysis's: the win rates of its root moves, and the line it expects from the current
// position when that is the searched one or follows it along the line. The live analysis
// (gogui-gfx-analyze) searches the current position until "# interrupt" or the end of the
// input, writes a GoGui graphics block to the live output after every slice, and answers
// with what it found.
//
// Thread contract: execute() on one thread, which also runs the games of genmove and the
// live analysis and calls the live output; interruptThrough(), interrupt() and inputEnded()
// from any thread.
class GtpEngine {
public:
    struct Options {
        Strength strength = Strength::easy;
        std::int32_t timeLimit = 300;
        // The hard and expert players' search threads, as the SEARCH_THREADS setting (0: one
        // per hardware thread).
        int threads = 0;
        // When set, the expert thinks this long for every move instead of its budget.
        std::optional<std::chrono::milliseconds> moveTime;
        // When set, the expert runs this many playouts a move instead (with one thread and a
        // seed, the same moves on every run).
        std::optional<std::uint64_t> playouts;
        // The expert's pattern priors (MctsSearch::Config::priors).
        bool priors = MctsSearch::expertConfig().priors;
        // The expert's playout template answers (MctsSearch::Config::templates).
        bool templates = MctsSearch::expertConfig().templates;
        // The expert's virtual connections (MctsSearch::Config::connections).
        bool connections = MctsSearch::expertConfig().connections;
        // The expert's inferior cells (MctsSearch::Config::inferior).
        bool inferior = MctsSearch::expertConfig().inferior;
        // The expert's playout pattern weights (MctsSearch::Config::playoutPatterns).
        bool playoutPatterns = MctsSearch::expertConfig().playoutPatterns;
        // The expert's solver's virtual connections (MctsSearch::Config::solverConnections).
        bool solverConnections = MctsSearch::expertConfig().solverConnections;
        std::filesystem::path weightsFile = "quorlen.dat";
        bool learning = false;
        double learningRate = 0.05;
        bool swap = true; // White may take the swap
        // The expert's proof-number solver of small positions (MctsSearch::Config::solver).
        bool solver = true;
        // The expert answers genmove with resign in a position its search proves lost, or
        // after resignMoves of its moves in a row below resignRate.
        bool resign = false;
        // The expert's first stone and swap decision come from its opening book (off for an
        // ablation).
        bool openingBook = true;
        static constexpr double resignRate = 0.02;
        static constexpr int resignMoves = 5;
        // Seeds the opening moves; the current time when empty.
        std::optional<std::uint32_t> seed;
        // The swap decision's pause; a real sleep when empty.
        std::function<void(std::chrono::milliseconds)> pause;
        // Where the computer players' messages (status texts and the like) go; nowhere when
        // null.
        MessageSink* messages = nullptr;
    };

    struct Reply {
        bool success = true;
        std::string text;
    };

    static constexpr std::uint64_t unnumbered = std::numeric_limits<std::uint64_t>::max();

    explicit GtpEngine(Options options);
    ~GtpEngine();
    GtpEngine(const GtpEngine&) = delete;
    GtpEngine& operator=(const GtpEngine&) = delete;

    // Runs one command; number orders it against interrupts (see InterruptGate).
    Reply execute(const GtpCommand& command, std::uint64_t number = unnumbered);
    // The command's reply in its GTP framing.
    std::string respond(const GtpCommand& command, std::uint64_t number = unnumbered);

    void interruptThrough(std::uint64_t number) { m_gate.interruptThrough(number); }
    // Stops the running genmove or live analysis, numbered or not.
    void interrupt() { m_gate.interruptThrough(unnumbered); }
    // Nothing can interrupt a live analysis any more: it ends now, or after its first slice.
    void inputEnded() { m_gate.inputEnded(); }
    // Where the live analysis writes its graphics blocks while it runs; nowhere when empty.
    void setLiveOutput(std::function<void(const std::string&)> output) {
        m_liveOutput = std::move(output);
    }
    bool quitRequested() const { return m_quit; }

    const GamePosition& position() const { return *m_position; }
    // The colour's computer player of the easy or hard strength; null before its first
    // genmove or time_left, and always for the expert strength.
    ComputerPlayer* player(int side) const {
        return m_players[static_cast<std::size_t>(side - 1)].get();
    }
    // The colour's expert player; null before its first genmove or time_left, and always for
    // the other strengths.
    ExpertPlayer* expert(int side) const {
        return m_experts[static_cast<std::size_t>(side - 1)].get();
    }
    std::vector<std::string> commandNames() const;

private:
    using Args = std::vector<std::string>;
    using Handler = Reply (GtpEngine::*)(const Args&);
    struct Entry {
        const char* name;
        Handler handler;
    };
    static const std::vector<Entry>& commands();

    Reply protocolVersion(const Args& args);
    Reply name(const Args& args);
    Reply version(const Args& args);
    Reply knownCommand(const Args& args);
    Reply listCommands(const Args& args);
    Reply quit(const Args& args);
    Reply boardsize(const Args& args);
    Reply clearBoard(const Args& args);
    Reply play(const Args& args);
    Reply genmove(const Args& args);
    Reply undo(const Args& args);
    Reply loadsgf(const Args& args);
    Reply showboard(const Args& args);
    Reply finalScore(const Args& args);
    Reply timeLeft(const Args& args);
    Reply paramGame(const Args& args);
    Reply analyzeCommands(const Args& args);
    Reply paths(const Args& args);
    Reply rootValues(const Args& args);
    Reply winRates(const Args& args);
    Reply principalVariation(const Args& args);
    Reply liveAnalysis(const Args& args);
    Reply value(const Args& args);

    TimedPlayer& playerFor(int side);
    bool givesUp(int side);
    void makePlayer(int side, std::int32_t timeLimit);
    const Weights& currentWeights() const;
    void newGame(std::uint32_t size);
    LiveAnalysis& analysis();

    Options m_options;
    SettingsStore m_settings;
    StatusSink m_nowhere;
    RootValueSink m_sink;
    InterruptGate m_gate;
    std::unique_ptr<GamePosition> m_position;
    std::array<std::unique_ptr<ComputerPlayer>, 2> m_players; // [side - 1]
    // Both sides' experts share one budget for their trees.
    std::shared_ptr<TreeMemoryBudget> m_treeMemory =
        std::make_shared<TreeMemoryBudget>(TreeMemoryBudget::machineDefault());
    std::array<std::unique_ptr<ExpertPlayer>, 2> m_experts; // [side - 1]
    std::array<int, 2> m_hopelessMoves{};     // [side - 1]: searches in a row below resignRate
    std::unique_ptr<LiveAnalysis> m_analysis; // made at the first live analysis
    // The search that the analysis commands describe, and the moves of the position it
    // searched; null before the first and after a new game.
    const MctsSearch* m_lastSearch = nullptr;
    std::vector<Hex::Coord> m_lastSearched;
    std::function<void(const std::string&)> m_liveOutput;
    Weights m_fileWeights = defaultWeights;
    std::uint64_t m_number = unnumbered;
    bool m_quit = false;
    bool m_swap = true;
};
