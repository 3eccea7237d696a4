#pragma once

#include <chrono>
#include <functional>
#include <thread>

// Whether the condition holds within about 30 seconds, asked every 10 ms: for what another
// thread brings about, on a machine that may be slow and shared.
inline bool eventually(const std::function<bool()>& condition) {
    for (int i = 0; i < 3000; ++i) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}
