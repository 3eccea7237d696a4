#include "engine/StatusSink.h"

void StatusSink::post(Message message) {
    const auto* status = std::get_if<WmAppStatusText>(&message);
    if (status == nullptr || m_stream == nullptr) {
        return;
    }
    std::lock_guard lock(m_lock);
    *m_stream << status->text << '\n' << std::flush;
}
