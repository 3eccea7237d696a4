#pragma once

#include <QObject>

#include <array>

#include <signal.h>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into received() on the user-interface thread, so that a
// kill, a Ctrl-C or a closed terminal ends the program the normal way. The handler does
// nothing but write the signal's number into a pipe (async-signal-safe, and never blocking:
// a full pipe already holds a pending signal); the event loop reads the pipe through a
// socket notifier, in a modal dialog's loop too.
//
// Thread contract: made, used and destroyed on the user-interface thread, one at a time.
// The signals may arrive on any thread. The handlers stay installed while the object lives,
// so a second signal during the normal exit only adds to the pipe; the earlier handlers come
// back when it is destroyed.
class TerminationSignals : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    static constexpr std::array<int, 3> handled{SIGTERM, SIGINT, SIGHUP};

signals:
    void received(int signalNumber);

private:
    void readPending();

    int m_readEnd = -1;
    int m_writeEnd = -1;
    QSocketNotifier* m_notifier = nullptr;
    std::array<struct sigaction, handled.size()> m_previous{};
};
