#pragma once

#include <QSize>

#include <optional>

// Keeps the main window's outer size (frame included) the same from one run to the next.
// The window system sizes the client area, and the frame around it is known only once the
// window manager has framed the window (never, without a window manager), so the client size
// to ask for follows the frame as it becomes known. A tiling window manager may refuse the
// size, and does so before the window is first shown: that changes nothing stored. Only a
// resize after the window was shown (by the user, or by the window manager on the user's
// behalf, maximising included) makes the size then shown the one to store.
//
// Plain bookkeeping: the window reports its frame and resizes, and asks for the client size.
class OuterSizeKeeper {
public:
    explicit OuterSizeKeeper(QSize outer) : m_outer(outer) {}

    // The client size to ask for now that the frame (outer minus client size) is `frame`;
    // nothing when the frame has not changed since the last call or the user sized the
    // window.
    std::optional<QSize> clientSizeFor(QSize frame);

    // The client area was resized to `client`; `shown` tells whether the window had already
    // been shown (exposed) by then.
    void resized(QSize client, bool shown);

    // The outer size to store, given the one the window has now.
    QSize outerSizeToStore(QSize outerNow) const { return m_userSized ? outerNow : m_outer; }
    bool userSized() const { return m_userSized; }

private:
    QSize m_outer;
    std::optional<QSize> m_frame;     // the frame the last request allowed for
    std::optional<QSize> m_requested; // the client size asked for last
    bool m_userSized = false;
};
