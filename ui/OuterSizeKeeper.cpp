#include "ui/OuterSizeKeeper.h"

std::optional<QSize> OuterSizeKeeper::clientSizeFor(QSize frame) {
    if (m_userSized || m_frame == frame) {
        return std::nullopt;
    }
    m_frame = frame;
    m_requested = m_outer - frame;
    return m_requested;
}

void OuterSizeKeeper::resized(QSize client, bool shown) {
    // Our own request coming true, or the window manager placing the window: the size to
    // store stays. Anything later is the user's choice.
    if (client != m_requested && shown) {
        m_userSized = true;
    }
}
