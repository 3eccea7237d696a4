#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// The user-interface thread switches learning on and off while the game thread reads it.
TEST(SettingsStoreThreads, GetSeesWholeValuesWhileAnotherThreadSets) {
    SettingsStore store;
    store.set("LEARNING", "0");
    const std::string longValue(1000, '1'); // never fits a short string buffer
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 0; i < 20000; ++i) {
            store.set("LEARNING", i % 2 == 0 ? std::string_view(longValue) : "0");
            store.set("KEY" + std::to_string(i % 50), "x");
        }
        done = true;
    });
    int bad = 0;
    while (!done) {
        const std::string value = store.get("LEARNING");
        bad += value != "0" && value != longValue;
        bad += store.get("KEY7").size() > 1;
    }
    writer.join();
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(store.size(), 51u);
}

} // namespace
