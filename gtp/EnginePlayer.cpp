#include "gtp/EnginePlayer.h"

#include "engine/MessageSink.h"
#include "gtp/EngineProcess.h"
#include "model/Exception.h"
#include "model/Game.h"
#include "notation/GamePosition.h"
#include "notation/HexNotation.h"
#include "notation/ProtocolText.h"

#include <algorithm>
#include <utility>

namespace {

using Outcome = EngineProcess::Outcome;
using SteadyClock = std::chrono::steady_clock;

// A reply as a message shows it: one line, not too long.
std::string shown(std::string text, std::size_t longest = 80) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\n' || c == '\t'; }, ' ');
    text = ProtocolText::trimmed(text);
    return text.size() > longest ? text.substr(0, longest) + "..." : text;
}

std::chrono::milliseconds timeTo(std::chrono::steady_clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
    return std::max(left, std::chrono::milliseconds(0));
}

bool startsWith(const std::vector<Hex::Coord>& moves, const std::vector<Hex::Coord>& prefix) {
    return prefix.size() <= moves.size() && std::equal(prefix.begin(), prefix.end(), moves.begin());
}

} // namespace

// The watch over one question: started with it, ended (done signalled, watcher joined)
// however the question ends.
class EnginePlayer::Watch {
public:
    Watch(EnginePlayer& player, Event& stopEvent) : m_player(player) {
        m_player.m_cancel = false;
        m_player.m_done.reset();
        m_player.m_watcher = std::thread([&player, &stopEvent] {
            if (Event::waitAny(stopEvent, player.m_done) == 0) {
                player.m_cancel = true;
            }
        });
    }
    ~Watch() {
        m_player.m_done.set();
        m_player.m_watcher.join();
    }
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

private:
    EnginePlayer& m_player;
};

EnginePlayer::EnginePlayer(Options options, const Clock& clock)
    : TimedPlayer(unnamed, clock), m_options(std::move(options)) {
    m_starter = std::thread([this] {
        std::string why;
        try {
            startEngine(SteadyClock::now() + m_options.startLimit);
        } catch (const Failure& failure) {
            why = failure.what;
        } catch (const Stopped&) {
            why = "its start was cancelled";
        }
        std::lock_guard lock(m_lock);
        m_start = why.empty() ? Start::ready : Start::failed;
        m_startFailure = why;
    });
}

EnginePlayer::~EnginePlayer() {
    m_cancel = true;
    waitUntilIdle();
    if (m_starter.joinable()) {
        m_starter.join();
    }
    if (m_process) {
        m_process->quit(std::chrono::milliseconds(500));
    }
}

std::string EnginePlayer::name() const {
    std::lock_guard lock(m_lock);
    return m_name;
}

EnginePlayer::Start EnginePlayer::startState() const {
    std::lock_guard lock(m_lock);
    return m_start;
}

std::string EnginePlayer::startFailure() const {
    std::lock_guard lock(m_lock);
    return m_startFailure;
}

Hex::Coord EnginePlayer::chooseMove(Event& stopEvent) {
    // The stone that came with a declined swap: the game asks for it right away.
    const std::optional<Hex::Coord> pending = std::exchange(m_pending, std::nullopt);
    if (stopEvent.isSet()) {
        return Hex::noMove;
    }
    if (pending && game() == m_toldGame && game()->moves().size() == 1) {
        return *pending;
    }
    Watch watch(*this, stopEvent);
    return think(false).value_or(Hex::noMove);
}

bool EnginePlayer::decideSwap(Event& stopEvent) {
    m_pending.reset();
    if (stopEvent.isSet()) {
        return false;
    }
    Watch watch(*this, stopEvent);
    const std::optional<Hex::Coord> answer = think(true);
    if (!answer) {
        return false;
    }
    const auto n = static_cast<std::int32_t>(game()->board().size());
    if (*answer == Hex::Coord{n, n}) {
        return true;
    }
    m_pending = *answer;
    return false;
}

// The engine's answer for the side to move; nullopt when the game was stopped.
std::optional<Hex::Coord> EnginePlayer::think(bool swapQuestion) {
    if (m_starter.joinable()) {
        m_starter.join(); // a stop cancels the start too
    }
    try {
        const std::int32_t left = m_options.timeLimit - timeUsed();
        if (left <= 0) {
            fail("has no time left");
        }
        const Deadline deadline = SteadyClock::now() + std::chrono::seconds(left);
        const std::vector<Hex::Coord> moves = game()->moves();
        prepare(moves, deadline);
        sendTimeLeft(left, deadline);
        postStatus(name() + " thinking...");
        const std::string command =
            "genmove " + std::string(HexNotation::colourName(m_options.side));
        const std::string text = expect(command, deadline);
        const Hex::Coord move = readAnswer(command, text, moves, swapQuestion);
        if (move == HexNotation::swapMarker(game()->board().size())) {
            for (const std::string& resync : m_dialect.afterOwnSwap(moves.front())) {
                expect(resync, deadline);
            }
        }
        m_told = moves;
        m_told.push_back(move);
        postStatus(name() + " finished");
        return move;
    } catch (const Stopped&) {
        // The engine was killed in the middle of a reply; the next game starts it again.
        m_process.reset();
        m_toldGame = nullptr;
        return std::nullopt;
    } catch (const Failure& failure) {
        throw Hex::Exception("The GTP engine " + title() + " (Player " +
                             std::to_string(m_options.side) + ") " + failure.what + ".");
    }
}

// The engine as a message names it: its name, or its command before it has told its name.
std::string EnginePlayer::title() const {
    const std::string known = name();
    return known != unnamed ? known : "'" + shown(m_options.command, 60) + "'";
}

// Starts the engine (again) and learns its name and commands.
void EnginePlayer::startEngine(Deadline deadline) {
    m_process = std::make_unique<EngineProcess>(m_options.command);
    m_toldGame = nullptr;
    m_told.clear();
    m_timeLeft = TimeLeftForm::standard;
    const std::string engineName = expect("name", deadline);
    const EngineProcess::Reply commands =
        m_process->ask("list_commands", timeTo(deadline), m_cancel);
    if (commands.outcome == Outcome::Cancelled) {
        throw Stopped{};
    }
    if (commands.outcome != Outcome::Answered && commands.outcome != Outcome::Refused) {
        fail(commands.text + " at list_commands");
    }
    m_dialect = EngineDialect::of(
        engineName, commands.outcome == Outcome::Answered ? commands.text : std::string());
    const std::string shownName = shown(engineName.substr(0, engineName.find('\n')), 40);
    std::lock_guard lock(m_lock);
    m_name = shownName.empty() ? unnamed : shownName;
}

// Brings the engine to the game: started, set up for it, and told every move it has not seen.
void EnginePlayer::prepare(const std::vector<Hex::Coord>& moves, Deadline deadline) {
    if (!m_process || !m_process->alive()) {
        try {
            startEngine(deadline);
        } catch (const Failure& failure) {
            fail("could not be started: " + failure.what);
        }
    }
    const std::uint32_t size = game()->board().size();
    if (m_toldGame != game() || m_toldSize != size || !startsWith(moves, m_told)) {
        m_toldGame = nullptr;
        m_told.clear();
        expect("boardsize " + std::to_string(size), deadline);
        expect("clear_board", deadline);
        if (const std::optional<std::string> rule = m_dialect.swapRule(true)) {
            expect(*rule, deadline);
        }
        m_toldGame = game();
        m_toldSize = size;
    }
    for (const std::string& command : m_dialect.tell(moves, m_told.size(), size)) {
        expect(command, deadline);
    }
    m_told = moves;
}

// GTP's time_left has three arguments; the Benzene engines take two. An engine that takes
// neither, or does not list the command, plays without being told.
void EnginePlayer::sendTimeLeft(std::int32_t seconds, Deadline deadline) {
    if (!m_dialect.knows("time_left")) {
        return;
    }
    const std::string command = "time_left " +
                                std::string(HexNotation::colourName(m_options.side)) + " " +
                                std::to_string(seconds);
    while (m_timeLeft != TimeLeftForm::none) {
        const std::string form = m_timeLeft == TimeLeftForm::standard ? command + " 0" : command;
        const EngineProcess::Reply reply = m_process->ask(form, timeTo(deadline), m_cancel);
        if (reply.outcome == Outcome::Answered) {
            return;
        }
        if (reply.outcome == Outcome::Cancelled) {
            throw Stopped{};
        }
        if (reply.outcome != Outcome::Refused) {
            fail(reply.text + " at " + form);
        }
        m_timeLeft =
            m_timeLeft == TimeLeftForm::standard ? TimeLeftForm::twoArguments : TimeLeftForm::none;
    }
}

Hex::Coord EnginePlayer::readAnswer(const std::string& command, const std::string& text,
                                    const std::vector<Hex::Coord>& moves, bool swapQuestion) {
    const std::uint32_t size = game()->board().size();
    const std::string where = " on move " + std::to_string(moves.size() + 1);
    const std::string answer = ProtocolText::lowerCase(ProtocolText::trimmed(text));
    if (answer == "resign") {
        fail("resigned" + where);
    }
    const std::optional<Hex::Coord> move = HexNotation::parseMove(answer, size);
    if (!move) {
        fail("answered " + command + " with '" + shown(text) + "', which is no move");
    }
    GamePosition position(size);
    position.playAll(moves);
    std::string refusal = position.refusal(m_options.side, *move);
    if (refusal.empty() && *move == HexNotation::swapMarker(size) && !swapQuestion) {
        refusal = "the swap was not offered";
    }
    if (!refusal.empty()) {
        fail("played " + HexNotation::moveName(*move, size) + where + ": " + refusal);
    }
    return *move;
}

// The command's reply text; a refusal or a failure of the engine ends the game.
std::string EnginePlayer::expect(const std::string& command, Deadline deadline) {
    const EngineProcess::Reply reply = m_process->ask(command, timeTo(deadline), m_cancel);
    switch (reply.outcome) {
    case Outcome::Answered:
        return reply.text;
    case Outcome::Cancelled:
        throw Stopped{};
    case Outcome::Refused:
        fail("refused " + command + ": " + shown(reply.text));
    default:
        fail(reply.text + " at " + command);
    }
}

// Ends the engine with the game it failed.
void EnginePlayer::fail(const std::string& what) {
    if (m_process) {
        m_process->kill();
        m_process.reset();
    }
    m_toldGame = nullptr;
    m_told.clear();
    throw Failure{what};
}

void EnginePlayer::postStatus(const std::string& text) {
    if (m_options.sink != nullptr) {
        m_options.sink->post(WmAppStatusText{text});
    }
}
