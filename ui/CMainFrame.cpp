#include "ui/CMainFrame.h"

#include "document/CQuorlenDoc.h"
#include "gtp/EnginePlayer.h"
#include "players/TimedPlayer.h"
#include "settings/CurrentDirectory.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"
#include "ui/CAboutDlg.h"
#include "ui/CBoardSizeDlg.h"
#include "ui/CColorPrefsDlg.h"
#include "ui/CEngineDlg.h"
#include "ui/CQuorlenView.h"
#include "ui/CTimeLimitDlg.h"
#include "ui/MessageEvent.h"
#include "ui/WinRateGraph.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <filesystem>

namespace {

// The template texts that size the four status panes.
const std::array<const char*, 4> paneTemplates = {"Quorlen is not active right now.",
                                                  "Game Status    ", "Player 1: Time Usage",
                                                  "Player 2: Time Usage"};

} // namespace

CMainFrame::CMainFrame(CQuorlenDoc& document, SettingsStore& settings, QWidget* parent)
    : QMainWindow(parent), m_document(document), m_settings(settings),
      m_view(new CQuorlenView(document, settings, this)), m_timer(new QTimer(this)),
      m_outerSize(initialSize()), m_showError([this](const QString& text) {
          QMessageBox::warning(this, QStringLiteral("Quorlen"), text, QMessageBox::Ok);
      }),
      m_chooseSaveAs(
          [this] { return QFileDialog::getSaveFileName(this, QStringLiteral("Save As")); }) {
    setWindowTitle(QStringLiteral("Quorlen"));
    setCentralWidget(createCentralArea());
    createMenus();
    createStatusBar();
    connect(m_timer, &QTimer::timeout, this, [this] {
        refreshPanes();
        refreshActions();
    });
    m_timer->start(1000);
    refreshActions();
    refreshPanes();
    fitToFrame(); // no frame is known yet: the client gets the whole outer size
}

QSize CMainFrame::initialSize() const {
    const int width = m_settings.getInt(SettingsKeys::windowWidth);
    const int height = m_settings.getInt(SettingsKeys::windowHeight);
    const QScreen* screen = this->screen();
    const QSize available =
        screen != nullptr ? screen->availableVirtualSize() : QSize(1 << 14, 1 << 14);
    const bool absurd =
        width < 100 || height < 100 || width > available.width() || height > available.height();
    return absurd ? QSize(defaultWidth, defaultHeight) : QSize(width, height);
}

// --- Menus ---------------------------------------------------------------------------------

QAction* CMainFrame::addCommand(QMenu* menu, const QString& name, const QString& text,
                                const QString& prompt, void (CMainFrame::*slot)()) {
    QAction* command = menu->addAction(text);
    command->setObjectName(name);
    command->setStatusTip(prompt);
    connect(command, &QAction::triggered, this, slot);
    return command;
}

void CMainFrame::createMenus() {
    QMenu* game = menuBar()->addMenu(QStringLiteral("&Game"));
    // The shortcuts reach the Game menu's own commands, with the same enabled rules.
    addCommand(game, "newGame", "New Game", "Start a new game", &CMainFrame::onNewGame)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
    addCommand(game, "open", "&Open", "Open game file", &CMainFrame::onOpen)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    addCommand(game, "save", "&Save", "Save this game", &CMainFrame::onSave)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    game->addSeparator();
    QAction* exit = game->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("exit"));
    exit->setStatusTip(QStringLiteral("Quit the application"));
    connect(exit, &QAction::triggered, this, &QWidget::close);
    createGameToolCommands(game);
    createGameAnalysisCommands(game);
    createAnalysisCommands(game);
    createVariationCommands(game);

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    addCommand(options, "boardSize", "Board &Size", "Sets the playable board size",
               &CMainFrame::onBoardSize);
    addCommand(options, "colors", "&Color Preferences",
               "Change all the colors to something you like", &CMainFrame::onColors);
    addCommand(options, "timeLimit", "Game &Time Limit",
               "Set a game time limit which the Quorlen AI will respect", &CMainFrame::onTimeLimit);
    options->addSeparator();
    createPlayerMenu(options, 1);
    createPlayerMenu(options, 2);
    options->addSeparator();
    addCommand(options, "learning", "&Learning AI",
               "Allow the Quorlen AI to learn and adapt to your play style.",
               &CMainFrame::onLearning)
        ->setCheckable(true);
    createDisplaySwitches(options);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    addCommand(help, "about", "&About Quorlen...",
               "Display program information, version number and copyright", &CMainFrame::onAbout);

    for (QMenu* menu : {game, options, help}) {
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::refreshActions);
    }
}

// The switches of what the board and the status text show, after the items that keep their
// places.
void CMainFrame::createDisplaySwitches(QMenu* options) {
    options->addSeparator();
    struct Item {
        CQuorlenDoc::DisplaySwitch which;
        const char* name;
        const char* text;
        const char* prompt;
    };
    const Item items[] = {{CQuorlenDoc::DisplaySwitch::paths, "showPaths", "Show &Paths",
                           "Draw the near-best paths the Quorlen AI is weighing"},
                          {CQuorlenDoc::DisplaySwitch::values, "showValues", "Show &Values",
                           "Show the values of the moves the Quorlen AI is weighing"},
                          {CQuorlenDoc::DisplaySwitch::bestMove, "showBestMove", "Show &Best Move",
                           "Name the best move found so far in the status bar"}};
    for (const Item& item : items) {
        QAction* choice = options->addAction(QString::fromLatin1(item.text));
        choice->setObjectName(QString::fromLatin1(item.name));
        choice->setStatusTip(QString::fromLatin1(item.prompt));
        choice->setCheckable(true);
        const CQuorlenDoc::DisplaySwitch which = item.which;
        connect(choice, &QAction::triggered, this, [this, which] {
            m_document.toggleDisplay(which);
            refreshActions();
        });
    }
}

QMenu* CMainFrame::createPlayerMenu(QMenu* options, int side) {
    const QString number = QString::number(side);
    QMenu* menu = options->addMenu(QStringLiteral("Player &") + number);
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::refreshActions);
    struct Item {
        PlayerKind kind;
        const char* name;
        const char* text;
        const char* prompt;
    };
    const Item items[] = {
        {PlayerKind::human, "human", "Human\t0", "Set player %1 to be a human player"},
        {PlayerKind::easy, "easy", "Quorlen AI (easy)\t1",
         "Set player %1 to be a simple Quorlen AI"},
        {PlayerKind::hard, "hard", "Quorlen AI (hard)\t2",
         "Set player %1 to be a tough Quorlen AI"},
        {PlayerKind::expert, "expert", "Quorlen AI (expert)\t4",
         "Set player %1 to be an expert Quorlen AI that searches on every processor"},
        {PlayerKind::gtpEngine, "engine", "GTP Engine...\t3",
         "Set player %1 to be another program that plays through GTP, such as MoHex or Wolve"}};
    for (const Item& item : items) {
        QAction* choice = menu->addAction(QString::fromLatin1(item.text));
        choice->setObjectName(QStringLiteral("player%1%2").arg(side).arg(item.name));
        choice->setStatusTip(QString::fromLatin1(item.prompt).arg(side));
        choice->setCheckable(true);
        const PlayerKind kind = item.kind;
        connect(choice, &QAction::triggered, this,
                [this, side, kind] { onPlayerKind(side, kind); });
    }
    return menu;
}

// Save As, the commands of a running game and those of a stopped one, after the Game menu's
// first items, which keep their places.
void CMainFrame::createGameToolCommands(QMenu* game) {
    game->addSeparator();
    addCommand(game, "saveAs", "Save &As...", "Save this game under a name you choose (.sgf: SGF)",
               &CMainFrame::onSaveAs)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    game->addSeparator();
    addCommand(game, "takeBack", "&Take Back", "Take back your last move", &CMainFrame::onTakeBack)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    addCommand(game, "hint", "&Hint", "Show the move the Quorlen AI would play",
               &CMainFrame::onHint)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+H")));
    addCommand(game, "resign", "&Resign", "Give up this game", &CMainFrame::onResign);
    game->addSeparator();
    struct Step {
        GameReview::Step step;
        const char* name;
        const char* text;
        const char* prompt;
        Qt::Key key;
    };
    const Step steps[] = {
        {GameReview::Step::first, "firstMove", "&First Move", "Show the empty board", Qt::Key_Home},
        {GameReview::Step::previous, "previousMove", "&Previous Move",
         "Show the position one move earlier", Qt::Key_Left},
        {GameReview::Step::next, "nextMove", "N&ext Move", "Show the position one move later",
         Qt::Key_Right},
        {GameReview::Step::last, "lastMove", "&Last Move", "Show the position after all moves",
         Qt::Key_End}};
    for (const Step& step : steps) {
        QAction* command = game->addAction(QString::fromLatin1(step.text));
        command->setObjectName(QString::fromLatin1(step.name));
        command->setStatusTip(QString::fromLatin1(step.prompt));
        command->setShortcut(QKeySequence(step.key));
        const GameReview::Step which = step.step;
        connect(command, &QAction::triggered, this, [this, which] { onShowMove(which); });
    }
    addCommand(game, "continueFromHere", "&Continue From Here",
               "Start a new game from the shown position", &CMainFrame::onContinue);
}

// The analyses, after the commands of a stopped game.
// Analyze Position, after Analyze Game.
void CMainFrame::createAnalysisCommands(QMenu* game) {
    QAction* analyze = addCommand(game, "analyzePosition", "Analyze &Position",
                                  "Let the expert Quorlen AI think about the shown position "
                                  "and show its best moves",
                                  &CMainFrame::onAnalyzePosition);
    analyze->setCheckable(true);
    analyze->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+P")));
}

QAction* CMainFrame::action(const QString& name) const {
    return findChild<QAction*>(name);
}

void CMainFrame::refreshActions() {
    const bool idle = m_document.canChangeOptions();
    action("newGame")->setText(QString::fromStdString(m_document.newGameText()));
    action("open")->setEnabled(m_document.canOpen());
    action("save")->setEnabled(m_document.canSave());
    action("boardSize")->setEnabled(idle);
    action("timeLimit")->setEnabled(idle);
    for (int side = 1; side <= 2; ++side) {
        for (const auto& [kind, name] :
             {std::pair{PlayerKind::human, "human"}, std::pair{PlayerKind::easy, "easy"},
              std::pair{PlayerKind::hard, "hard"}, std::pair{PlayerKind::expert, "expert"},
              std::pair{PlayerKind::gtpEngine, "engine"}}) {
            QAction* choice = action(QStringLiteral("player%1%2").arg(side).arg(name));
            choice->setEnabled(idle);
            choice->setChecked(m_document.isPlayerKindChecked(side, kind));
        }
    }
    action("learning")->setChecked(m_document.isLearningChecked());
    action("showPaths")->setChecked(m_document.isDisplayChecked(CQuorlenDoc::DisplaySwitch::paths));
    action("showValues")
        ->setChecked(m_document.isDisplayChecked(CQuorlenDoc::DisplaySwitch::values));
    action("showBestMove")
        ->setChecked(m_document.isDisplayChecked(CQuorlenDoc::DisplaySwitch::bestMove));
    refreshGameToolActions();
    refreshVariationActions();
    refreshGameAnalysis();
}

void CMainFrame::refreshGameToolActions() {
    action("saveAs")->setEnabled(m_document.canSave());
    action("takeBack")->setEnabled(m_document.canTakeBack());
    action("hint")->setEnabled(m_document.canHint());
    action("resign")->setEnabled(m_document.canResign());
    action("firstMove")->setEnabled(m_document.canShowMove(GameReview::Step::first));
    action("previousMove")->setEnabled(m_document.canShowMove(GameReview::Step::previous));
    action("nextMove")->setEnabled(m_document.canShowMove(GameReview::Step::next));
    action("lastMove")->setEnabled(m_document.canShowMove(GameReview::Step::last));
    action("continueFromHere")->setEnabled(m_document.canContinue());
    refreshAnalysisActions();
}

void CMainFrame::refreshAnalysisActions() {
    QAction* analyze = action("analyzePosition");
    analyze->setEnabled(m_document.canAnalyzePosition());
    analyze->setChecked(m_document.isAnalyzingPosition());
}

// Back to Game, after the Game menu's other items and the analysis commands' separator.
void CMainFrame::createVariationCommands(QMenu* game) {
    addCommand(game, "backToGame", "Back to &Game",
               "Leave the variation: show the game's own moves again", &CMainFrame::onBackToGame);
}

void CMainFrame::refreshVariationActions() {
    action("backToGame")->setEnabled(m_document.canBackToGame());
}

// --- Status bar ------------------------------------------------------------------------------

void CMainFrame::createStatusBar() {
    QStatusBar* bar = statusBar();
    connect(bar, &QStatusBar::messageChanged, this, [bar](const QString& message) {
        if (message.isEmpty()) {
            bar->showMessage(QStringLiteral("Ready"));
        }
    });
    bar->showMessage(QStringLiteral("Ready"));
    const char* names[] = {"statusPane", "turnPane", "clock1Pane", "clock2Pane"};
    for (std::size_t i = 0; i < m_panes.size(); ++i) {
        m_panes[i] = addPane(QString::fromLatin1(names[i]), QString::fromLatin1(paneTemplates[i]));
    }
    // Shown only while a stopped game is on the board.
    m_reviewPane = addPane(QStringLiteral("reviewPane"), QStringLiteral("Variation: 999 + 999"));
    m_reviewPane->hide();
}

QLabel* CMainFrame::addPane(const QString& name, const QString& templateText) {
    auto* pane = new QLabel(templateText, this);
    pane->setObjectName(name);
    pane->setFrameShape(QFrame::Panel);
    pane->setFrameShadow(QFrame::Sunken);
    const int margins = pane->contentsMargins().left() + pane->contentsMargins().right() +
                        2 * pane->frameWidth() + 6;
    pane->setFixedWidth(pane->fontMetrics().horizontalAdvance(templateText) + margins);
    pane->setProperty("fullText", templateText);
    statusBar()->addPermanentWidget(pane);
    return pane;
}

// A pane keeps its width: a longer text is cut off.
void CMainFrame::setPane(QLabel* pane, const QString& text) {
    pane->setProperty("fullText", text);
    const int room = pane->contentsRect().width();
    pane->setText(pane->fontMetrics().elidedText(text, Qt::ElideRight, room));
}

QString CMainFrame::paneText(int pane) const {
    const QLabel* label = pane == 5 ? m_reviewPane : m_panes.at(static_cast<std::size_t>(pane - 1));
    return label->property("fullText").toString();
}

QString CMainFrame::clockText(int seconds) {
    const int hours = (seconds / 3600) % 24; // whole days are not shown
    return QStringLiteral("%1:%2:%3")
        .arg(hours, 2, 10, QLatin1Char('0'))
        .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

void CMainFrame::refreshPanes() {
    setPane(m_panes[0], m_strStatus);
    const Hex::Game* game = m_document.game();
    if (!m_document.isRunning()) {
        setPane(m_panes[1], QStringLiteral("Game Over"));
    } else if (game != nullptr && game->currentPlayer() != 0) {
        const int side = game->currentPlayer() == 1 ? 1 : 2;
        setPane(m_panes[1], QString::fromStdString(m_document.player(side).name()) + "'s turn");
    } // while a game is starting the pane keeps its text
    for (int side = 1; side <= 2; ++side) {
        TimedPlayer& player = m_document.player(side);
        setPane(m_panes[static_cast<std::size_t>(side + 1)],
                QString::fromStdString(player.name()) + ": " + clockText(player.timeUsed()));
    }
    const bool reviewing = m_document.canReview();
    m_reviewPane->setVisible(reviewing);
    if (reviewing) {
        setPane(m_reviewPane, reviewText());
    } else {
        setPane(m_reviewPane, QString());
    }
}

// In a variation: the game's moves before it and the variation's moves shown, "12 + 1".
QString CMainFrame::reviewText() const {
    const auto [shown, all] = m_document.reviewPosition();
    const std::optional<std::size_t> branch = m_document.variationBranch();
    if (branch && shown > *branch) {
        return QStringLiteral("Variation: %1 + %2").arg(*branch).arg(shown - *branch);
    }
    return QStringLiteral("Move %1 of %2").arg(shown).arg(all);
}

// --- Messages ------------------------------------------------------------------------------

bool CMainFrame::event(QEvent* event) {
    if (event->type() == MessageEvent::eventType()) {
        handle(static_cast<MessageEvent*>(event)->message());
        return true;
    }
    const bool handled = QMainWindow::event(event);
    // The window manager's frame shows up in a move or resize after it framed the window.
    switch (event->type()) {
    case QEvent::Resize:
        m_outerSize.resized(size(), windowHandle() != nullptr && windowHandle()->isExposed());
        fitToFrame();
        break;
    case QEvent::Move:
    case QEvent::Show:
        fitToFrame();
        break;
    default:
        break;
    }
    return handled;
}

void CMainFrame::fitToFrame() {
    if (const auto client = m_outerSize.clientSizeFor(frameGeometry().size() - size())) {
        resize(*client);
    }
}

void CMainFrame::handle(const Message& message) {
    std::visit(
        [this](const auto& payload) {
            using Kind = std::decay_t<decltype(payload)>;
            if constexpr (std::is_same_v<Kind, WmAppHumanTurn>) {
                m_document.onHumanTurn(payload.player);
            } else if constexpr (std::is_same_v<Kind, WmAppSwapOffer>) {
                m_document.onSwapOffer(payload.player);
            } else if constexpr (std::is_same_v<Kind, WmAppRedraw>) {
                m_view->update();
            } else if constexpr (std::is_same_v<Kind, WmAppStatusText>) {
                m_strStatus = QString::fromStdString(payload.text);
            } else if constexpr (std::is_same_v<Kind, WmAppShowPaths>) {
                m_document.onShowPaths(payload);
            } else if constexpr (std::is_same_v<Kind, WmAppShowEval>) {
                m_document.onShowEval(payload);
            } else if constexpr (std::is_same_v<Kind, GameErrorText>) {
                m_showError(QString::fromStdString(payload.text));
            } else if constexpr (std::is_same_v<Kind, WmAppShowHint>) {
                m_document.onShowHint(payload);
            } else if constexpr (std::is_same_v<Kind, WmAppLiveAnalysis>) {
                m_document.onLiveAnalysis(payload);
            } else if constexpr (std::is_same_v<Kind, WmAppAnalysisProgress>) {
                m_document.onAnalysisProgress(payload);
            } else if constexpr (std::is_same_v<Kind, WmAppAnalysisDone>) {
                m_document.onAnalysisDone(payload);
            }
        },
        message);
    refreshActions();
    refreshPanes();
}

void CMainFrame::documentChanged() {
    refreshActions();
    refreshPanes();
    m_view->update();
}

// --- Commands ------------------------------------------------------------------------------

void CMainFrame::onNewGame() {
    m_document.newGame();
    documentChanged();
}

void CMainFrame::onOpen() {
    if (!m_document.canOpen()) {
        return;
    }
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open"));
    if (!path.isEmpty()) {
        std::string problem;
        if (!m_document.openRecord(std::filesystem::path(QFile::encodeName(path).toStdString()),
                                   &problem) &&
            !problem.empty()) {
            m_showError(QStringLiteral("%1: %2").arg(path, QString::fromStdString(problem)));
        }
    }
    documentChanged();
}

void CMainFrame::onSave() {
    // A record that cannot be written is not saved, silently; so it is when the current
    // directory has been deleted.
    const auto directory = currentDirectory();
    if (m_document.canSave() && directory) {
        m_document.saveRecord(*directory);
    }
}

void CMainFrame::onBoardSize() {
    if (!m_document.canChangeOptions()) {
        return;
    }
    CBoardSizeDlg dialog(QString::fromStdString(m_settings.get(SettingsKeys::boardSize)), this);
    if (dialog.exec() == QDialog::Accepted) {
        m_document.setBoardSize(static_cast<int>(dialog.size()));
    }
    documentChanged();
}

void CMainFrame::onColors() {
    CColorPrefsDlg dialog(m_document.colors(), this);
    if (dialog.exec() == QDialog::Accepted) {
        m_document.setColors(dialog.colors());
    }
    documentChanged();
}

void CMainFrame::onTimeLimit() {
    if (!m_document.canChangeOptions()) {
        return;
    }
    CTimeLimitDlg dialog(QString::fromStdString(m_settings.get(SettingsKeys::timeLimit)), this);
    if (dialog.exec() == QDialog::Accepted) {
        m_document.setTimeLimitMinutes(dialog.minutes());
    }
}

void CMainFrame::onLearning() {
    m_document.toggleLearning();
    refreshActions();
}

void CMainFrame::onAbout() {
    CAboutDlg(this).exec();
}

void CMainFrame::onPlayerKind(int side, PlayerKind kind) {
    if (kind == PlayerKind::gtpEngine) {
        onEnginePlayer(side);
    } else {
        m_document.setPlayerKind(side, kind);
    }
    documentChanged();
}

void CMainFrame::onSaveAs() {
    if (!m_document.canSave()) {
        return;
    }
    const QString path = m_chooseSaveAs();
    if (path.isEmpty()) {
        return;
    }
    const std::string problem =
        m_document.saveAs(std::filesystem::path(QFile::encodeName(path).toStdString()));
    if (!problem.empty()) {
        m_showError(QString::fromStdString(problem));
    }
}

void CMainFrame::onTakeBack() {
    m_document.takeBack();
    documentChanged();
}

void CMainFrame::onHint() {
    m_document.hint();
    documentChanged();
}

void CMainFrame::onResign() {
    m_document.resign();
    documentChanged();
}

void CMainFrame::onShowMove(GameReview::Step step) {
    m_document.showMove(step);
    documentChanged();
}

void CMainFrame::onContinue() {
    m_document.continueFromHere();
    documentChanged();
}

void CMainFrame::onBackToGame() {
    m_document.backToGame();
    documentChanged();
}

// A checkable item: its check follows the document, not the click.
void CMainFrame::onAnalyzePosition() {
    m_document.toggleAnalyzePosition();
    documentChanged();
}

// Cancel, or an engine that does not start, leaves the side as it was.
void CMainFrame::onEnginePlayer(int side) {
    if (!m_document.canChangeOptions()) {
        return;
    }
    CEngineDlg dialog(
        side, QString::fromStdString(m_document.engineCommand(side)),
        [this, side](const std::string& command) { return m_document.startEngine(side, command); },
        this);
    if (dialog.exec() == QDialog::Accepted) {
        m_document.setEnginePlayer(side, dialog.takePlayer());
    }
}

void CMainFrame::storeOuterSize() {
    // The outer size, frame included, so that the window opens as large next time.
    const QSize outer = m_outerSize.outerSizeToStore(frameGeometry().size());
    m_settings.setInt(SettingsKeys::windowWidth, outer.width());
    m_settings.setInt(SettingsKeys::windowHeight, outer.height());
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    storeOuterSize();
    m_timer->stop();
    QMainWindow::closeEvent(event);
}

// --- Game analysis -----------------------------------------------------------------------------

// The board over the analysis pane; while the pane is hidden the board has the whole area.
QWidget* CMainFrame::createCentralArea() {
    auto* area = new QWidget(this);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    m_analysisPane = new QWidget(area);
    m_analysisPane->setObjectName(QStringLiteral("analysisPane"));
    auto* paneLayout = new QVBoxLayout(m_analysisPane);
    paneLayout->setContentsMargins(4, 2, 4, 4);
    paneLayout->setSpacing(2);
    m_analysisText = new QLabel(m_analysisPane);
    m_analysisText->setObjectName(QStringLiteral("analysisText"));
    m_winRateGraph = new WinRateGraph(m_analysisPane);
    m_winRateGraph->setObjectName(QStringLiteral("winRateGraph"));
    m_winRateGraph->setFixedHeight(110);
    paneLayout->addWidget(m_analysisText);
    paneLayout->addWidget(m_winRateGraph);
    layout->addWidget(m_analysisPane);
    m_analysisPane->hide();
    connect(m_winRateGraph, &WinRateGraph::moveClicked, this, &CMainFrame::onGraphClicked);
    return area;
}

void CMainFrame::createGameAnalysisCommands(QMenu* game) {
    game->addSeparator();
    addCommand(game, "analyzeGame", "Analy&ze Game",
               "Let the Quorlen AI (expert) review every move of the shown game",
               &CMainFrame::onAnalyzeGame);
    // Esc only ever stops: the item itself would start an analysis when none runs.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &CMainFrame::onStopAnalysis);
}

void CMainFrame::refreshGameAnalysis() {
    QAction* analyze = action("analyzeGame");
    analyze->setText(QString::fromStdString(m_document.analyzeGameText()));
    analyze->setEnabled(m_document.canAnalyzeGame());
    const bool analysed = !m_document.analysis().empty();
    if (analysed) {
        m_winRateGraph->setPoints(WinRateGraph::pointsOf(m_document.analysis()));
        m_winRateGraph->setShownMove(m_document.reviewPosition().first);
        m_analysisText->setText(QString::fromStdString(m_document.shownMoveAnalysisText()));
    }
    m_analysisPane->setVisible(analysed);
}

void CMainFrame::onAnalyzeGame() {
    m_document.analyzeGame();
    documentChanged();
}

void CMainFrame::onStopAnalysis() {
    if (m_document.stopAnalysis()) {
        documentChanged();
    }
}

void CMainFrame::onGraphClicked(std::size_t count) {
    if (m_document.showMoveCount(count)) {
        documentChanged();
    }
}
