#include "document/CQuorlenDoc.h"

#include "document/RedrawObserver.h"
#include "engine/MessageSink.h"
#include "gtp/EnginePlayer.h"
#include "model/Exception.h"
#include "players/ComputerPlayer.h"
#include "players/HumanInput.h"
#include "players/HumanPlayer.h"
#include "settings/EscapedText.h"
#include "settings/GameRecord.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"

CQuorlenDoc::CQuorlenDoc(Context context) : m_context(std::move(context)) {
    readSettings();
    m_pInput1 = std::make_unique<HumanInput>(1, m_context.sink);
    m_pInput2 = std::make_unique<HumanInput>(2, m_context.sink);
    m_pObserver = std::make_unique<RedrawObserver>(m_context.sink);
    m_pPlayer1 = makePlayer(1, m_p1Type);
    m_pPlayer2 = makePlayer(2, m_p2Type);
}

CQuorlenDoc::~CQuorlenDoc() {
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
        m_pGame->stop(); // the thread ends by itself; the menu reads "New Game" once it has
        return;
    }
    joinGameThread();
    m_pGame.reset();
    redraw();

    // The game exists before its thread starts, so a Stop Game right away is never lost.
    m_pGame =
        std::make_unique<Hex::Game>(static_cast<std::uint32_t>(m_boardSize), m_pObserver.get());
    m_pGame->setPlayer1(m_pPlayer1.get());
    m_pGame->setPlayer2(m_pPlayer2.get());
    m_pPlayer1->resetClock();
    m_pPlayer2->resetClock();
    m_pInput1->cancelPending();
    m_pInput2->cancelPending();
    m_bGameOver = false;
    m_bRunning = true;
    m_pGameThread = std::thread(&CQuorlenDoc::gameThreadProc, this);
}

void CQuorlenDoc::gameThreadProc() {
    // Every error ends the game with a message, never the program: the settings and the
    // weights of the run are saved at exit as usual.
    try {
        m_pGame->run();
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

bool CQuorlenDoc::openRecord(const std::filesystem::path& path) {
    if (isRunning()) {
        return false;
    }
    const std::optional<GameRecord> record = GameRecord::readFile(path);
    if (!record) {
        return false;
    }
    joinGameThread();
    m_pGame = record->replay();
    m_bGameOver = m_pGame->winner() != 0;
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

bool CQuorlenDoc::isPlayerKindChecked(int side, PlayerKind kind) const {
    return playerKind(side) == kind;
}

bool CQuorlenDoc::isLearningChecked() const {
    return m_context.settings.getInt(SettingsKeys::learning) != 0;
}

void CQuorlenDoc::onClose() {
    m_context.settings.setInt(SettingsKeys::boardSize, m_boardSize);
}

void CQuorlenDoc::onHumanTurn(int player) {
    (player == 1 ? m_p1AwaitsMove : m_p2AwaitsMove) = true;
}

void CQuorlenDoc::onSwapOffer(int player) {
    (player == 1 ? m_p1SwapOffer : m_p2SwapOffer) = true;
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
        return false;
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
        input(side).setMove(row, col);
        return true;
    }
    return false;
}

void CQuorlenDoc::swapClicked() {
    if (m_p1SwapOffer) {
        m_p1SwapOffer = false;
        m_pInput1->setSwap(true);
    } else if (m_p2SwapOffer) {
        m_p2SwapOffer = false;
        m_pInput2->setSwap(true);
    }
}

void CQuorlenDoc::redraw() {
    m_context.sink.post(WmAppRedraw{});
}
