// How promptly the window answers while two expert players think: the whole program, two
// experts on a 19 x 19 board, and a timer that asks for a repaint every 100 ms. It prints how
// late the timer fired (how long the event loop was kept from it) and how long the paint took,
// median and largest, over the given seconds.
//
//     quorlen_think_paint_bench [SECONDS]     (SEARCH_THREADS=N to set the search threads)
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
    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() / "quorlen-think-paint";
    std::filesystem::create_directories(directory);
    std::filesystem::current_path(directory);
    {
        std::ofstream config(directory / "config.ini", std::ios::trunc);
        config << "BOARD_SIZE=19\r\nP1_TYPE=4\r\nP2_TYPE=4\r\nTIME_LIMIT=3600\r\n"
               << "WINDOW_WIDTH=1200\r\nWINDOW_HEIGHT=900\r\n";
        if (const char* threads = std::getenv("SEARCH_THREADS")) {
            config << "SEARCH_THREADS=" << threads << "\r\n";
        }
    }

    QApplication application(argc, argv);
    CQuorlenApp program(directory);
    program.InitInstance({}, true);
    CMainFrame& frame = *program.mainWindow();
    frame.action("newGame")->trigger();

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
    std::printf("moves played: %zu\n", program.document()->game()->moves().size());
    std::printf("timer lateness: median %.1f ms, largest %.1f ms (%zu ticks)\n", median(lateness),
                largest(lateness), lateness.size());
    std::printf("paint: median %.2f ms, largest %.2f ms\n", median(paints), largest(paints));
    program.ExitInstance();
    return 0;
}
