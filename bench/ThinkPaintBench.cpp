// How promptly the window answers while the expert searches: the whole program on a 19 x 19
// board, either two expert players at play or (with "analyze") Game > Analyze Position on the
// empty board, and a timer that asks for a repaint every 100 ms. It prints how late the timer
// fired (how long the event loop was kept from it), how long the paint took, median and
// largest, over the given seconds, and with "analyze" how many new snapshots of the analysis
// reached the board each second.
//
//     quorlen_think_paint_bench [SECONDS] [analyze]   (SEARCH_THREADS=N sets the threads)
#include "document/CQuorlenDoc.h"
#include "ui/CMainFrame.h"
#include "ui/CQuorlenApp.h"
#include "ui/CQuorlenView.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

double largest(const std::vector<double>& values) {
    return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const bool analyze = argc > 2 && std::string(argv[2]) == "analyze";
    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() / "quorlen-think-paint";
    std::filesystem::create_directories(directory);
    std::filesystem::current_path(directory);
    {
        std::ofstream config(directory / "config.ini", std::ios::trunc);
        config << "BOARD_SIZE=19\r\n"
               << (analyze ? "" : "P1_TYPE=4\r\nP2_TYPE=4\r\n") << "TIME_LIMIT=3600\r\n"
               << "WINDOW_WIDTH=1200\r\nWINDOW_HEIGHT=900\r\n";
        if (const char* threads = std::getenv("SEARCH_THREADS")) {
            config << "SEARCH_THREADS=" << threads << "\r\n";
        }
    }

    QApplication application(argc, argv);
    CQuorlenApp program(directory);
    program.InitInstance({}, true);
    CMainFrame& frame = *program.mainWindow();
    frame.action(analyze ? "analyzePosition" : "newGame")->trigger();

    std::size_t snapshots = 0;
    std::vector<AnalyzedMove> lastShown;
    QTimer watch; // counts the snapshots that reach the board
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const std::vector<AnalyzedMove> shown = frame.view().scene().analysis;
        if (shown != lastShown) {
            ++snapshots;
            lastShown = shown;
        }
    });
    watch.start(10);
    std::vector<double> lateness;
    std::vector<double> paints;
    QElapsedTimer clock;
    clock.start();
    qint64 due = 100;
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        lateness.push_back(static_cast<double>(clock.elapsed() - due));
        due = clock.elapsed() + 100;
        QElapsedTimer paint;
        paint.start();
        frame.view().repaint();
        paints.push_back(static_cast<double>(paint.nsecsElapsed()) / 1e6);
        if (clock.elapsed() >= seconds * 1000) {
            QApplication::exit(0);
        }
    });
    ticks.start(100);
    QApplication::exec();
    if (analyze) {
        std::printf("snapshots shown: %.1f a second\n", static_cast<double>(snapshots) / seconds);
    } else {
        std::printf("moves played: %zu\n", program.document()->game()->moves().size());
    }
    std::printf("timer lateness: median %.1f ms, largest %.1f ms (%zu ticks)\n", median(lateness),
                largest(lateness), lateness.size());
    std::printf("paint: median %.2f ms, largest %.2f ms\n", median(paints), largest(paints));
    program.ExitInstance();
    return 0;
}
