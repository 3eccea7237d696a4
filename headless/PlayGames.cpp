#include "headless/PlayGames.h"

#include "engine/SearchThreads.h"
#include "engine/StatusSink.h"
#include "headless/MoveTimer.h"
#include "headless/ProgressBar.h"
#include "mcts/TreeMemoryBudget.h"
#include "model/BoardText.h"
#include "model/CellName.h"
#include "model/Exception.h"
#include "model/Game.h"
#include "players/ComputerPlayer.h"
#include "players/ExpertPlayer.h"
#include "settings/FileText.h"
#include "settings/GameRecord.h"
#include "settings/NumberText.h"
#include "settings/SettingsDefaults.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <iomanip>
#include <memory>
#include <mutex>
#include <ostream>
#include <thread>

namespace {

// Prints each entry of the move list as the game makes it.
class MovePrinter : public Hex::GameObserver {
public:
    MovePrinter(std::ostream& out, const std::array<MoveTimer*, 2>& timers)
        : m_out(out), m_timers(timers) {}
    void watch(const Hex::Game* game) { m_game = game; }

    void onGameChanged() override {
        const auto moves = m_game->moves();
        if (moves.size() == m_printed) {
            return;
        }
        m_printed = moves.size();
        const std::size_t index = moves.size() - 1;
        const int side = index % 2 == 0 ? 1 : 2;
        const MoveTimer& timer = *m_timers[static_cast<std::size_t>(side - 1)];
        const auto n = static_cast<int>(m_game->board().size());
        const Hex::Coord move = moves[index];
        const std::string cell = move == Hex::Coord{n, n} ? "swap" : Hex::cellName(move);
        m_out << std::setw(4) << index + 1 << ". " << timer.name() << " (Player " << side
              << "): " << cell << "  " << std::fixed << std::setprecision(2) << timer.lastSeconds()
              << " s";
        if (timer.lastBudget() > 0) {
            m_out << " of " << timer.lastBudget() << " s";
        }
        m_out << '\n' << std::defaultfloat;
    }

private:
    std::ostream& m_out;
    const std::array<MoveTimer*, 2>& m_timers;
    const Hex::Game* m_game = nullptr;
    std::size_t m_printed = 0;
};

// Counts each move a timer reports into its strength's figures.
class MoveCounter : public Hex::GameObserver {
public:
    MoveCounter(Hex::GameObserver* next, const std::array<MoveTimer*, 2>& timers,
                std::array<PlayGames::StrengthStats*, 2> stats)
        : m_next(next), m_timers(timers), m_stats(stats) {}
    void watch(const Hex::Game* game) { m_game = game; }

    void onGameChanged() override {
        const std::size_t entries = m_game->moves().size();
        if (entries != m_counted) {
            m_counted = entries;
            const std::size_t side = (entries - 1) % 2;
            record(*m_timers[side], *m_stats[side]);
        }
        if (m_next != nullptr) {
            m_next->onGameChanged();
        }
    }

private:
    static void record(const MoveTimer& timer, PlayGames::StrengthStats& stats) {
        ++stats.moves;
        stats.totalSeconds += timer.lastSeconds();
        if (timer.lastSeconds() > stats.longestSeconds) {
            stats.longestSeconds = timer.lastSeconds();
            stats.longestBudget = timer.lastBudget();
        }
        if (timer.lastBudget() > 0) {
            stats.worstOverrun =
                std::max(stats.worstOverrun, timer.lastSeconds() - timer.lastBudget());
        }
    }

    Hex::GameObserver* m_next;
    const std::array<MoveTimer*, 2>& m_timers;
    std::array<PlayGames::StrengthStats*, 2> m_stats;
    const Hex::Game* m_game = nullptr;
    std::size_t m_counted = 0;
};

// Stops the running game when the user interrupts; joined when the series ends.
class InterruptWatch {
public:
    explicit InterruptWatch(const std::atomic<bool>& interrupted)
        : m_interrupted(interrupted), m_thread([this] { watch(); }) {}
    ~InterruptWatch() {
        m_done = true;
        m_thread.join();
    }
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    void setGame(Hex::Game* game) {
        std::lock_guard lock(m_lock);
        m_game = game;
    }

private:
    void watch() {
        while (!m_done) {
            if (m_interrupted) {
                std::lock_guard lock(m_lock);
                if (m_game != nullptr) {
                    m_game->stop();
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    const std::atomic<bool>& m_interrupted;
    std::atomic<bool> m_done{false};
    std::mutex m_lock;
    Hex::Game* m_game = nullptr;
    std::thread m_thread;
};

} // namespace

PlayGames::PlayGames(Options options, std::ostream& out, std::ostream& progress)
    : m_options(std::move(options)), m_out(out), m_progress(progress) {}

PlayGames::Summary PlayGames::run(const std::atomic<bool>& interrupted) {
    SettingsStore settings;
    SettingsDefaults::apply(settings);
    settings.set(SettingsKeys::learning, m_options.learning ? "1" : "0");
    settings.set(SettingsKeys::learningRate, NumberText::fromDecimal(m_options.learningRate));
    settings.setInt(SettingsKeys::searchThreads, m_options.threads);
    StatusSink sink(nullptr);

    // One player per strength and side, kept for the whole series.
    std::array<std::array<std::unique_ptr<ComputerPlayer>, 2>, 2> computers; // [hard][side]
    std::array<std::unique_ptr<ExpertPlayer>, 2> experts;                    // [side]
    const auto treeMemory = std::make_shared<TreeMemoryBudget>(TreeMemoryBudget::machineDefault());
    const auto expertFor = [&](int side) -> ExpertPlayer& {
        auto& slot = experts[static_cast<std::size_t>(side - 1)];
        if (!slot) {
            ExpertPlayer::Context context{sink, Clock::steady(),
                                          searchThreadCount(m_options.threads)};
            if (m_options.seed) {
                context.seed = *m_options.seed * 4u + static_cast<std::uint32_t>(side);
            }
            context.memory = treeMemory;
            slot = std::make_unique<ExpertPlayer>("Quorlen Expert", m_options.timeLimit,
                                                  std::move(context));
        }
        return *slot;
    };
    const auto computerFor = [&](bool hard, int side) -> ComputerPlayer& {
        auto& slot = computers[hard ? 1 : 0][static_cast<std::size_t>(side - 1)];
        if (!slot) {
            ComputerPlayer::Context context{sink, settings, Clock::steady(), m_options.weightsFile,
                                            {},   {}};
            if (m_options.seed) {
                context.seed = [next = *m_options.seed * 4u + static_cast<std::uint32_t>(side) +
                                       (hard ? 2u : 0u)]() mutable { return next += 7919u; };
            }
            slot = std::make_unique<ComputerPlayer>(hard ? "Quorlen" : "Quorl", m_options.timeLimit,
                                                    hard, side, std::move(context));
        }
        return *slot;
    };
    // A timer around the strength's player for a side, with the budget it searches for.
    const auto timerFor = [&](Strength strength, int side) -> MoveTimer {
        if (strength == Strength::expert) {
            ExpertPlayer& expert = expertFor(side);
            return MoveTimer(expert, [&expert](std::uint32_t n, int moveNumber) {
                return std::max(expert.timeBudget(n, moveNumber), 0);
            });
        }
        ComputerPlayer& computer = computerFor(strength == Strength::hard, side);
        return MoveTimer(computer, [&computer](std::uint32_t n, int moveNumber) {
            return computer.lookAhead() && moveNumber > 1 ? computer.timeBudget(n, moveNumber) : 0;
        });
    };

    Summary summary;
    InterruptWatch watch(interrupted);
    for (int index = 0; index < m_options.games && !interrupted; ++index) {
        const bool swapped = m_options.alternate && index % 2 == 1;
        const Strength p1 = swapped ? m_options.p2 : m_options.p1;
        const Strength p2 = swapped ? m_options.p1 : m_options.p2;
        MoveTimer first = timerFor(p1, 1);
        MoveTimer second = timerFor(p2, 2);
        const std::array<MoveTimer*, 2> timers{&first, &second};
        StrengthStats& stats1 = summary.of(p1);
        StrengthStats& stats2 = summary.of(p2);

        MovePrinter printer(m_out, timers);
        MoveCounter counter(m_options.games == 1 ? &printer : nullptr, timers, {&stats1, &stats2});
        Hex::Game game(m_options.size, &counter);
        printer.watch(&game);
        counter.watch(&game);
        game.setPlayer1(&first);
        game.setPlayer2(&second);
        first.player().resetClock();
        second.player().resetClock();

        watch.setGame(&game);
        int winner = 0;
        try {
            winner = game.run();
        } catch (const Hex::Exception& error) {
            m_progress << "game " << index + 1 << " ended: " << error.message() << '\n';
        }
        first.player().gameEnded();
        second.player().gameEnded();
        watch.setGame(nullptr);
        if (interrupted) {
            summary.interrupted = true;
            break;
        }

        ++summary.played;
        ++stats1.games;
        ++stats2.games;
        if (winner == 1) {
            ++summary.winsPlayer1;
            ++stats1.wins;
        } else if (winner == 2) {
            ++summary.winsPlayer2;
            ++stats2.wins;
        }
        if (m_options.recordDir) {
            char name[32];
            std::snprintf(name, sizeof name, "game-%03d.txt", index + 1);
            const GameRecord record{m_options.size, game.moves()};
            FileText::replaceWhole(*m_options.recordDir / name, record.text());
        }
        if (m_options.games == 1) {
            m_out << '\n' << Hex::toText(game.board()) << "\nwinner: ";
            m_out << (winner == 0 ? std::string("none")
                                  : "Player " + std::to_string(winner) + " (" +
                                        (winner == 1 ? first.name() : second.name()) + ", " +
                                        strengthName(winner == 1 ? p1 : p2) + ")")
                  << '\n';
        } else {
            ProgressBar(m_progress, m_options.games).show(summary.played);
        }
    }
    if (m_options.games > 1) {
        m_progress << '\n';
    }
    // The weights file keeps what the last player to leave writes: the easy players leave
    // first, so that what the hard players learned is kept (Player 2's, when both learn,
    // as the program keeps it). The experts have no weights.
    for (auto& easy : computers[0]) {
        easy.reset();
    }
    for (int side = 1; side <= 2; ++side) {
        auto& hard = computers[1][static_cast<std::size_t>(side - 1)];
        if (hard) {
            summary.hardWeights.push_back({side, hard->weights()});
            hard.reset();
        }
    }
    return summary;
}

void PlayGames::printTable(const Summary& summary, std::ostream& out) {
    out << "games             " << summary.played << (summary.interrupted ? " (interrupted)" : "")
        << '\n'
        << "wins by side      Player 1 " << summary.winsPlayer1 << ", Player 2 "
        << summary.winsPlayer2 << '\n';
    for (const Strength strength : {Strength::expert, Strength::hard, Strength::easy}) {
        const StrengthStats& stats = summary.of(strength);
        if (stats.games == 0) {
            continue;
        }
        out << std::fixed << std::setprecision(2) << strengthName(strength) << ": " << stats.wins
            << " wins in " << stats.games << " games, " << stats.moves << " moves, average "
            << (stats.moves > 0 ? stats.totalSeconds / stats.moves : 0.0) << " s, longest "
            << stats.longestSeconds << " s";
        if (stats.longestBudget > 0) {
            out << " (budget " << stats.longestBudget << " s)";
        }
        if (strength != Strength::easy) {
            out << ", worst overrun " << stats.worstOverrun << " s";
        }
        out << '\n' << std::defaultfloat;
    }
    out << std::setprecision(6); // as the weights file writes them
    for (const auto& [side, weights] : summary.hardWeights) {
        out << "hard weights      Player " << side << ": " << weights[0] << ", " << weights[1]
            << ", " << weights[2] << ", " << weights[3] << '\n';
    }
}
