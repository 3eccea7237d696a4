#include "players/StopWatcher.h"

StopWatcher::StopWatcher(Event& stopEvent, std::atomic<bool>& stopped)
    : m_thread([this, &stopEvent, &stopped] {
          if (Event::waitAny(stopEvent, m_done) == 0) {
              stopped = true;
          }
      }) {}

StopWatcher::~StopWatcher() {
    m_done.set();
    m_thread.join();
}
