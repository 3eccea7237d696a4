#include "document/CQuorlenDoc.h"
#include "engine/MessageSink.h"
#include "settings/SettingsDefaults.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Steady = std::chrono::steady_clock;

// Takes every message and drops it at once, as a window that has gone would.
class DroppingSink : public MessageSink {
public:
    void post(Message) override { ++m_count; }

private:
    std::atomic<long> m_count{0};
};

long environmentNumber(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text != nullptr ? std::strtol(text, nullptr, 10) : fallback;
}

// New Game and Stop Game at random moments, up to 300 ms apart, with hard and easy players on
// a 10 x 10 board and learning on: every stop ends the game within 2 s. The sanitizers find
// leaks (AddressSanitizer) and data races (ThreadSanitizer) along the way.
// QUORLEN_SOAK_CYCLES (500) and QUORLEN_SOAK_SECONDS (55; 0 for no limit) bound the run;
// QUORLEN_SOAK_SEED repeats one. scripts/soak.sh runs it long.
TEST(DocumentSoak, NewAndStopAtRandomMomentsEndEveryGameInTime) {
    const long cycles = environmentNumber("QUORLEN_SOAK_CYCLES", 500);
    const long seconds = environmentNumber("QUORLEN_SOAK_SECONDS", 55);
    const auto seed = static_cast<unsigned>(
        environmentNumber("QUORLEN_SOAK_SEED", static_cast<long>(std::random_device{}())));
    SCOPED_TRACE("QUORLEN_SOAK_SEED=" + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> gap(0, 300);

    TempDirectory directory;
    SettingsStore settings;
    SettingsDefaults::apply(settings);
    settings.set(SettingsKeys::learning, "1");
    DroppingSink sink;
    CQuorlenDoc document(
        CQuorlenDoc::Context{settings,
                             sink,
                             Clock::steady(),
                             directory / "quorlen.dat",
                             [](std::chrono::milliseconds) { std::this_thread::sleep_for(20ms); },
                             {}});

    // Every pairing has a hard player, so no game ends on its own within 300 ms.
    const PlayerKind pairings[][2] = {{PlayerKind::hard, PlayerKind::easy},
                                      {PlayerKind::easy, PlayerKind::hard},
                                      {PlayerKind::hard, PlayerKind::hard}};
    const auto begin = Steady::now();
    Steady::duration longestStop{};
    long done = 0;
    for (; done < cycles && (seconds == 0 || Steady::now() - begin < std::chrono::seconds(seconds));
         ++done) {
        if (done % 10 == 0) { // new players read and write the weights file
            const auto& pairing = pairings[(done / 10) % 3];
            document.setPlayerKind(1, pairing[0]);
            document.setPlayerKind(2, pairing[1]);
        }
        document.newGame();
        std::this_thread::sleep_for(std::chrono::milliseconds(gap(random)));
        ASSERT_TRUE(document.isRunning()) << "cycle " << done;
        const auto stopped = Steady::now();
        document.newGame(); // Stop Game
        while (document.isRunning() && Steady::now() - stopped < 2s) {
            std::this_thread::sleep_for(1ms);
        }
        ASSERT_FALSE(document.isRunning()) << "cycle " << done << ": the stop took over 2 s";
        longestStop = std::max(longestStop, Steady::now() - stopped);
        std::this_thread::sleep_for(std::chrono::milliseconds(gap(random)));
    }
    std::printf("soak: %ld cycles in %.0f s, longest stop %.0f ms\n", done,
                std::chrono::duration<double>(Steady::now() - begin).count(),
                std::chrono::duration<double, std::milli>(longestStop).count());
    EXPECT_GE(done, std::min(cycles, 20L));
}

} // namespace
