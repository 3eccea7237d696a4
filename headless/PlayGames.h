#pragma once

#include "engine/Weights.h"
#include "players/Strength.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Games between computer players without a window, as `quorlen-cli play` runs them.
//
// One game prints every move (cell names as the board shows them) and the final board; a
// series of several games shows its progress on the error stream and closes with a table of
// wins by side and by strength and of the move times against their budgets. The players keep
// their weights (and what they learn) from game to game and write the weights file when the
// series ends, as the program does at exit.
class PlayGames {
public:
    struct Options {
        Strength p1 = Strength::easy;
        Strength p2 = Strength::easy;
        std::uint32_t size = 10;
        std::int32_t timeLimit = 300;
        int games = 1;
        bool learning = false;
        double learningRate = 0.05;
        std::filesystem::path weightsFile = "quorlen.dat";
        std::optional<std::uint32_t> seed;
        std::optional<std::filesystem::path> recordDir;
        // Every second game gives each strength the other side.
        bool alternate = false;
        // The hard and expert players' search threads, as the SEARCH_THREADS setting
        // (0: automatic).
        int threads = 0;
    };

    struct StrengthStats {
        int games = 0;
        int wins = 0;
        int moves = 0;
        double totalSeconds = 0.0;
        double longestSeconds = 0.0;
        std::int32_t longestBudget = 0;
        double worstOverrun = 0.0; // of a searched move past its budget, in seconds
    };

    struct Summary {
        int played = 0;
        int winsPlayer1 = 0;
        int winsPlayer2 = 0;
        std::array<StrengthStats, 3> strengths; // by Strength

        StrengthStats& of(Strength strength) {
            return strengths[static_cast<std::size_t>(strength)];
        }
        const StrengthStats& of(Strength strength) const {
            return strengths[static_cast<std::size_t>(strength)];
        }
        bool interrupted = false;
        // Each hard player's weights at the end, by side.
        std::vector<std::pair<int, Weights>> hardWeights;
    };

    PlayGames(Options options, std::ostream& out, std::ostream& progress);

    // Plays the games; a raised `interrupted` stops the current game through its stop and
    // ends the series with the games played so far.
    Summary run(const std::atomic<bool>& interrupted);

    static void printTable(const Summary& summary, std::ostream& out);

private:
    Options m_options;
    std::ostream& m_out;
    std::ostream& m_progress;
};
