#include "document/CQuorlenDoc.h"
#include "players/TimedPlayer.h"
#include "settings/SettingsDefaults.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"
#include "ui/CMainFrame.h"
#include "ui/CQuorlenApp.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <sstream>

namespace {

std::string fileText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void writeFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::filesystem::path pathOf(const QTemporaryDir& directory, const char* name) {
    return std::filesystem::path(directory.path().toStdString()) / name;
}

} // namespace

class ApplicationTest : public QObject {
    Q_OBJECT

private slots:
    // The computer players of these runs write their weights into the current directory.
    void init() { QDir::setCurrent(m_work.path()); }

    void startsWithTheDefaultsAndWritesThemAtExit() {
        QTemporaryDir start;
        {
            CQuorlenApp application(start.path().toStdString());
            QVERIFY(application.InitInstance({"quorlen"}, false));
            QCOMPARE(application.document()->boardSize(), 10);
            QCOMPARE(application.document()->timeLimit(), 300);
            QCOMPARE(application.document()->player(1).name(), std::string("Player 1"));
            QCOMPARE(application.mainWindow()->initialSize(), QSize(800, 600));
            QCOMPARE(application.ExitInstance(), 0);
        }
        SettingsStore defaults;
        SettingsDefaults::apply(defaults);
        QCOMPARE(fileText(pathOf(start, "config.ini")), defaults.fileText());
    }

    void aPartialSettingsFileKeepsTheOtherDefaults() {
        QTemporaryDir start;
        writeFile(pathOf(start, "config.ini"), "BOARD_SIZE=7\r\nP2_TYPE=1\r\n");
        CQuorlenApp application(start.path().toStdString());
        QVERIFY(application.InitInstance({"quorlen"}, false));
        QCOMPARE(application.document()->boardSize(), 7);
        QCOMPARE(application.document()->player(2).name(), std::string("Quorl"));
        QCOMPARE(application.document()->timeLimit(), 300);
        QCOMPARE(application.settings().get(SettingsKeys::learningRate), std::string("0.05"));
        application.ExitInstance();
        const std::string saved = fileText(pathOf(start, "config.ini"));
        QVERIFY(saved.find("BOARD_SIZE=7\r\n") != std::string::npos);
        QVERIFY(saved.find("COLOR_BACK=10518624\r\n") != std::string::npos);
    }

    void aRecordOnTheCommandLineIsOpened() {
        QTemporaryDir start;
        const auto record = pathOf(start, "won.txt");
        writeFile(record, "3\r\n0.1\r\n0.0\r\n1.1\r\n0.2\r\n2.0\r\n");
        CQuorlenApp application(start.path().toStdString());
        QVERIFY(
            application.InitInstance({"quorlen", QString::fromStdString(record.string())}, false));
        QVERIFY(application.document()->game() != nullptr);
        QVERIFY(application.document()->isGameOver());
        QCOMPARE(application.document()->game()->winner(), 1);
    }

    void aRejectedRecordLeavesTheEmptyBoard() {
        QTemporaryDir start;
        const auto record = pathOf(start, "bad.txt");
        writeFile(record, "5\r\n1.1\r\n2\r\n");
        CQuorlenApp application(start.path().toStdString());
        QVERIFY(
            application.InitInstance({"quorlen", QString::fromStdString(record.string())}, false));
        QVERIFY(application.document()->game() == nullptr);
    }

    void theWindowSizeOfTheRunIsSaved() {
        QTemporaryDir start;
        {
            CQuorlenApp application(start.path().toStdString());
            QVERIFY(application.InitInstance({"quorlen"}, true));
            application.mainWindow()->resize(700, 500);
            application.mainWindow()->close();
            application.ExitInstance();
        }
        SettingsStore saved;
        QVERIFY(saved.load(pathOf(start, "config.ini")));
        QVERIFY(saved.getInt(SettingsKeys::windowWidth) >= 700);
        QVERIFY(saved.getInt(SettingsKeys::windowHeight) >= 500);
    }

private:
    QTemporaryDir m_work;
};

QTEST_MAIN(ApplicationTest)
#include "ApplicationTest.moc"
