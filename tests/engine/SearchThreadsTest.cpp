#include "engine/SearchThreads.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

namespace {

TEST(SearchThreads, ZeroOrLessMeansEveryHardwareThread) {
    const int automatic =
        std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, maxSearchThreads);
    for (const int setting : {0, -1, -2147483647 - 1}) {
        EXPECT_EQ(searchThreadCount(setting), automatic) << setting;
    }
    EXPECT_EQ(searchThreadCount(1), 1);
    EXPECT_EQ(searchThreadCount(5), 5);
    EXPECT_EQ(searchThreadCount(2147483647), maxSearchThreads);
}

} // namespace
