#pragma once

#include "platform/Event.h"

#include <atomic>
#include <thread>

// For the length of one answer, turns a signal of the game's stop event into a raised stop
// flag: a thread waits for the stop event or the end of the answer, whichever comes first.
//
// Thread contract: made and destroyed on the answering thread; the watcher thread only raises
// the flag. The stop event and the flag must outlive the watcher.
class StopWatcher {
public:
    StopWatcher(Event& stopEvent, std::atomic<bool>& stopped);
    // Ends the watch and joins its thread.
    ~StopWatcher();
    StopWatcher(const StopWatcher&) = delete;
    StopWatcher& operator=(const StopWatcher&) = delete;

private:
    Event m_done{Event::Mode::ManualReset};
    std::thread m_thread;
};
