#include "engine/OpenHeap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

struct Entry {
    double f = 0.0;
    int id = 0;
};

struct Greater {
    bool operator()(const Entry& a, const Entry& b) const { return a.f > b.f; }
};

std::vector<int> ids(const std::vector<Entry>& heap) {
    std::vector<int> result;
    for (const Entry& entry : heap) {
        result.push_back(entry.id);
    }
    return result;
}

// Random pushes, pops and lowered entries with a rebuild, on few distinct values so that
// ties abound: after every step the heap must hold the same entries in the same places as
// the standard library's heap given the same steps.
void expectSameStepsAsTheStandardHeap(bool withNaN) {
    std::mt19937 random(withNaN ? 7 : 3);
    std::vector<Entry> ours;
    std::vector<Entry> standard;
    const auto value = [&] {
        const int pick = static_cast<int>(random() % 9);
        return withNaN && pick == 0 ? std::nan("") : pick * 0.25;
    };
    for (int step = 0; step < 5000; ++step) {
        const int kind = static_cast<int>(random() % 3);
        if (kind == 0 || standard.empty()) {
            const Entry entry{value(), step};
            OpenHeap::push(ours, entry);
            standard.push_back(entry);
            std::push_heap(standard.begin(), standard.end(), Greater{});
        } else if (kind == 1) {
            EXPECT_EQ(OpenHeap::pop(ours).id, standard.front().id);
            std::pop_heap(standard.begin(), standard.end(), Greater{});
            standard.pop_back();
        } else {
            const std::size_t at = random() % standard.size();
            const double lowered = standard[at].f - 0.25 * static_cast<double>(random() % 3);
            ours[at].f = lowered;
            standard[at].f = lowered;
            OpenHeap::rebuild(ours, !withNaN);
            std::make_heap(standard.begin(), standard.end(), Greater{});
        }
        ASSERT_EQ(ids(ours), ids(standard)) << "after step " << step;
    }
}

TEST(OpenHeap, TakesTheStandardHeapsStepsAmongTiesWithAndWithoutNaN) {
    expectSameStepsAsTheStandardHeap(false);
    expectSameStepsAsTheStandardHeap(true);
}

} // namespace
