#include "engine/SearchThreads.h"

#include <algorithm>
#include <thread>

int searchThreadCount(int setting) {
    if (setting > 0) {
        return std::min(setting, maxSearchThreads);
    }
    const int hardware = static_cast<int>(std::thread::hardware_concurrency()); // 0: unknown
    return std::clamp(hardware, 1, maxSearchThreads);
}
