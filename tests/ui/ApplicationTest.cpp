#include "document/CQuorlenDoc.h"
#include "players/TimedPlayer.h"
#include "settings/SettingsDefaults.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"
#include "ui/CMainFrame.h"
#include "ui/CQuorlenApp.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "support/TempDirectory.h"

#include <csignal>
#include <filesystem>

namespace {

std::filesystem::path pathOf(const QTemporaryDir& directory, const char* name) {
    return std::filesystem::path(directory.path().toStdString()) / name;
}

} // namespace

class ApplicationTest : public QObject {
    Q_OBJECT

private slots:
    // The computer players of these runs write their weights into the current directory.
    void init() { QDir::setCurrent(m_work.path()); }

    // The settings file gives what it holds and the defaults give the rest; all of them are
    // written at exit.
    void aPartialSettingsFileKeepsTheOtherDefaults() {
        QTemporaryDir start;
        writeBytes(pathOf(start, "config.ini"), "BOARD_SIZE=7\r\nP2_TYPE=1\r\n");
        {
            CQuorlenApp application(start.path().toStdString());
            QVERIFY(application.InitInstance({"quorlen"}, false));
            QCOMPARE(application.document()->boardSize(), 7);
            QCOMPARE(application.document()->player(2).name(), std::string("Quorl"));
            QCOMPARE(application.document()->timeLimit(), 300);
            QCOMPARE(application.mainWindow()->initialSize(), QSize(800, 600));
            QCOMPARE(application.ExitInstance(), 0);
        }
        SettingsStore expected;
        SettingsDefaults::apply(expected);
        expected.set(SettingsKeys::boardSize, "7");
        expected.set(SettingsKeys::p2Type, "1");
        QCOMPARE(readBytes(pathOf(start, "config.ini")), expected.fileText());
    }

    // A logout first asks the program to save what it has: it does, and goes on running, since
    // the user may still cancel the logout.
    void aSessionCommitSavesAndGoesOn() {
        QTemporaryDir start;
        CQuorlenApp application(start.path().toStdString());
        QVERIFY(application.InitInstance({"quorlen"}, true));
        application.document()->setBoardSize(9);
        QTimer::singleShot(0, [&] { application.commitData(); });
        QTimer::singleShot(300, [] { QCoreApplication::exit(7); });
        QCOMPARE(QApplication::exec(), 7);
        QVERIFY(readBytes(pathOf(start, "config.ini")).find("BOARD_SIZE=9\r\n") !=
                std::string::npos);
        QVERIFY(application.mainWindow()->isVisible());
        QCOMPARE(application.ExitInstance(), 0);
    }

    // A kill, a Ctrl-C or a closed terminal ends the program as its Exit does: the game stops,
    // the settings and the weights are saved. So it does while a modal dialog is open, and
    // when the signal comes twice.
    void aTerminationSignalRunsTheNormalExit_data() {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<bool>("dialogOpen");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("afterMs");
        QTest::newRow("SIGTERM while two hard players think") << SIGTERM << false << 1 << 1500;
        QTest::newRow("SIGINT twice over a dialog") << SIGINT << true << 2 << 300;
        QTest::newRow("SIGHUP over a dialog") << SIGHUP << true << 1 << 300;
    }
    void aTerminationSignalRunsTheNormalExit() {
        QFETCH(int, signalNumber);
        QFETCH(bool, dialogOpen);
        QFETCH(int, count);
        QFETCH(int, afterMs);
        QTemporaryDir start;
        writeBytes(pathOf(start, "config.ini"),
                   "P1_TYPE=2\r\nP2_TYPE=2\r\nLEARNING=1\r\nBOARD_SIZE=7\r\n");
        const auto weights = pathOf(m_work, "quorlen.dat");
        std::filesystem::remove(weights);
        CQuorlenApp application(start.path().toStdString());
        QVERIFY(application.InitInstance({"quorlen"}, true));
        CMainFrame& window = *application.mainWindow();
        window.action("newGame")->trigger();
        bool dialogReturned = false;
        if (dialogOpen) {
            QTimer::singleShot(0, &window, [&] {
                window.action("colors")->trigger();
                dialogReturned = true;
            });
        }
        bool dialogWasOpen = false;
        QTimer::singleShot(afterMs, [&, signalNumber, count] {
            dialogWasOpen = QApplication::activeModalWidget() != nullptr;
            for (int i = 0; i < count; ++i) {
                ::raise(signalNumber);
            }
        });
        QTimer::singleShot(60000, [] { QCoreApplication::exit(1); }); // a hang fails
        QCOMPARE(QApplication::exec(), 0);
        QCOMPARE(dialogWasOpen, dialogOpen);
        QCOMPARE(dialogReturned, dialogOpen);
        QCOMPARE(application.ExitInstance(), 0);
        QVERIFY(readBytes(pathOf(start, "config.ini")).find("P1_TYPE=2\r\n") != std::string::npos);
        QVERIFY(std::filesystem::exists(weights));
    }

    // A current directory deleted under the program: it starts with the defaults and the record
    // named on its command line, and Save fails silently like any other save that cannot be
    // made.
    void aDeletedCurrentDirectoryIsNoCrash() {
        const auto record = pathOf(m_work, "won.txt");
        writeBytes(record, "3\r\n0.1\r\n0.0\r\n1.1\r\n0.2\r\n2.0\r\n");
        auto gone = std::make_unique<QTemporaryDir>();
        writeBytes(pathOf(*gone, "config.ini"), "BOARD_SIZE=7\r\n");
        QDir::setCurrent(gone->path());
        gone.reset();
        CQuorlenApp application;
        QVERIFY(
            application.InitInstance({"quorlen", QString::fromStdString(record.string())}, false));
        QCOMPARE(application.document()->boardSize(), 10);
        const Hex::Game* game = application.document()->game();
        QVERIFY(game != nullptr && game->winner() == 1);
        QVERIFY(application.mainWindow()->action("save")->isEnabled());
        application.mainWindow()->action("save")->trigger();
        QCOMPARE(application.ExitInstance(), 0);
    }

private:
    QTemporaryDir m_work;
};

QTEST_MAIN(ApplicationTest)
#include "ApplicationTest.moc"
