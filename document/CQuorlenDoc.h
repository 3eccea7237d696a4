#pragma once

#include "document/BoardColors.h"
#include "document/GameAnalysisRun.h"
#include "document/GameReview.h"
#include "document/HintSearch.h"
#include "document/LiveAnalysis.h"
#include "document/PlayerKind.h"
#include "engine/Message.h"
#include "engine/Path.h"
#include "mcts/MoveAnalysis.h"
#include "model/Game.h"
#include "platform/Clock.h"
#include "sgf/GameFile.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

class EnginePlayer;
class HumanInput;
class MessageSink;
class RedrawObserver;
class SettingsStore;
class TreeMemoryBudget;
class TimedPlayer;

// The one document: the current or last game, both sides' players and hand-off objects, the
// settings-derived state, and the display state the window fills and the board view reads.
// It runs each game on a game thread of its own and answers the Game and Options commands;
// the user interface asks it which commands are enabled, checked and how they read.
//
// Thread contract: every method is for the user-interface thread. The game thread only runs
// the game and, at its end, sets isRunning() false and isGameOver() true (both atomic) and
// posts a redraw. The game object is made before its thread starts and replaced only while
// no game runs, so game() is stable while a game plays; read the position through the
// game's thread-safe snapshots. Take Back, Resign and Continue From Here stop the game
// thread and join it before they touch the game or the players; the hint, Analyze Game and
// the live analysis run on threads of their own (HintSearch, GameAnalysisRun, LiveAnalysis)
// that see only copies.
class CQuorlenDoc {
public:
    struct Context {
        SettingsStore& settings;
        MessageSink& sink;
        const Clock& clock = Clock::steady();
        std::filesystem::path weightsFile = "quorlen.dat";
        // The computer players' swap pause; a real one-second sleep when empty.
        std::function<void(std::chrono::milliseconds)> computerPause;
        // Makes the player of a side (1 or 2) and kind; the program's own players when empty.
        std::function<std::unique_ptr<TimedPlayer>(int side, PlayerKind kind)> makePlayer;
    };

    static constexpr int minBoardSize = 3;
    static constexpr int maxBoardSize = 30;
    static constexpr int defaultBoardSize = 10;

    explicit CQuorlenDoc(Context context);
    ~CQuorlenDoc();
    CQuorlenDoc(const CQuorlenDoc&) = delete;
    CQuorlenDoc& operator=(const CQuorlenDoc&) = delete;

    // --- Game menu -------------------------------------------------------------------------
    // New Game, or Stop Game while a game runs.
    void newGame();
    std::string newGameText() const { return isRunning() ? "Stop Game" : "New Game"; }
    // Opens a game record or an SGF game (told by the content, see GameFile) for viewing;
    // false (and nothing changed) when it cannot be read, is rejected, or a game runs. An SGF
    // file that cannot be read sets problem to why, its notes become the status text and a
    // resignation in its result is kept for Save As; a rejected record stays silent.
    bool openRecord(const std::filesystem::path& path, std::string* problem = nullptr);
    bool canOpen() const { return !isRunning(); }
    // Saves the current game's record into the directory; false when there is no game or
    // the file cannot be written.
    bool saveRecord(const std::filesystem::path& directory) const;
    bool canSave() const { return m_pGame != nullptr; }
    // Save As: the whole game as SGF when the name ends in .sgf, else as a record; empty on
    // success, else what went wrong.
    std::string saveAs(const std::filesystem::path& file) const;

    // --- Take Back, Hint and Resign: on a human's turn (Take Back also while a computer
    // thinks against a human) --------------------------------------------------------------
    // Back to the human's previous turn: against a computer its reply and the human's move
    // go, between two humans the last move. The game goes on with the same players; the
    // clocks keep the time used and a computer player forgets what it learned since.
    bool takeBack();
    bool canTakeBack() const;
    // The strongest built-in search looks for a move for the human to move; the answer
    // comes as WmAppShowHint and is marked until the next move.
    bool hint();
    bool canHint() const { return humanToMove() != 0 && !m_hintSearch.isFinding(); }
    void onShowHint(const WmAppShowHint& message);
    // The hinted move; the swap marker when the hint is to take the swap.
    Hex::Coord hintMove() const { return m_hintSearch.shownMove(); }
    bool hintIsSwap() const { return m_hintSearch.showsSwap(); }
    static constexpr std::chrono::seconds hintTime{5};
    // The human to move gives up; the game ends, won by the other side.
    bool resign();
    bool canResign() const { return humanToMove() != 0; }
    // The side that resigned the current game, 0 when none did.
    int resignedSide() const { return m_resignedSide; }

    // --- Review: while no game runs --------------------------------------------------------
    bool canReview() const { return !isRunning() && m_pGame != nullptr; }
    bool showMove(GameReview::Step step);
    bool canShowMove(GameReview::Step step) const;
    // The number of moves shown and of all moves of the game.
    std::pair<std::size_t, std::size_t> reviewPosition() const;
    // A new game from the shown position with the current players and fresh clocks.
    bool continueFromHere();
    bool canContinue() const;

    // --- Variations: in review, a click plays from the shown position (see GameReview) ------
    // Back to Game: the game's line at the variation's branch point.
    bool backToGame();
    bool canBackToGame() const { return variationBranch().has_value(); }
    // The branch point of the variation shown; nullopt while the game's line is shown.
    std::optional<std::size_t> variationBranch() const;
    // --- Analyze Position: while no game runs (on the shown position, unless it is won) and
    // on a human's turn ------------------------------------------------------------------------
    // Starts the expert's search thinking without end on the shown position, or stops it;
    // any change of the shown position stops it too. Its snapshots come as WmAppLiveAnalysis.
    bool toggleAnalyzePosition();
    // Whether the item may be used: to start the analysis, or to stop the running one.
    bool canAnalyzePosition() const;
    bool isAnalyzingPosition() const { return m_liveAnalysis.isOn(); }
    void onLiveAnalysis(const WmAppLiveAnalysis& message);
    // The moves of the accepted snapshot and the side whose they are.
    const LiveAnalysis& liveAnalysis() const { return m_liveAnalysis; }

    // --- Options menu (each applies what its dialog confirmed) -------------------------------
    void setBoardSize(int size);
    void setColors(const BoardColors& colors);
    void setTimeLimitMinutes(int minutes);
    void setPlayerKind(int side, PlayerKind kind);
    void toggleLearning();
    bool canChangeOptions() const { return !isRunning(); }
    bool isPlayerKindChecked(int side, PlayerKind kind) const;
    // A GTP engine for a side, in two steps so that the window stays responsive while the
    // engine starts: startEngine() makes the player, whose start runs in the background; once
    // it has started (EnginePlayer::startState()), setEnginePlayer() makes it the side's
    // player and stores its command line. Dropping the player instead changes nothing.
    std::string engineCommand(int side) const;
    std::unique_ptr<EnginePlayer> startEngine(int side, const std::string& command) const;
    void setEnginePlayer(int side, std::unique_ptr<EnginePlayer> player);
    bool isLearningChecked() const;
    // The display switches: the near-best paths and the move values on the board, and the best
    // move so far in the status text. Each may change at any time, a game running or not.
    enum class DisplaySwitch { paths, values, bestMove };
    void toggleDisplay(DisplaySwitch which);
    bool isDisplayChecked(DisplaySwitch which) const;
    // Stores what the document keeps of the settings when the window closes.
    void onClose();

    // --- Display state, filled by the window's message handlers ------------------------------
    void onHumanTurn(int player);
    void onSwapOffer(int player);
    void onShowPaths(const WmAppShowPaths& message);
    void onShowEval(const WmAppShowEval& message);

    // --- Clicks forwarded by the board view ----------------------------------------------
    // An accepted click on cell (row, col): hands the move (and a declined swap) to the human
    // side that is asked, if any and if the cell is empty. Returns whether it did.
    bool cellClicked(int row, int col);
    // The Swap button: the side offered the swap takes it.
    void swapClicked();

    // --- What the view and the status panes read ---------------------------------------------
    const Hex::Game* game() const { return m_pGame.get(); }
    // What the view draws: the reviewed position while it shows fewer than all moves, else
    // game().
    const Hex::Game* shownGame() const;
    bool isRunning() const { return m_bRunning.load(); }
    bool isGameOver() const { return m_bGameOver.load(); }
    int boardSize() const { return m_boardSize; }
    const BoardColors& colors() const { return m_colors; }
    int timeLimit() const { return m_timeLimit; }
    PlayerKind playerKind(int side) const { return side == 1 ? m_p1Type : m_p2Type; }
    TimedPlayer& player(int side) const { return side == 1 ? *m_pPlayer1 : *m_pPlayer2; }
    bool awaitsMove(int side) const { return side == 1 ? m_p1AwaitsMove : m_p2AwaitsMove; }
    bool swapOffered(int side) const { return side == 1 ? m_p1SwapOffer : m_p2SwapOffer; }
    bool swapOffered() const { return m_p1SwapOffer || m_p2SwapOffer; }
    const std::vector<Path>& paths(int side) const { return side == 1 ? m_paths1 : m_paths2; }
    int pathCount(int side) const { return side == 1 ? m_pathCount1 : m_pathCount2; }
    const std::map<int, CellEvaluation>& evaluations() const { return m_evals; }

    // --- Game analysis: the expert's review of the shown game --------------------------------
    // Analyze Game analyses the shown game on a thread of its own, its progress in the status
    // text; while it runs the same command (Stop Analysis) or stopAnalysis() ends it without
    // an analysis. The finished analysis belongs to the game: Save As keeps it in an SGF
    // file, Open of such a file brings it back, and a new game or another file drops it.
    bool analyzeGame();
    bool canAnalyzeGame() const;
    bool isAnalyzing() const { return m_analysisRun.isRunning(); }
    std::string analyzeGameText() const { return isAnalyzing() ? "Stop Analysis" : "Analyze Game"; }
    // False when no analysis runs.
    bool stopAnalysis();
    void onAnalysisProgress(const WmAppAnalysisProgress& message);
    void onAnalysisDone(const WmAppAnalysisDone& message);
    // The analysis of the game's moves from the first; empty when there is none.
    const std::vector<MoveAnalysis>& analysis() const { return m_analysis; }
    // The analysis of the last move of the shown position; null when it has none.
    const MoveAnalysis* shownMoveAnalysis() const;
    // What the analysis says of that move, for the user ("Move 12, Player 2 C5: mistake,
    // 41% (best D4 55%)", a proven rate as "won" or "lost"); empty when there is none.
    std::string shownMoveAnalysisText() const;
    // Shows the position after the first `count` moves, as a click on the win-rate graph asks.
    bool showMoveCount(std::size_t count);
    // Each position's search time; the threads are the expert's (SEARCH_THREADS).
    static constexpr std::chrono::seconds analysisTime{1};
    // Ends each position's search after this many playouts instead, on one thread: the same
    // analysis on every run (tests).
    void setAnalysisPlayouts(std::uint64_t playouts) { m_analysisPlayouts = playouts; }

private:
    GameAnalysis::Settings analysisSettings() const;
    // Stops a running analysis and forgets the finished one: the game is about to change.
    void dropAnalysis();

    void readSettings();
    std::unique_ptr<TimedPlayer> makePlayer(int side, PlayerKind kind);
    void replacePlayer(int side, PlayerKind kind, std::unique_ptr<TimedPlayer> player);
    void gameThreadProc();
    void joinGameThread();
    // Attaches the players to the game and starts its thread; newClocks at a new game.
    void startGame(std::unique_ptr<Hex::Game> game, bool newClocks, bool takenBack);
    void stopGameAndJoin();
    bool isHuman(int side) const { return playerKind(side) == PlayerKind::human; }
    // The human side whose announced question the game thread waits on, 0 when none.
    int humanToMove() const;
    std::optional<std::size_t> takeBackCount(std::size_t moveCount) const;
    const GameReview& review() const;
    // A click in review: a move of a variation from the shown position.
    bool reviewClicked(int row, int col);
    // An opened game's variations become the review's, and the notes say where they are.
    void loadVariations(GameFile::Reading& reading);
    // Stops a hint being found and forgets the one shown, and stops the live analysis. Every
    // caller is about to change the position, so the document's own status text (a hint, a
    // resignation) goes as well.
    void stopHint();
    // A status text that stays until the position changes.
    void showOwnStatus(std::string text);
    // Forgets the paths and values that the last think published.
    void clearSearchDisplay();
    void redraw();
    bool mayAnalyzePosition() const;
    void stopLiveAnalysis();
    HumanInput& input(int side) const { return side == 1 ? *m_pInput1 : *m_pInput2; }

    Context m_context;
    // One budget for the trees of both expert players and of the hint.
    std::shared_ptr<TreeMemoryBudget> m_treeMemory;
    std::unique_ptr<Hex::Game> m_pGame;
    int m_boardSize = 10;
    BoardColors m_colors;
    PlayerKind m_p1Type = PlayerKind::human;
    PlayerKind m_p2Type = PlayerKind::human;
    bool m_p1AwaitsMove = false;
    bool m_p2AwaitsMove = false;
    bool m_p1SwapOffer = false;
    bool m_p2SwapOffer = false;
    std::unique_ptr<HumanInput> m_pInput1;
    std::unique_ptr<HumanInput> m_pInput2;
    std::unique_ptr<TimedPlayer> m_pPlayer1;
    std::unique_ptr<TimedPlayer> m_pPlayer2;
    std::unique_ptr<RedrawObserver> m_pObserver;
    std::thread m_pGameThread;
    std::atomic<bool> m_bRunning{false};
    std::atomic<bool> m_bGameOver{false};
    std::int32_t m_timeLimit = 300;
    // The paths and values the search published last, owned here.
    std::vector<Path> m_paths1;
    std::vector<Path> m_paths2;
    int m_pathCount1 = 0;
    int m_pathCount2 = 0;
    std::map<int, CellEvaluation> m_evals;

    // Filled from the game's moves when first asked for after the game has stopped.
    mutable GameReview m_review;
    HintSearch m_hintSearch;
    LiveAnalysis m_liveAnalysis;
    // The status text is one of the document's own, not a player's.
    bool m_ownStatusShown = false;
    int m_resignedSide = 0;

    // The analysis of the current game, and the run that finds one.
    std::vector<MoveAnalysis> m_analysis;
    std::optional<std::uint64_t> m_analysisPlayouts;
    GameAnalysisRun m_analysisRun{m_context.sink};
};
