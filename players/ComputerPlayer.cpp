#include "players/ComputerPlayer.h"

#include "engine/EvaluationCache.h"
#include "engine/HexSearch.h"
#include "engine/IntersectionMove.h"
#include "engine/LearningStep.h"
#include "engine/MessageSink.h"
#include "engine/PathFinder.h"
#include "engine/SearchThreads.h"
#include "model/Game.h"
#include "players/MoveBudget.h"
#include "players/ThinkingFinished.h"
#include "players/WeightsFile.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"

#include <algorithm>
#include <ctime>

// The watch over one answer: started with it, ended (done signalled, watcher joined) however
// the answer ends.
class ComputerPlayer::Watch {
public:
    Watch(ComputerPlayer& player, Event& stopEvent) : m_player(player) {
        m_player.m_hStopEvent = &stopEvent;
        m_player.m_stopped = false;
        m_player.m_hDoneEvent.reset();
        m_player.m_watcher = std::thread(&ComputerPlayer::watchStop, &m_player);
    }
    ~Watch() {
        m_player.m_hDoneEvent.set();
        m_player.m_watcher.join();
    }
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

private:
    ComputerPlayer& m_player;
};

ComputerPlayer::ComputerPlayer(std::string name, std::int32_t timeLimit, bool lookAhead,
                               int playerNumber, Context context)
    : TimedPlayer(std::move(name), context.clock), m_context(std::move(context)),
      m_timeLimit(timeLimit), m_lookAhead(lookAhead), m_playerNumber(playerNumber) {
    WeightsFile::read(m_context.weightsFile, m_weights);
}

ComputerPlayer::~ComputerPlayer() {
    m_stopped = true;
    {
        std::lock_guard lock(m_searchLock);
        if (m_pSearch) {
            m_pSearch->stop();
        }
    }
    waitUntilIdle();
    WeightsFile::write(m_context.weightsFile, m_weights);
}

void ComputerPlayer::watchStop() {
    if (Event::waitAny(*m_hStopEvent, m_hDoneEvent) == 0) {
        m_stopped = true;
        std::lock_guard lock(m_searchLock);
        if (m_pSearch) {
            m_pSearch->stop();
        }
    }
}

Hex::Coord ComputerPlayer::chooseMove(Event& stopEvent) {
    Watch watch(*this, stopEvent);
    const int moveNumber = game()->moveNumber();
    if (moveNumber <= 2) {
        // Each game learns afresh. Its choices so far moved no weight, and those of an
        // earlier game (a headless or GTP run keeps the player) are never taken back.
        m_memory.havePrevious = false;
        m_learningStates.clear();
    }
    m_learningStates.push_back(LearningState{game()->moves().size(), m_weights, m_memory});
    const std::uint32_t n = game()->board().size();
    preparePathFinders(n);
    if (moveNumber <= 1) {
        return openingMove(n);
    }

    postStatus("Quorlen AI thinking...");
    const double learningRate = m_context.settings.getDecimal(SettingsKeys::learningRate);
    const Hex::Coord move = m_lookAhead ? hardMove(n, moveNumber, learningRate) : easyMove();
    postThinkingFinished(m_context.sink, m_stopped);
    return move;
}

void ComputerPlayer::prepareGame(std::size_t moveCount, bool takenBack) {
    if (!takenBack) {
        m_memory.havePrevious = false;
        m_learningStates.clear();
        return;
    }
    const auto gone =
        std::find_if(m_learningStates.begin(), m_learningStates.end(),
                     [&](const LearningState& state) { return state.moveCount >= moveCount; });
    if (gone != m_learningStates.end()) {
        m_weights = gone->weights;
        m_memory = gone->memory;
        m_learningStates.erase(gone, m_learningStates.end());
    }
}

bool ComputerPlayer::decideSwap(Event& stopEvent) {
    Watch watch(*this, stopEvent);
    postStatus("Quorlen AI thinking...");
    const auto second = std::chrono::milliseconds(1000);
    if (m_context.pause) {
        m_context.pause(second);
    } else {
        std::this_thread::sleep_for(second);
    }
    const Hex::Coord first = game()->moves().front();
    const int n = static_cast<int>(game()->board().size());
    const auto inMiddle = [n](int x) { return n / 4 <= x && x <= (3 * n) / 4; };
    const bool swap = inMiddle(first.row) && inMiddle(first.col);
    if (!m_stopped) {
        postStatus("Quorlen AI finished");
    }
    return swap;
}

void ComputerPlayer::preparePathFinders(std::uint32_t n) {
    // Path finders serve one board side; a game of another side gets new ones.
    if (!m_pPathFinder1 || m_pPathFinder1->size() != n) {
        m_pPathFinder1 = std::make_unique<PathFinder>(n, 0, 1);
    }
    if (!m_pPathFinder2 || m_pPathFinder2->size() != n) {
        m_pPathFinder2 = std::make_unique<PathFinder>(n, 1, 2);
    }
    m_pPathFinder1->setWeights(&m_weights);
    m_pPathFinder2->setWeights(&m_weights);
}

Hex::Coord ComputerPlayer::openingMove(std::uint32_t n) {
    m_random.seed(m_context.seed ? m_context.seed()
                                 : static_cast<std::uint32_t>(std::time(nullptr)));
    const auto draw = [this] { return static_cast<std::int64_t>(m_random() % 32768); };
    const std::int64_t quarter = n / 4;
    const std::int64_t half = n / 2;
    const std::int64_t r1 = draw();
    const std::int64_t r2 = draw();
    return Hex::Coord{static_cast<std::int32_t>(quarter + (half * r1) / 32768),
                      static_cast<std::int32_t>(quarter + (half * r2) / 32768)};
}

std::int32_t ComputerPlayer::timeBudget(std::uint32_t n, int moveNumber) {
    return moveBudget(m_timeLimit, timeUsed(), n, moveNumber);
}

Hex::Coord ComputerPlayer::hardMove(std::uint32_t n, int moveNumber, double learningRate) {
    // 1. The budget, the root on a copy of the board, and the search.
    const std::int32_t budget = timeBudget(n, moveNumber);
    const int rootType = m_playerNumber == 1 ? TreeNode::player1ToMove : TreeNode::player2ToMove;
    auto root = std::make_unique<HexNode>(nullptr, rootType, Hex::noMove, game()->board());
    HexNode& rootNode = *root;
    {
        std::lock_guard lock(m_searchLock);
        m_pSearch = std::make_unique<HexSearch>(
            budget, std::move(root), HexSearch::Owner{*m_pPathFinder1, *m_pPathFinder2, m_stopped},
            m_context.sink, m_context.clock);
        if (m_stopped) {
            m_pSearch->stop(); // the watcher saw the stop before the search existed
        }
    }
    m_pSearch->setShowBest(m_context.settings.getInt(SettingsKeys::showBest) != 0);
    m_pSearch->setThreads(
        searchThreadCount(m_context.settings.getInt(SettingsKeys::searchThreads)));
    // The next move's search meets many of this one's positions again; the cache forgets them
    // when learning changes the weights.
    if (!m_evaluations) {
        m_evaluations = std::make_unique<EvaluationCache>(HexSearch::cacheMemoryBudget());
    }
    m_pSearch->setCache(m_evaluations.get());

    // 2. The learning step, before the search.
    std::optional<LearningStep::Sample> sample;
    if (m_context.settings.getInt(SettingsKeys::learning) != 0) {
        postStatus("Quorlen AI learning...");
        sample = LearningStep::measure(*m_pSearch, rootNode, *m_pPathFinder1, *m_pPathFinder2);
        if (sample) {
            LearningStep::update(m_weights, m_memory, *sample, learningRate);
        }
    }

    // 3. The search; forgotten by the watcher before it is destroyed.
    int row = -1;
    int col = -1;
    m_pSearch->run(row, col);
    std::unique_ptr<HexSearch> finished;
    {
        std::lock_guard lock(m_searchLock);
        finished = std::move(m_pSearch);
    }
    finished.reset();
    if (sample) {
        LearningStep::remember(m_memory, *sample);
    }

    // Out of time (no budget, or no move searched to the end): the crossing of the cheapest
    // paths is instant and never (-1, -1).
    if (row < 0 || col < 0) {
        return easyMove();
    }
    return Hex::Coord{row, col};
}

Hex::Coord ComputerPlayer::easyMove() {
    const Hex::Coord move = intersectionMove(*m_pPathFinder1, *m_pPathFinder2, game()->board());
    return move == Hex::noMove ? firstEmptyCell() : move;
}

void ComputerPlayer::postStatus(const char* text) {
    m_context.sink.post(WmAppStatusText{text});
}
