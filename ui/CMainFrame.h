#pragma once

#include "document/GameReview.h"
#include "document/PlayerKind.h"
#include "engine/Message.h"
#include "ui/OuterSizeKeeper.h"

#include <QMainWindow>
#include <QString>

#include <array>
#include <cstddef>
#include <functional>

class CQuorlenDoc;
class CQuorlenView;
class QAction;
class QLabel;
class QMenu;
class QTimer;
class SettingsStore;
class WinRateGraph;

// The program's window: the menus, the board view (over the pane of the win-rate graph while
// the game has an analysis) and the status bar with the computer player's status, whose
// turn it is and both clocks. It is the receiving end of every worker
// message (through WindowSink) and turns each into display state and redraws.
//
// Thread contract: user-interface thread only.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int defaultWidth = 800;
    static constexpr int defaultHeight = 600;

    CMainFrame(CQuorlenDoc& document, SettingsStore& settings, QWidget* parent = nullptr);

    CQuorlenView& view() const { return *m_view; }
    // The pane below the board with the win-rate graph of the game's analysis; hidden until
    // there is one.
    QWidget& analysisPane() const { return *m_analysisPane; }
    WinRateGraph& winRateGraph() const { return *m_winRateGraph; }
    // The outer size the window opens with: WINDOW_WIDTH x WINDOW_HEIGHT, or the default
    // when either is absurd (not positive, tiny, or larger than the screen). The window keeps
    // this outer size, frame included, until the user resizes it; closing stores the outer
    // size it then has.
    QSize initialSize() const;

    // The status panes' texts as they read now (the status text, whose turn, the clocks and,
    // while a stopped game is shown, "Move k of n").
    QString statusText() const { return m_strStatus; }
    QString paneText(int pane) const;
    QAction* action(const QString& name) const;

    // How an error of a game is shown; a message box with OK unless replaced (tests).
    void setErrorDisplay(std::function<void(const QString&)> display) {
        m_showError = std::move(display);
    }
    // How Save As asks for a file name; the file dialog unless replaced (tests).
    void setSaveAsChooser(std::function<QString()> chooser) { m_chooseSaveAs = std::move(chooser); }

    // Refreshes the menu items and the status panes from the document.
    void refreshActions();
    // Stores the outer size the window should open with next time in the settings.
    void storeOuterSize();
    void refreshPanes();

    // Formats whole seconds as hours within a day, minutes and seconds: "HH:MM:SS".
    static QString clockText(int seconds);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void handle(const Message& message);
    void fitToFrame();
    void createMenus();
    QMenu* createPlayerMenu(QMenu* options, int side);
    void createDisplaySwitches(QMenu* options);
    void createGameToolCommands(QMenu* game);
    void refreshGameToolActions();
    void createAnalysisCommands(QMenu* game);
    void refreshAnalysisActions();
    void createVariationCommands(QMenu* game);
    void refreshVariationActions();
    // "Move k of n" on the game's line, else where the variation shown stands.
    QString reviewText() const;
    QAction* addCommand(QMenu* menu, const QString& name, const QString& text,
                        const QString& prompt, void (CMainFrame::*slot)());
    void createStatusBar();
    QLabel* addPane(const QString& name, const QString& templateText);
    void setPane(QLabel* pane, const QString& text);
    void documentChanged();

    void onNewGame();
    void onOpen();
    void onSave();
    void onBoardSize();
    void onColors();
    void onTimeLimit();
    void onLearning();
    void onAbout();
    void onPlayerKind(int side, PlayerKind kind);
    void onSaveAs();
    void onTakeBack();
    void onHint();
    void onResign();
    void onShowMove(GameReview::Step step);
    void onContinue();
    void onBackToGame();
    void onEnginePlayer(int side);
    void onAnalyzePosition();

    // Game analysis: Analyze Game and the win-rate pane below the board.
    QWidget* createCentralArea();
    void createGameAnalysisCommands(QMenu* game);
    void refreshGameAnalysis();
    void onAnalyzeGame();
    void onStopAnalysis();
    void onGraphClicked(std::size_t count);

    CQuorlenDoc& m_document;
    SettingsStore& m_settings;
    CQuorlenView* m_view;
    QString m_strStatus = QStringLiteral("Quorlen is not active.");
    std::array<QLabel*, 4> m_panes{};
    QLabel* m_reviewPane = nullptr;
    QTimer* m_timer;
    OuterSizeKeeper m_outerSize;
    std::function<void(const QString&)> m_showError;
    std::function<QString()> m_chooseSaveAs;

    QWidget* m_analysisPane = nullptr;
    QLabel* m_analysisText = nullptr;
    WinRateGraph* m_winRateGraph = nullptr;
};
