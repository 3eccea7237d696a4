#include "document/CQuorlenDoc.h"

#include "document/RedrawObserver.h"
#include "document/SavedGame.h"
#include "engine/MessageSink.h"
#include "engine/SearchThreads.h"
#include "gtp/EnginePlayer.h"
#include "mcts/MctsHint.h"
#include "mcts/TreeMemoryBudget.h"
#include "model/CellName.h"
#include "model/Exception.h"
#include "players/ComputerPlayer.h"
#include "players/ExpertPlayer.h"
#include "players/HumanInput.h"
#include "players/HumanPlayer.h"
#include "settings/EscapedText.h"
#include "settings/FileText.h"
#include "settings/GameRecord.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"
#include "sgf/GameFile.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace {

// The side that gave up an SGF game, as its result tells ("B+R", "W+Resign"); 0 for none.
int resignedSideOf(const std::string& result) {
    if (result.rfind("B+R", 0) == 0) {
        return 2;
    }
    return result.rfind("W+R", 0) == 0 ? 1 : 0;
}

} // namespace

CQuorlenDoc::CQuorlenDoc(Context context)
    : m_context(std::move(context)),
      m_treeMemory(std::make_shared<TreeMemoryBudget>(TreeMemoryBudget::machineDefault())),
      m_hintSearch(m_context.sink), m_liveAnalysis(m_context.sink) {
    readSettings();
    m_pInput1 = std::make_unique<HumanInput>(1, m_context.sink);
    m_pInput2 = std::make_unique<HumanInput>(2, m_context.sink);
    m_pObserver = std::make_unique<RedrawObserver>(m_context.sink);
    m_pPlayer1 = makePlayer(1, m_p1Type);
    m_pPlayer2 = makePlayer(2, m_p2Type);
}

CQuorlenDoc::~CQuorlenDoc() {
    m_hintSearch.stop();
    m_liveAnalysis.stop();
    if (isRunning()) {
        m_pGame->stop();
    }
    joinGameThread();
    // Computer players write the weights file as they go: Player 1's first.
    m_pPlayer1.reset();
    m_pPlayer2.reset();
    m_pInput1.reset();
    m_pInput2.reset();
    m_pGame.reset();
    m_pObserver.reset();
}

void CQuorlenDoc::readSettings() {
    const SettingsStore& settings = m_context.settings;
    m_boardSize = settings.getInt(SettingsKeys::boardSize);
    if (m_boardSize < minBoardSize || m_boardSize > maxBoardSize) {
        // A hand-edited size the program cannot play (0, or a size whose board would not fit
        // in memory) falls back to the default instead of failing at the first game.
        m_boardSize = defaultBoardSize;
    }
    m_colors.background = settings.getInt(SettingsKeys::colorBack);
    m_colors.cell = settings.getInt(SettingsKeys::colorCell);
    m_colors.selection = settings.getInt(SettingsKeys::colorSelection);
    m_colors.border = settings.getInt(SettingsKeys::colorBorder);
    m_colors.player1 = settings.getInt(SettingsKeys::colorP1);
    m_colors.player2 = settings.getInt(SettingsKeys::colorP2);
    m_colors.path = settings.getInt(SettingsKeys::colorPath);
    m_p1Type = playerKindFromSetting(settings.getInt(SettingsKeys::p1Type));
    m_p2Type = playerKindFromSetting(settings.getInt(SettingsKeys::p2Type));
    // A side set to a GTP engine without a command line is a human.
    for (int side = 1; side <= 2; ++side) {
        PlayerKind& kind = side == 1 ? m_p1Type : m_p2Type;
        if (kind == PlayerKind::gtpEngine && engineCommand(side).empty()) {
            kind = PlayerKind::human;
        }
    }
    m_timeLimit = settings.getInt(SettingsKeys::timeLimit);
}

std::unique_ptr<TimedPlayer> CQuorlenDoc::makePlayer(int side, PlayerKind kind) {
    if (m_context.makePlayer) {
        return m_context.makePlayer(side, kind);
    }
    if (kind == PlayerKind::human) {
        return std::make_unique<HumanPlayer>(side == 1 ? "Player 1" : "Player 2", &input(side),
                                             m_context.clock);
    }
    if (kind == PlayerKind::expert) {
        // The thread count is read when the player is made, as the time limit is.
        const int threads =
            searchThreadCount(m_context.settings.getInt(SettingsKeys::searchThreads));
        return std::make_unique<ExpertPlayer>(
            "Quorlen Expert", m_timeLimit,
            ExpertPlayer::Context{
                m_context.sink, m_context.clock, threads, {}, {}, {}, {}, true, m_treeMemory});
    }
    if (kind == PlayerKind::gtpEngine) {
        return startEngine(side, engineCommand(side));
    }
    const bool hard = kind == PlayerKind::hard;
    ComputerPlayer::Context context{
        m_context.sink,         m_context.settings, m_context.clock, m_context.weightsFile, {},
        m_context.computerPause};
    return std::make_unique<ComputerPlayer>(hard ? "Quorlen" : "Quorl", m_timeLimit, hard, side,
                                            std::move(context));
}

void CQuorlenDoc::newGame() {
    if (isRunning()) {
        stopHint();
        m_pGame->stop(); // the thread ends by itself; the menu reads "New Game" once it has
        return;
    }
    joinGameThread();
    m_pGame.reset();
    redraw();
    startGame(
        std::make_unique<Hex::Game>(static_cast<std::uint32_t>(m_boardSize), m_pObserver.get()),
        true, false);
}

// No game thread runs. The game exists before its thread starts, so a Stop Game right away
// is never lost; the hand-offs and the display flags start empty, so that no click or
// announcement of an earlier game reaches this one.
void CQuorlenDoc::startGame(std::unique_ptr<Hex::Game> game, bool newClocks, bool takenBack) {
    stopHint();
    dropAnalysis();
    m_review.clear();
    m_resignedSide = 0;
    m_pGame = std::move(game);
    m_pGame->setPlayer1(m_pPlayer1.get());
    m_pGame->setPlayer2(m_pPlayer2.get());
    const std::size_t moveCount = m_pGame->moves().size();
    for (TimedPlayer* player : {m_pPlayer1.get(), m_pPlayer2.get()}) {
        if (newClocks) {
            player->resetClock();
        }
        player->prepareGame(moveCount, takenBack);
    }
    clearSearchDisplay();
    m_pInput1->cancelPending();
    m_pInput2->cancelPending();
    m_p1AwaitsMove = m_p2AwaitsMove = m_p1SwapOffer = m_p2SwapOffer = false;
    m_bGameOver = false;
    m_bRunning = true;
    m_pGameThread = std::thread(&CQuorlenDoc::gameThreadProc, this);
}

void CQuorlenDoc::stopGameAndJoin() {
    stopHint();
    m_pGame->stop();
    joinGameThread();
    m_p1AwaitsMove = m_p2AwaitsMove = m_p1SwapOffer = m_p2SwapOffer = false;
}

void CQuorlenDoc::gameThreadProc() {
    // Every error ends the game with a message, never the program: the settings and the
    // weights of the run are saved at exit as usual.
    try {
        m_pGame->run();
        m_pPlayer1->gameEnded();
        m_pPlayer2->gameEnded();
    } catch (const Hex::Exception& error) {
        m_context.sink.post(GameErrorText{error.message()});
    } catch (const std::exception& error) {
        m_context.sink.post(GameErrorText{error.what()});
    } catch (...) {
        m_context.sink.post(GameErrorText{"The game ended with an unknown error."});
    }
    m_bGameOver = true;
    m_bRunning = false;
    m_context.sink.post(WmAppRedraw{});
}

void CQuorlenDoc::joinGameThread() {
    if (m_pGameThread.joinable()) {
        m_pGameThread.join();
    }
}

bool CQuorlenDoc::openRecord(const std::filesystem::path& path, std::string* problem) {
    if (isRunning()) {
        return false;
    }
    const std::optional<std::string> bytes = FileText::readAll(path);
    if (!bytes) {
        return false;
    }
    GameFile::Reading reading = GameFile::parse(*bytes);
    if (!reading.record) {
        // A record that fails its checks changes nothing and says nothing, as Open always
        // has; an SGF file, which Open did not read before, says why.
        if (problem != nullptr && GameFile::looksLikeSgf(*bytes)) {
            *problem = reading.error;
        }
        return false;
    }
    joinGameThread();
    stopHint();
    dropAnalysis();
    m_review.clear();
    clearSearchDisplay();
    m_pGame = reading.record->replay();
    m_analysis = reading.analysis;
    m_bGameOver = m_pGame->winner() != 0;
    m_resignedSide = m_bGameOver ? 0 : resignedSideOf(reading.info.result);
    loadVariations(reading);
    if (!reading.notes.empty()) {
        std::string notes;
        for (const std::string& note : reading.notes) {
            notes += (notes.empty() ? "" : "; ") + note;
        }
        showOwnStatus(std::move(notes));
    }
    redraw();
    return true;
}

bool CQuorlenDoc::saveRecord(const std::filesystem::path& directory) const {
    return m_pGame != nullptr && GameRecord::save(directory, *m_pGame);
}

void CQuorlenDoc::setBoardSize(int size) {
    if (isRunning()) {
        return;
    }
    stopLiveAnalysis(); // the empty board it analyses may change
    m_boardSize = size;
    m_context.settings.setInt(SettingsKeys::boardSize, size);
    redraw();
}

void CQuorlenDoc::setColors(const BoardColors& colors) {
    m_colors = colors;
    SettingsStore& settings = m_context.settings;
    settings.setInt(SettingsKeys::colorBack, colors.background);
    settings.setInt(SettingsKeys::colorBorder, colors.border);
    settings.setInt(SettingsKeys::colorCell, colors.cell);
    settings.setInt(SettingsKeys::colorSelection, colors.selection);
    settings.setInt(SettingsKeys::colorP1, colors.player1);
    settings.setInt(SettingsKeys::colorP2, colors.player2);
    settings.setInt(SettingsKeys::colorPath, colors.path);
    redraw();
}

void CQuorlenDoc::setTimeLimitMinutes(int minutes) {
    if (isRunning()) {
        return;
    }
    m_timeLimit = minutes * 60;
    m_context.settings.setInt(SettingsKeys::timeLimit, m_timeLimit);
}

void CQuorlenDoc::setPlayerKind(int side, PlayerKind kind) {
    if (isRunning()) {
        return; // the game thread never sees a player change under it
    }
    std::unique_ptr<TimedPlayer>& slot = side == 1 ? m_pPlayer1 : m_pPlayer2;
    slot.reset(); // a computer player writes its weights as it goes
    replacePlayer(side, kind, makePlayer(side, kind));
}

std::string CQuorlenDoc::engineCommand(int side) const {
    return EscapedText::unescaped(
        m_context.settings.get(side == 1 ? SettingsKeys::p1Engine : SettingsKeys::p2Engine));
}

std::unique_ptr<EnginePlayer> CQuorlenDoc::startEngine(int side, const std::string& command) const {
    EnginePlayer::Options options;
    options.command = command;
    options.side = side;
    options.timeLimit = m_timeLimit;
    options.sink = &m_context.sink;
    return std::make_unique<EnginePlayer>(std::move(options), m_context.clock);
}

void CQuorlenDoc::setEnginePlayer(int side, std::unique_ptr<EnginePlayer> player) {
    if (isRunning() || !player) {
        return;
    }
    m_context.settings.set(side == 1 ? SettingsKeys::p1Engine : SettingsKeys::p2Engine,
                           EscapedText::escaped(player->command()));
    replacePlayer(side, PlayerKind::gtpEngine, std::move(player));
}

void CQuorlenDoc::replacePlayer(int side, PlayerKind kind, std::unique_ptr<TimedPlayer> player) {
    std::unique_ptr<TimedPlayer>& slot = side == 1 ? m_pPlayer1 : m_pPlayer2;
    slot = std::move(player); // a computer player writes its weights as it goes
    if (side == 1) {
        m_p1AwaitsMove = m_p1SwapOffer = false;
        m_p1Type = kind;
        m_context.settings.setInt(SettingsKeys::p1Type, static_cast<int>(kind));
    } else {
        m_p2AwaitsMove = m_p2SwapOffer = false;
        m_p2Type = kind;
        m_context.settings.setInt(SettingsKeys::p2Type, static_cast<int>(kind));
    }
}

void CQuorlenDoc::toggleLearning() {
    const bool on = m_context.settings.getInt(SettingsKeys::learning) != 0;
    m_context.settings.set(SettingsKeys::learning, on ? "0" : "1");
}

namespace {

std::string_view displayKey(CQuorlenDoc::DisplaySwitch which) {
    switch (which) {
    case CQuorlenDoc::DisplaySwitch::paths:
        return SettingsKeys::showPaths;
    case CQuorlenDoc::DisplaySwitch::values:
        return SettingsKeys::showEvals;
    case CQuorlenDoc::DisplaySwitch::bestMove:
        break;
    }
    return SettingsKeys::showBest;
}

} // namespace

void CQuorlenDoc::toggleDisplay(DisplaySwitch which) {
    m_context.settings.set(displayKey(which), isDisplayChecked(which) ? "0" : "1");
    redraw();
}

bool CQuorlenDoc::isDisplayChecked(DisplaySwitch which) const {
    return m_context.settings.getInt(displayKey(which)) != 0;
}

bool CQuorlenDoc::isPlayerKindChecked(int side, PlayerKind kind) const {
    return playerKind(side) == kind;
}

bool CQuorlenDoc::isLearningChecked() const {
    return m_context.settings.getInt(SettingsKeys::learning) != 0;
}

void CQuorlenDoc::onClose() {
    m_context.settings.setInt(SettingsKeys::boardSize, m_boardSize);
}

// An announcement whose question has already ended (its game was stopped, taken back or
// replaced) is dropped.
void CQuorlenDoc::onHumanTurn(int player) {
    if (input(player).question() == HumanInput::Question::move) {
        (player == 1 ? m_p1AwaitsMove : m_p2AwaitsMove) = true;
    }
}

void CQuorlenDoc::onSwapOffer(int player) {
    if (input(player).question() == HumanInput::Question::swap) {
        (player == 1 ? m_p1SwapOffer : m_p2SwapOffer) = true;
    }
    redraw();
}

void CQuorlenDoc::onShowPaths(const WmAppShowPaths& message) {
    const int count = static_cast<int>(message.paths.size());
    if (message.player == 1) {
        m_paths1 = message.paths;
        m_pathCount1 = count;
    } else if (message.player == 2) {
        m_paths2 = message.paths;
        m_pathCount2 = count;
    } else {
        m_pathCount1 = 0;
        m_pathCount2 = 0;
    }
    redraw();
}

void CQuorlenDoc::onShowEval(const WmAppShowEval& message) {
    const auto& evaluation = message.evaluation;
    if (evaluation && evaluation->row >= 0 && evaluation->col >= 0) {
        m_evals[100 * evaluation->row + evaluation->col] = *evaluation;
    } else {
        m_evals.clear();
    }
    redraw();
}

bool CQuorlenDoc::cellClicked(int row, int col) {
    if (!isRunning() || m_pGame == nullptr) {
        return reviewClicked(row, col);
    }
    const Hex::Board board = m_pGame->boardSnapshot();
    const bool cellEmpty = board.inBounds(row, col) && board.at(row, col) == 0;
    for (int side = 1; side <= 2; ++side) {
        bool& awaitsMove = side == 1 ? m_p1AwaitsMove : m_p2AwaitsMove;
        bool& swapOffer = side == 1 ? m_p1SwapOffer : m_p2SwapOffer;
        if (!awaitsMove && !swapOffer) {
            continue;
        }
        if (!cellEmpty) {
            return false; // the other side's flags are not looked at
        }
        if (swapOffer) {
            swapOffer = false;
            input(side).setSwap(false); // clicking a cell declines the swap
        }
        awaitsMove = false;
        stopHint();
        input(side).setMove(row, col);
        return true;
    }
    return false;
}

void CQuorlenDoc::swapClicked() {
    if (m_p1SwapOffer) {
        m_p1SwapOffer = false;
        stopHint();
        m_pInput1->setSwap(true);
    } else if (m_p2SwapOffer) {
        m_p2SwapOffer = false;
        stopHint();
        m_pInput2->setSwap(true);
    }
}

// A stopped think posts no clearing messages, so whatever it showed last would stay over the
// next position.
void CQuorlenDoc::clearSearchDisplay() {
    m_paths1.clear();
    m_paths2.clear();
    m_pathCount1 = m_pathCount2 = 0;
    m_evals.clear();
}

void CQuorlenDoc::redraw() {
    m_context.sink.post(WmAppRedraw{});
}

// --- Take Back, Hint, Resign ------------------------------------------------------------------

int CQuorlenDoc::humanToMove() const {
    if (!isRunning() || m_pGame == nullptr) {
        return 0;
    }
    const int side = m_pGame->currentPlayer();
    if ((side != 1 && side != 2) || !isHuman(side)) {
        return 0;
    }
    return awaitsMove(side) || swapOffered(side) ? side : 0;
}

// The longest start of the game after which a human is to move, shorter than moveCount.
std::optional<std::size_t> CQuorlenDoc::takeBackCount(std::size_t moveCount) const {
    for (std::size_t count = moveCount; count-- > 0;) {
        if (isHuman(count % 2 == 0 ? 1 : 2)) {
            return count;
        }
    }
    return std::nullopt;
}

// With a human in the game, a running game is at a human's turn or a computer thinks
// against a human; the turn need not be announced yet, as the count is taken again once the
// game has stopped.
bool CQuorlenDoc::canTakeBack() const {
    return isRunning() && m_pGame != nullptr && takeBackCount(m_pGame->moves().size()).has_value();
}

bool CQuorlenDoc::takeBack() {
    if (!canTakeBack()) {
        return false;
    }
    // A computer's reply may land while the game stops; counting after the stop takes it
    // back as well, so the human's previous turn comes back either way.
    stopGameAndJoin();
    std::vector<Hex::Coord> moves = m_pGame->moves();
    const std::optional<std::size_t> count = takeBackCount(moves.size());
    if (!count) {
        return false; // cannot happen: the game had a human move to take back
    }
    moves.resize(*count);
    startGame(std::make_unique<Hex::Game>(m_pGame->board().size(), moves, m_pObserver.get()), false,
              true);
    redraw();
    return true;
}

bool CQuorlenDoc::hint() {
    if (!canHint()) {
        return false;
    }
    // The strongest built-in search, the expert's, on the threads the expert would use.
    const int threads = searchThreadCount(m_context.settings.getInt(SettingsKeys::searchThreads));
    m_hintSearch.start(std::make_unique<MctsHint>(threads, m_treeMemory),
                       {m_pGame->board().size(), m_pGame->moves()}, hintTime);
    showOwnStatus("Finding a hint...");
    return true;
}

// Between two humans, or after Open, no player would replace the text.
void CQuorlenDoc::stopHint() {
    m_hintSearch.stop();
    stopLiveAnalysis();
    if (m_ownStatusShown) {
        m_ownStatusShown = false;
        m_context.sink.post(WmAppStatusText{""});
    }
}

void CQuorlenDoc::showOwnStatus(std::string text) {
    m_context.sink.post(WmAppStatusText{std::move(text)});
    m_ownStatusShown = true;
}

void CQuorlenDoc::onShowHint(const WmAppShowHint& message) {
    const int side = humanToMove();
    if (side == 0) {
        return; // the position has changed since
    }
    if (std::optional<std::string> text = m_hintSearch.accept(message, player(side).name())) {
        showOwnStatus(std::move(*text));
        redraw();
    }
}

bool CQuorlenDoc::resign() {
    const int side = humanToMove();
    if (side == 0) {
        return false;
    }
    stopGameAndJoin();
    m_resignedSide = side;
    showOwnStatus(player(3 - side).name() + " wins by resignation");
    redraw();
    return true;
}

// --- Review ----------------------------------------------------------------------------------

const GameReview& CQuorlenDoc::review() const {
    // The game thread has left the game once the document no longer runs it.
    if (!m_review.isLoaded() && canReview()) {
        m_review.load(m_pGame->board().size(), m_pGame->moves());
    }
    return m_review;
}

const Hex::Game* CQuorlenDoc::shownGame() const {
    if (canReview() && review().shownGame() != nullptr) {
        return review().shownGame();
    }
    return m_pGame.get();
}

bool CQuorlenDoc::canShowMove(GameReview::Step step) const {
    return canReview() && review().target(step) != review().shownCount();
}

bool CQuorlenDoc::showMove(GameReview::Step step) {
    if (!canShowMove(step)) {
        return false;
    }
    stopLiveAnalysis();
    m_review.go(step);
    redraw();
    return true;
}

std::pair<std::size_t, std::size_t> CQuorlenDoc::reviewPosition() const {
    if (!canReview()) {
        return {0, 0};
    }
    return {review().shownCount(), review().moveCount()};
}

bool CQuorlenDoc::canContinue() const {
    if (!canReview()) {
        return false;
    }
    const auto size = static_cast<int>(review().size());
    return size >= minBoardSize && size <= maxBoardSize && review().canPlayOn();
}

bool CQuorlenDoc::continueFromHere() {
    if (!canContinue()) {
        return false;
    }
    joinGameThread();
    const std::vector<Hex::Coord> moves = review().shownMoves();
    const std::uint32_t size = review().size();
    startGame(std::make_unique<Hex::Game>(size, moves, m_pObserver.get()), true, false);
    redraw();
    return true;
}

// --- Variations ------------------------------------------------------------------------------

bool CQuorlenDoc::reviewClicked(int row, int col) {
    if (!canReview()) {
        return false;
    }
    review(); // loaded from the game when first asked for
    if (!m_review.play(Hex::Coord{row, col})) {
        return false;
    }
    redraw();
    return true;
}

bool CQuorlenDoc::backToGame() {
    if (!canBackToGame()) {
        return false;
    }
    m_review.backToGame();
    redraw();
    return true;
}

std::optional<std::size_t> CQuorlenDoc::variationBranch() const {
    return canReview() ? review().variationBranch() : std::nullopt;
}

// Only the game's line was read as the game; the window shows the others as variations.
void CQuorlenDoc::loadVariations(GameFile::Reading& reading) {
    if (reading.variations.empty()) {
        return;
    }
    std::erase(reading.notes, std::string(SgfGame::variationsNote));
    std::set<std::size_t> points;
    for (const GameVariation& variation : reading.variations) {
        points.insert(variation.branch);
    }
    std::string branches;
    for (const std::size_t point : points) {
        branches += (branches.empty() ? "" : ", ") + std::to_string(point);
    }
    reading.notes.push_back("variations after moves " + branches +
                            (reading.variationsLeftOut ? " (others could not be read)" : "") +
                            ": click a variation's first move there to show it");
    m_review.load(reading.record->size, reading.record->moves, std::move(reading.variations));
}

// --- Analyze Position ------------------------------------------------------------------------

// The computer's turn never: its own search decides there.
bool CQuorlenDoc::mayAnalyzePosition() const {
    if (isRunning()) {
        return humanToMove() != 0;
    }
    const Hex::Game* shown = shownGame();
    return shown == nullptr || shown->winner() == 0;
}

bool CQuorlenDoc::canAnalyzePosition() const {
    return isAnalyzingPosition() || mayAnalyzePosition();
}

bool CQuorlenDoc::toggleAnalyzePosition() {
    if (isAnalyzingPosition()) {
        stopLiveAnalysis();
        return true;
    }
    if (!mayAnalyzePosition()) {
        return false;
    }
    MctsSearch::Position position{static_cast<std::uint32_t>(m_boardSize), {}, true};
    if (const Hex::Game* shown = shownGame()) {
        position.size = shown->board().size();
        position.moves = shown->moves();
    }
    MctsSearch::Config config;
    config.threads = searchThreadCount(m_context.settings.getInt(SettingsKeys::searchThreads));
    config.memory = m_treeMemory;
    m_liveAnalysis.start(std::move(position), std::move(config));
    return true;
}

void CQuorlenDoc::onLiveAnalysis(const WmAppLiveAnalysis& message) {
    if (m_liveAnalysis.accept(message)) {
        redraw();
    }
}

void CQuorlenDoc::stopLiveAnalysis() {
    if (m_liveAnalysis.isOn()) {
        m_liveAnalysis.stop();
        redraw(); // its moves go from the board
    }
}

// --- Save As ---------------------------------------------------------------------------------

std::string CQuorlenDoc::saveAs(const std::filesystem::path& file) const {
    if (m_pGame == nullptr) {
        return "There is no game to save.";
    }
    // While the game runs the lock of moves() gives whole moves, and no result yet.
    const bool over = !isRunning();
    SavedGame saved{m_pGame->board().size(),
                    m_pGame->moves(),
                    over ? m_pGame->winner() : 0,
                    over ? m_resignedSide : 0,
                    {},
                    m_analysis};
    if (over && m_review.isLoaded()) {
        saved.variations = m_review.variations();
    }
    return saved.write(file);
}

// --- Game analysis ---------------------------------------------------------------------------

namespace {

// A win rate as the user reads it: a proven one as won or lost, never as 100% or 0%.
std::string rateText(double rate, bool proven) {
    if (proven) {
        return rate >= 0.5 ? "won" : "lost";
    }
    return std::to_string(std::lround(rate * 100.0)) + "%";
}

std::string moveName(Hex::Coord move, std::uint32_t size) {
    const auto n = static_cast<std::int32_t>(size);
    return move == Hex::Coord{n, n} ? "Swap" : Hex::cellName(move);
}

} // namespace

GameAnalysis::Settings CQuorlenDoc::analysisSettings() const {
    GameAnalysis::Settings settings;
    settings.timePerPosition = analysisTime;
    settings.threads = searchThreadCount(m_context.settings.getInt(SettingsKeys::searchThreads));
    if (m_analysisPlayouts) {
        settings.timePerPosition = std::chrono::milliseconds::max();
        settings.playoutsPerPosition = m_analysisPlayouts;
        settings.threads = 1;
    }
    settings.memory = m_treeMemory;
    return settings;
}

bool CQuorlenDoc::canAnalyzeGame() const {
    return isAnalyzing() || (canReview() && !m_pGame->moves().empty());
}

bool CQuorlenDoc::analyzeGame() {
    if (isAnalyzing()) {
        return stopAnalysis();
    }
    if (!canAnalyzeGame()) {
        return false;
    }
    m_analysis.clear();
    m_analysisRun.start(m_pGame->board().size(), m_pGame->moves(), analysisSettings());
    showOwnStatus("Analyzing the game...");
    redraw();
    return true;
}

bool CQuorlenDoc::stopAnalysis() {
    if (!isAnalyzing()) {
        return false;
    }
    m_analysisRun.stop();
    showOwnStatus("Analysis stopped");
    return true;
}

void CQuorlenDoc::dropAnalysis() {
    m_analysisRun.stop();
    m_analysis.clear();
}

void CQuorlenDoc::onAnalysisProgress(const WmAppAnalysisProgress& message) {
    if (m_analysisRun.isCurrent(message.request)) {
        showOwnStatus("Analyzing the game: position " + std::to_string(message.done) + " of " +
                      std::to_string(message.total));
    }
}

void CQuorlenDoc::onAnalysisDone(const WmAppAnalysisDone& message) {
    if (!m_analysisRun.isCurrent(message.request)) {
        return; // stopped, or the game has changed since
    }
    std::optional<std::vector<MoveAnalysis>> moves = m_analysisRun.accept(message);
    if (!moves) {
        showOwnStatus("The game cannot be analyzed: " + m_analysisRun.error());
        return;
    }
    m_analysis = std::move(*moves);
    showOwnStatus("Game analyzed");
    redraw();
}

const MoveAnalysis* CQuorlenDoc::shownMoveAnalysis() const {
    if (!canReview() || m_analysis.empty()) {
        return nullptr;
    }
    const std::size_t shown = review().shownCount();
    return shown > 0 && shown <= m_analysis.size() ? &m_analysis[shown - 1] : nullptr;
}

std::string CQuorlenDoc::shownMoveAnalysisText() const {
    const MoveAnalysis* move = shownMoveAnalysis();
    if (move == nullptr) {
        return "";
    }
    const std::uint32_t size = review().size();
    return "Move " + std::to_string(review().shownCount()) + ", Player " +
           std::to_string(move->player) + " " + moveName(move->move, size) + ": " +
           std::string(MoveAnalysis::labelName(move->label)) + ", " +
           rateText(move->winRateAfter, move->provenAfter) + " (best " +
           moveName(move->bestMove, size) + " " +
           rateText(move->winRateBefore, move->provenBefore) + ")";
}

bool CQuorlenDoc::showMoveCount(std::size_t count) {
    if (!canReview() || !m_review.show(std::min(count, review().moveCount()))) {
        return false;
    }
    redraw();
    return true;
}
