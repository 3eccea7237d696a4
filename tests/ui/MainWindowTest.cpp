#include "document/CQuorlenDoc.h"
#include "players/TimedPlayer.h"
#include "settings/FileText.h"
#include "settings/SettingsDefaults.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"
#include "sgf/SgfAnalysis.h"
#include "ui/CMainFrame.h"
#include "ui/CQuorlenView.h"
#include "ui/WinRateGraph.h"
#include "ui/WindowSink.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// A document and its window, wired as the program wires them, in a directory of its own.
struct Window {
    explicit Window(
        const std::vector<std::pair<std::string_view, std::string_view>>& settingsText = {}) {
        SettingsDefaults::apply(settings);
        for (const auto& [key, value] : settingsText) {
            settings.set(key, value);
        }
        document = std::make_unique<CQuorlenDoc>(
            CQuorlenDoc::Context{settings,
                                 sink,
                                 Clock::steady(),
                                 (directory.path() + "/quorlen.dat").toStdString(),
                                 [](std::chrono::milliseconds) {},
                                 {}});
        frame = std::make_unique<CMainFrame>(*document, settings);
        frame->setErrorDisplay([this](const QString& text) { errors << text; });
        sink.attach(frame.get());
        frame->resize(800, 600);
        frame->show();
    }
    ~Window() {
        document.reset(); // ends a running game while the window takes its messages
        sink.detach();
    }

    // Lets queued worker messages arrive until the condition holds.
    bool waitFor(const std::function<bool()>& condition, int milliseconds = 60000) {
        return QTest::qWaitFor(condition, milliseconds);
    }

    void click(int row, int col) {
        CQuorlenView& view = frame->view();
        const auto center = view.geometry().cellCenter(row, col);
        QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(center.x, center.y));
    }

    QTemporaryDir directory;
    SettingsStore settings;
    WindowSink sink;
    std::unique_ptr<CQuorlenDoc> document;
    std::unique_ptr<CMainFrame> frame;
    QStringList errors;
};

// Which of the named actions are enabled, once the frame has brought them up to date.
QStringList enabledActions(CMainFrame& frame, std::initializer_list<const char*> names) {
    frame.refreshActions();
    QStringList enabled;
    for (const char* name : names) {
        if (frame.action(name)->isEnabled()) {
            enabled << name;
        }
    }
    return enabled;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void panesBeforeAnyGameAndTheMessagesThatChangeThem() {
        Window window;
        QCOMPARE(window.frame->statusText(), QStringLiteral("Quorlen is not active."));
        QCOMPARE(window.frame->paneText(1), QStringLiteral("Quorlen is not active."));
        QCOMPARE(window.frame->paneText(2), QStringLiteral("Game Over"));
        QCOMPARE(window.frame->paneText(3), QStringLiteral("Player 1: 00:00:00"));
        QCOMPARE(window.frame->paneText(4), QStringLiteral("Player 2: 00:00:00"));
        QCOMPARE(window.frame->windowTitle(), QStringLiteral("Quorlen"));
        // The clocks show hours within a day.
        QCOMPARE(CMainFrame::clockText(25 * 3600 + 3), QStringLiteral("01:00:03"));
        QCOMPARE(CMainFrame::clockText(3599), QStringLiteral("00:59:59"));

        window.sink.post(WmAppStatusText{"Looking ahead 3 moves..."});
        QVERIFY(window.waitFor([&] { return window.frame->statusText().startsWith("Looking"); }));
        QCOMPARE(window.frame->paneText(1), QStringLiteral("Looking ahead 3 moves..."));

        // The paths and evaluations reach the document (whose own test reads them).
        window.sink.post(WmAppShowPaths{2, {Path{{{0, 0}, {1, 0}}, 2.0}}});
        window.sink.post(WmAppShowEval{CellEvaluation{2, 3, -0.25}});
        QVERIFY(window.waitFor([&] {
            return window.document->pathCount(2) == 1 &&
                   window.document->evaluations().count(203) == 1;
        }));

        window.sink.post(GameErrorText{"Something went wrong."});
        QVERIFY(window.waitFor([&] { return !window.errors.isEmpty(); }));
        QCOMPARE(window.errors.front(), QStringLiteral("Something went wrong."));
    }

    void menuStatesWhileIdleAndWhileAGameRuns() {
        Window window;
        CMainFrame& frame = *window.frame;
        const auto enabled = [&] {
            return enabledActions(frame, {"open", "save", "boardSize", "timeLimit", "player2easy",
                                          "colors", "learning"});
        };
        QCOMPARE(frame.action("newGame")->text(), QStringLiteral("New Game"));
        QCOMPARE(enabled(), QStringList({"open", "boardSize", "timeLimit", "player2easy", "colors",
                                         "learning"}));
        QVERIFY(frame.action("player1human")->isChecked());
        QVERIFY(!frame.action("player1hard")->isChecked());
        QCOMPARE(frame.action("newGame")->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));

        frame.action("newGame")->trigger();
        QCOMPARE(frame.action("newGame")->text(), QStringLiteral("Stop Game"));
        QCOMPARE(enabled(), QStringList({"save", "colors", "learning"}));

        frame.action("newGame")->trigger(); // Stop Game
        QVERIFY(window.waitFor([&] { return !window.document->isRunning(); }));
        QVERIFY(window.waitFor(
            [&] { return frame.action("newGame")->text() == QStringLiteral("New Game"); }));
        QCOMPARE(frame.paneText(2), QStringLiteral("Game Over"));

        frame.action("player2expert")->trigger();
        QVERIFY(frame.action("player2expert")->isChecked());
        QVERIFY(!frame.action("player2human")->isChecked());
        QCOMPARE(window.document->player(2).name(), std::string("Quorlen Expert"));
        frame.action("learning")->trigger();
        QVERIFY(frame.action("learning")->isChecked());

        // The display switches come last in the Options menu and write their settings.
        const QList<QAction*> options = frame.menuBar()->actions().at(1)->menu()->actions();
        QStringList last;
        for (qsizetype i = options.size() - 3; i < options.size(); ++i) {
            last << options.at(i)->objectName();
        }
        QCOMPARE(last, QStringList({"showPaths", "showValues", "showBestMove"}));
        const std::pair<const char*, std::string_view> switches[] = {
            {"showPaths", SettingsKeys::showPaths},
            {"showValues", SettingsKeys::showEvals},
            {"showBestMove", SettingsKeys::showBest}};
        for (const auto& [name, key] : switches) {
            QVERIFY(!frame.action(name)->isChecked());
            frame.action(name)->trigger();
            QVERIFY(frame.action(name)->isChecked());
            QCOMPARE(window.settings.get(key), std::string("1"));
        }
        QVERIFY(frame.view().scene().showPaths && frame.view().scene().showEvals);
        frame.action("showPaths")->trigger();
        QCOMPARE(window.settings.get(SettingsKeys::showPaths), std::string("0"));
    }

    void cancellingTheEngineChoiceChangesNothing() {
        Window window;
        QStringList items;
        for (const QAction* item :
             qobject_cast<QMenu*>(window.frame->action("player2human")->parent())->actions()) {
            items << item->text();
        }
        QCOMPARE(items, (QStringList{"Human\t0", "Quorlen AI (easy)\t1", "Quorlen AI (hard)\t2",
                                     "Quorlen AI (expert)\t4", "GTP Engine...\t3"}));
        QTimer closer;
        connect(&closer, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                dialog->reject();
            }
        });
        closer.start(10);
        window.frame->action("player2engine")->trigger();
        QVERIFY(window.frame->action("player2human")->isChecked());
        QVERIFY(!window.frame->action("player2engine")->isChecked());
        QCOMPARE(window.settings.get(SettingsKeys::p2Type), std::string("0"));
        QCOMPARE(window.settings.get(SettingsKeys::p2Engine), std::string());
    }

    void clicksReachTheWaitingHuman() {
        Window window;
        window.click(1, 1); // no game: nothing happens
        window.frame->action("newGame")->trigger();
        QVERIFY(window.waitFor([&] { return window.document->awaitsMove(1); }));
        QCOMPARE(window.frame->paneText(2), QStringLiteral("Player 1's turn"));

        // A press on one cell and a release on another does nothing.
        CQuorlenView& view = window.frame->view();
        const auto a = view.geometry().cellCenter(2, 2);
        const auto b = view.geometry().cellCenter(2, 3);
        QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(a.x, a.y));
        QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(b.x, b.y));
        QVERIFY(window.document->awaitsMove(1));

        window.click(2, 5);
        QVERIFY(window.waitFor([&] { return window.document->swapOffered(2); }));
        QVERIFY(window.waitFor([&] { return view.swapButton().isVisible(); }));
        window.click(2, 5); // taken: nothing happens
        QVERIFY(window.document->swapOffered(2));

        QTest::mouseClick(&view.swapButton(), Qt::LeftButton);
        QVERIFY(window.waitFor([&] { return window.document->game()->moves().size() == 2; }));
        QCOMPARE(window.document->game()->boardSnapshot().cell(5, 2), 2);
        QVERIFY(window.waitFor([&] { return !view.swapButton().isVisible(); }));
    }

    void gameToolsFollowTheGameAndTheirKeys() {
        Window window({{SettingsKeys::boardSize, "4"}});
        CMainFrame& frame = *window.frame;
        QStringList order;
        for (QAction* item : frame.menuBar()->actions().front()->menu()->actions()) {
            if (!item->isSeparator()) {
                order << item->objectName();
            }
        }
        QCOMPARE(order,
                 QStringList({"newGame", "open", "save", "exit", "saveAs", "takeBack", "hint",
                              "resign", "firstMove", "previousMove", "nextMove", "lastMove",
                              "continueFromHere", "analyzeGame", "analyzePosition", "backToGame"}));
        const std::pair<const char*, const char*> keys[] = {
            {"saveAs", "Ctrl+Shift+S"}, {"takeBack", "Ctrl+Z"},   {"hint", "Ctrl+H"},
            {"firstMove", "Home"},      {"previousMove", "Left"}, {"nextMove", "Right"},
            {"lastMove", "End"}};
        for (const auto& [name, key] : keys) {
            QCOMPARE(frame.action(name)->shortcut(), QKeySequence(QString::fromLatin1(key)));
        }
        const auto enabled = [&] {
            return enabledActions(frame,
                                  {"saveAs", "takeBack", "hint", "resign", "firstMove",
                                   "previousMove", "nextMove", "lastMove", "continueFromHere"});
        };
        QCOMPARE(enabled(), QStringList());
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));

        frame.action("newGame")->trigger();
        QVERIFY(window.waitFor([&] { return window.document->awaitsMove(1); }));
        QCOMPARE(enabled(), QStringList({"saveAs", "hint", "resign"})); // nothing to take back
        window.click(0, 0);
        QVERIFY(window.waitFor([&] { return window.document->swapOffered(2); }));
        QCOMPARE(enabled(), QStringList({"saveAs", "takeBack", "hint", "resign"}));
        QTest::keyClick(&frame, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(window.waitFor([&] { return window.document->awaitsMove(1); }));
        QVERIFY(window.document->game()->moves().empty());

        window.click(0, 0);
        QVERIFY(window.waitFor([&] { return window.document->swapOffered(2); }));
        window.click(1, 1);
        QVERIFY(window.waitFor([&] { return window.document->awaitsMove(1); }));
        QTest::keyClick(&frame, Qt::Key_H, Qt::ControlModifier);
        QVERIFY(window.waitFor([&] { return frame.statusText().startsWith("Hint: "); }));
        QVERIFY(frame.view().scene().hint != Hex::noMove);

        frame.action("resign")->trigger();
        QVERIFY(window.waitFor(
            [&] { return frame.statusText() == QStringLiteral("Player 2 wins by resignation"); }));
        QCOMPARE(frame.paneText(2), QStringLiteral("Game Over"));
        QVERIFY(frame.view().scene().hint == Hex::noMove);
        const QString file = window.directory.path() + "/resigned.sgf";
        frame.setSaveAsChooser([&] { return file; });
        QTest::keyClick(&frame, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QFile saved(file);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll().contains("RE[W+R]"));

        QCOMPARE(frame.paneText(5), QStringLiteral("Move 2 of 2"));
        QCOMPARE(enabled(),
                 QStringList({"saveAs", "firstMove", "previousMove", "continueFromHere"}));
        QTest::keyClick(&frame, Qt::Key_Home);
        QCOMPARE(frame.paneText(5), QStringLiteral("Move 0 of 2"));
        QVERIFY(frame.view().scene().board->at(0, 0) == 0);
        QTest::keyClick(&frame, Qt::Key_End);
        QCOMPARE(frame.paneText(5), QStringLiteral("Move 2 of 2"));
        QTest::keyClick(&frame, Qt::Key_Left);
        QCOMPARE(frame.paneText(5), QStringLiteral("Move 1 of 2"));
        QCOMPARE(frame.view().scene().lastMove, (Hex::Coord{0, 0}));

        frame.action("continueFromHere")->trigger();
        QVERIFY(window.waitFor([&] { return window.document->swapOffered(2); }));
        QCOMPARE(window.document->game()->moves().size(), std::size_t{1});
        QVERIFY(!frame.findChild<QLabel*>("reviewPane")->isVisible());
    }

    // Back to Game comes last, after Analyze Position, and only a variation enables it.
    void backToGameLeavesAVariation() {
        Window window({{SettingsKeys::boardSize, "4"}});
        CMainFrame& frame = *window.frame;
        const QList<QAction*> items = frame.menuBar()->actions().front()->menu()->actions();
        QCOMPARE(items.back()->objectName(), QStringLiteral("backToGame"));
        QCOMPARE(items.at(items.size() - 2)->objectName(), QStringLiteral("analyzePosition"));
        QFile record(window.directory.path() + "/game.txt");
        QVERIFY(record.open(QIODevice::WriteOnly));
        record.write("4\r\n0.0\r\n1.1\r\n");
        record.close();
        QVERIFY(window.document->openRecord(QFile::encodeName(record.fileName()).toStdString()));
        QCOMPARE(enabledActions(frame, {"backToGame"}), QStringList());

        window.click(2, 2);
        QVERIFY(window.waitFor([&] { return frame.paneText(5) == "Variation: 2 + 1"; }));
        QCOMPARE(enabledActions(frame, {"backToGame"}), QStringList({"backToGame"}));
        frame.action("backToGame")->trigger();
        QCOMPARE(frame.paneText(5), QStringLiteral("Move 2 of 2"));
        QCOMPARE(enabledActions(frame, {"backToGame"}), QStringList());
    }

    // Analyze Position: a check item after the stopped game's commands, enabled with no game
    // and on a human's turn but not on the computer's; its moves reach the board, hovering
    // one shows its line, and a step through the game unchecks it.
    void analyzePositionFollowsTheShownPosition() {
        Window window({{SettingsKeys::boardSize, "4"},
                       {SettingsKeys::p1Type, "1"},
                       {SettingsKeys::searchThreads, "2"}});
        CMainFrame& frame = *window.frame;
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QAction* analyze = frame.action("analyzePosition");
        const QList<QAction*> game = frame.menuBar()->actions().front()->menu()->actions();
        QVERIFY(game.indexOf(analyze) > game.indexOf(frame.action("continueFromHere")));
        QVERIFY(analyze->isCheckable());
        QCOMPARE(enabledActions(frame, {"analyzePosition"}), QStringList({"analyzePosition"}));
        analyze->trigger();
        QVERIFY(analyze->isChecked());
        CQuorlenView& view = frame.view();
        QVERIFY(window.waitFor([&] { return !view.scene().analysis.empty(); }));
        const Hex::Coord best = view.scene().analysis.front().move;
        const auto center = view.geometry().cellCenter(best.row, best.col);
        QTest::mouseMove(&view, QPoint(center.x, center.y));
        QVERIFY(window.waitFor([&] {
            const std::vector<Hex::Coord> line = view.scene().analysisLine;
            return !line.empty() && line.front() == best;
        }));

        frame.action("newGame")->trigger(); // the easy Player 1 moves first
        QVERIFY(!analyze->isChecked());
        QCOMPARE(enabledActions(frame, {"analyzePosition"}), QStringList());
        QVERIFY(window.waitFor([&] { return window.document->swapOffered(2); }));
        QCOMPARE(enabledActions(frame, {"analyzePosition"}), QStringList({"analyzePosition"}));
        frame.action("newGame")->trigger(); // Stop Game
        QVERIFY(
            window.waitFor([&] { return !enabledActions(frame, {"analyzePosition"}).empty(); }));
        analyze->trigger();
        QVERIFY(analyze->isChecked());
        QVERIFY(window.waitFor([&] { return frame.action("firstMove")->isEnabled(); }));
        QTest::keyClick(&frame, Qt::Key_Home);
        QVERIFY(!analyze->isChecked());
        QVERIFY(view.scene().analysis.empty());
    }

    // The pane below the board shows only an analysed game: a click on its graph shows that
    // move, whose stone carries its label's colour and whose better move is outlined.
    void analysedGameShowsItsGraphAndClicksShowMoves() {
        Window window({{SettingsKeys::boardSize, "4"}});
        CMainFrame& frame = *window.frame;
        QVERIFY(!frame.analysisPane().isVisible());
        const std::vector<Hex::Coord> moves = {{1, 1}, {2, 2}, {0, 3}};
        const std::vector<MoveAnalysis> analysis = {
            MoveAnalysis::of({1, 1}, 1, {0, 2}, 0.55, false, 0.4, false),
            MoveAnalysis::of({2, 2}, 2, {2, 2}, 0.6, false, 0.6, false),
            MoveAnalysis::of({0, 3}, 1, {0, 3}, 0.5, false, 0.5, false)};
        const std::filesystem::path file = window.directory.path().toStdString() + "/a.sgf";
        QVERIFY(FileText::replaceWhole(file, SgfAnalysis::write({4, moves}, {}, analysis)));
        QVERIFY(window.document->openRecord(file));
        frame.refreshActions();
        QVERIFY(frame.analysisPane().isVisible());
        QCOMPARE(frame.action("analyzeGame")->text(), QStringLiteral("Analyze Game"));

        WinRateGraph& graph = frame.winRateGraph();
        const auto x = static_cast<int>(WinRateGraph::xOf(1, graph.width(), moves.size()));
        QTest::mouseClick(&graph, Qt::LeftButton, {}, QPoint(x, graph.height() / 2));
        QCOMPARE(frame.paneText(5), QStringLiteral("Move 1 of 3"));
        const BoardScene scene = frame.view().scene();
        QCOMPARE(scene.analysedStone, (Hex::Coord{1, 1}));
        QCOMPARE(scene.analysedColor, WinRateGraph::labelColor(MoveAnalysis::Label::mistake));
        QCOMPARE(scene.betterMove, (Hex::Coord{0, 2}));

        frame.action("analyzeGame")->trigger();
        QCOMPARE(frame.action("analyzeGame")->text(), QStringLiteral("Stop Analysis"));
        QVERIFY(!frame.analysisPane().isVisible()); // the old analysis goes
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QTest::keyClick(&frame, Qt::Key_Escape);
        QCOMPARE(frame.action("analyzeGame")->text(), QStringLiteral("Analyze Game"));
        QVERIFY(!window.document->isAnalyzing());
    }

    void absurdStoredSizesGiveTheDefault() {
        for (const char* width : {"0", "-5", "100000", "abc"}) {
            Window window({{SettingsKeys::windowWidth, width}});
            QCOMPARE(window.frame->initialSize(), QSize(800, 600));
        }
        Window sensible({{SettingsKeys::windowWidth, "640"}, {SettingsKeys::windowHeight, "500"}});
        QCOMPARE(sensible.frame->initialSize(), QSize(640, 500));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
