#include "match/Match.h"

#include "gtp/EngineProcess.h"
#include "notation/GamePosition.h"
#include "notation/HexNotation.h"
#include "notation/ProtocolText.h"
#include "settings/FileText.h"
#include "sgf/SgfGame.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace {

using Outcome = EngineProcess::Outcome;

const char* engineLetter(int engine) {
    return engine == 0 ? "A" : "B";
}

std::string colourTitle(int side) {
    return side == 1 ? "Black" : "White";
}

std::string shown(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\n' || c == '\t'; }, ' ');
    return text.size() > 80 ? text.substr(0, 80) + "..." : text;
}

} // namespace

struct Match::Game {
    int blackEngine = 0;
    std::unique_ptr<GamePosition> position;
    int winner = 0;         // 1 Black, 2 White
    int forfeiter = -1;     // also the side that resigned
    char forfeitKind = 'F'; // 'T' for time, 'R' for a resignation, as SGF results name them
    std::string note;
    bool interrupted = false;

    int engineOf(int side) const { return side == 1 ? blackEngine : 1 - blackEngine; }
    int sideOf(int engine) const { return engine == blackEngine ? 1 : 2; }

    void forfeit(int engine, char kind, const std::string& why) {
        forfeiter = engine;
        forfeitKind = kind;
        winner = 3 - sideOf(engine);
        note = std::string(engineLetter(engine)) + " (" + colourTitle(sideOf(engine)) + ") " + why;
    }
};

Match::Match(Options options, std::ostream& progress)
    : m_options(std::move(options)), m_progress(progress) {}

Match::~Match() = default;

Match::Summary Match::run(const std::atomic<bool>& interrupted) {
    m_summary = Summary{};
    bool started = true;
    for (int engine = 0; engine < 2 && started; ++engine) {
        std::string why;
        const Start start = startEngine(engine, why, interrupted);
        started = start == Start::Started;
        if (start == Start::Failed) {
            m_summary.error = std::string("engine ") + engineLetter(engine) + " (" +
                              (engine == 0 ? m_options.engineA : m_options.engineB) + ") " + why;
            return m_summary;
        }
    }
    for (int index = 0; started && index < m_options.games && !interrupted; ++index) {
        const std::optional<Game> game = playGame(index, interrupted);
        if (!game) {
            m_summary.interrupted = true;
            break;
        }
        tally(*game);
        saveSgf(*game, index);
        showProgress();
    }
    m_summary.interrupted = m_summary.interrupted || m_summary.played < m_options.games;
    // After an interrupt the engines get a quarter of a second each to answer quit and as
    // long to leave, so that the match still ends within a second.
    const std::chrono::milliseconds grace =
        interrupted ? std::chrono::milliseconds(250) : std::chrono::milliseconds(2000);
    for (auto& engine : m_engines) {
        if (engine) {
            engine->quit(grace);
        }
    }
    return m_summary;
}

// Starts the engine and asks its name, its commands and its version; Failed, with the
// reason, when it does not answer its name. Every wait ends at an interrupt.
Match::Start Match::startEngine(int engine, std::string& why,
                                const std::atomic<bool>& interrupted) {
    const std::string& command = engine == 0 ? m_options.engineA : m_options.engineB;
    m_engines[static_cast<std::size_t>(engine)] = std::make_unique<EngineProcess>(command);
    EngineProcess& process = *m_engines[static_cast<std::size_t>(engine)];
    const EngineProcess::Reply name = process.ask("name", m_options.timePerMove, interrupted);
    if (name.outcome == Outcome::Cancelled) {
        return Start::Interrupted;
    }
    if (name.outcome != Outcome::Answered) {
        why = "did not answer name: " + shown(name.text);
        return Start::Failed;
    }
    const EngineProcess::Reply commands =
        process.ask("list_commands", m_options.timePerMove, interrupted);
    if (commands.outcome == Outcome::Cancelled) {
        return Start::Interrupted;
    }
    m_dialects[static_cast<std::size_t>(engine)] = EngineDialect::of(
        name.text, commands.outcome == Outcome::Answered ? commands.text : std::string());
    EngineStats& stats = m_summary.engines[static_cast<std::size_t>(engine)];
    if (stats.name.empty()) {
        const EngineProcess::Reply version =
            process.ask("version", m_options.timePerMove, interrupted);
        if (version.outcome == Outcome::Cancelled) {
            return Start::Interrupted;
        }
        stats.name = shown(name.text);
        if (version.outcome == Outcome::Answered && !version.text.empty()) {
            stats.name += " " + shown(version.text);
        }
    }
    return Start::Started;
}

std::optional<Match::Game> Match::playGame(int index, const std::atomic<bool>& interrupted) {
    Game game;
    game.blackEngine = m_options.swapColours && index % 2 == 1 ? 1 : 0;
    game.position = std::make_unique<GamePosition>(m_options.size);
    if (askNewGame(game, interrupted)) {
        playMoves(game, interrupted);
    }
    if (game.interrupted) {
        return std::nullopt;
    }
    return game;
}

// Starts every engine that has gone and sets up the new game on both; false when an engine
// could not be started or refused, and so lost the game.
bool Match::askNewGame(Game& game, const std::atomic<bool>& interrupted) {
    for (int engine : {game.blackEngine, 1 - game.blackEngine}) {
        if (!m_engines[static_cast<std::size_t>(engine)]->alive()) {
            std::string why;
            const Start start = startEngine(engine, why, interrupted);
            if (start == Start::Interrupted) {
                game.interrupted = true;
                return false;
            }
            if (start == Start::Failed) {
                game.forfeit(engine, 'F', "could not be started again: " + why);
                return false;
            }
        }
        std::vector<std::string> setup{"boardsize " + std::to_string(m_options.size),
                                       "clear_board"};
        if (const auto rule =
                m_dialects[static_cast<std::size_t>(engine)].swapRule(m_options.swap)) {
            setup.push_back(*rule);
        }
        if (!tell(game, engine, setup, interrupted)) {
            return false;
        }
    }
    return true;
}

// Sends the commands in turn; false when the engine failed one, and so lost the game, or the
// match was interrupted.
bool Match::tell(Game& game, int engine, const std::vector<std::string>& commands,
                 const std::atomic<bool>& interrupted) {
    for (const std::string& command : commands) {
        const EngineProcess::Reply reply = m_engines[static_cast<std::size_t>(engine)]->ask(
            command, m_options.timePerMove, interrupted);
        if (reply.outcome == Outcome::Cancelled) {
            game.interrupted = true;
            return false;
        }
        if (reply.outcome != Outcome::Answered) {
            const bool move = command.rfind("play ", 0) == 0;
            game.forfeit(engine, reply.outcome == Outcome::TimedOut ? 'T' : 'F',
                         (move ? "failed the legal " : "failed ") + command + ": " +
                             shown(reply.text));
            return false;
        }
    }
    return true;
}

// Plays until a side has won; false when the game ended by a forfeit or an interrupt.
bool Match::playMoves(Game& game, const std::atomic<bool>& interrupted) {
    GamePosition& position = *game.position;
    while (position.winner() == 0) {
        const int side = position.sideToMove();
        const int engine = game.engineOf(side);
        const std::string where = " on move " + std::to_string(position.moves().size() + 1);
        const auto start = std::chrono::steady_clock::now();
        const EngineProcess::Reply reply = m_engines[static_cast<std::size_t>(engine)]->ask(
            "genmove " + std::string(HexNotation::colourName(side)), m_options.timePerMove,
            interrupted);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (reply.outcome == Outcome::Cancelled) {
            game.interrupted = true;
            return false;
        }
        if (reply.outcome != Outcome::Answered && reply.outcome != Outcome::Refused) {
            game.forfeit(engine, reply.outcome == Outcome::TimedOut ? 'T' : 'F',
                         shown(reply.text) + where);
            return false;
        }
        EngineStats& stats = m_summary.engines[static_cast<std::size_t>(engine)];
        ++stats.moves;
        stats.thinkSeconds += seconds;
        stats.longestSeconds = std::max(stats.longestSeconds, seconds);
        if (reply.outcome == Outcome::Refused) {
            game.forfeit(engine, 'F', "refused genmove" + where + ": " + shown(reply.text));
            return false;
        }
        const std::string answer = ProtocolText::lowerCase(ProtocolText::trimmed(reply.text));
        if (answer == "resign") {
            game.forfeit(engine, 'R', "resigned" + where); // a normal way to lose
            return false;
        }
        const std::optional<Hex::Coord> move = HexNotation::parseMove(answer, position.size());
        if (!move) {
            game.forfeit(engine, 'F', "answered '" + shown(reply.text) + "', no move" + where);
            return false;
        }
        const std::string refusal = position.refusal(side, *move);
        if (!refusal.empty()) {
            game.forfeit(engine, 'F', "played " + answer + where + ": " + refusal);
            return false;
        }
        const bool swapped = *move == HexNotation::swapMarker(position.size());
        if (swapped && !m_options.swap) {
            game.forfeit(engine, 'F', "answered swap-pieces" + where + ", but the swap is off");
            return false;
        }
        position.play(*move);
        if (position.winner() != 0) {
            break;
        }
        const std::vector<Hex::Coord>& moves = position.moves();
        if (swapped &&
            !tell(game, engine,
                  m_dialects[static_cast<std::size_t>(engine)].afterOwnSwap(moves.front()),
                  interrupted)) {
            return false;
        }
        const int other = 1 - engine;
        if (!tell(game, other,
                  m_dialects[static_cast<std::size_t>(other)].tell(moves, moves.size() - 1,
                                                                   position.size()),
                  interrupted)) {
            return false;
        }
    }
    game.winner = position.winner();
    return true;
}

void Match::tally(const Game& game) {
    ++m_summary.played;
    if (game.winner == 1) {
        ++m_summary.blackWins;
    }
    for (int engine = 0; engine < 2; ++engine) {
        EngineStats& stats = m_summary.engines[static_cast<std::size_t>(engine)];
        const int side = game.sideOf(engine);
        ++stats.games;
        stats.gamesAsBlack += side == 1 ? 1 : 0;
        if (game.winner == side) {
            ++stats.wins;
            stats.winsAsBlack += side == 1 ? 1 : 0;
        }
        const bool lostOffBoard = game.forfeiter == engine;
        stats.resignations += lostOffBoard && game.forfeitKind == 'R' ? 1 : 0;
        stats.forfeits += lostOffBoard && game.forfeitKind != 'R' ? 1 : 0;
    }
    if (!game.note.empty()) {
        m_summary.notes.push_back("game " + std::to_string(m_summary.played) + ": " + game.note);
    }
}

void Match::saveSgf(const Game& game, int index) {
    if (!m_options.sgfDir) {
        return;
    }
    SgfGame::Info info;
    info.black = m_summary.engines[static_cast<std::size_t>(game.blackEngine)].name;
    info.white = m_summary.engines[static_cast<std::size_t>(1 - game.blackEngine)].name;
    info.result = std::string(game.winner == 1 ? "B+" : "W+") +
                  (game.forfeiter >= 0 ? std::string(1, game.forfeitKind) : "");
    const GameRecord record{m_options.size, game.position->moves()};
    char name[32];
    std::snprintf(name, sizeof name, "game-%03d.sgf", index + 1);
    if (!FileText::replaceWhole(*m_options.sgfDir / name, SgfGame::write(record, info))) {
        m_summary.notes.push_back("game " + std::to_string(index + 1) + ": could not write " +
                                  (*m_options.sgfDir / name).string());
    }
}

void Match::showProgress() {
    const int width = 30;
    const int done = m_summary.played * width / std::max(1, m_options.games);
    m_progress << "\r[" << std::string(static_cast<std::size_t>(done), '#')
               << std::string(static_cast<std::size_t>(width - done), '.') << "] "
               << m_summary.played << '/' << m_options.games << "  A " << m_summary.engines[0].wins
               << " : " << m_summary.engines[1].wins << " B" << std::flush;
    if (m_summary.played == m_options.games) {
        m_progress << '\n';
    }
}
