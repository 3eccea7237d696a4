#pragma once

#include "model/Coord.h"
#include "platform/Event.h"

#include <atomic>
#include <mutex>

class MessageSink;

// The hand-off of one human side's answers from the user-interface thread to the waiting
// game thread.
//
// The game thread calls getMove()/askSwap(): they announce the question to the main window
// (WmAppHumanTurn / WmAppSwapOffer) and wait for the answer or the game's stop event. The
// user-interface thread answers with setMove()/setSwap(). Answers are counted, not merged: a
// declined swap hands over two in a row (the "no" and then the clicked cell), and both reach
// the game thread even when the user clicks before it has started to wait. After a declined
// swap the following getMove() takes the clicked cell without announcing the turn again.
//
// question() tells the user-interface thread which question the game thread is waiting on,
// so that an announcement that arrives after its question has ended (its game was stopped
// or replaced) is not taken for a question of the next game.
class HumanInput {
public:
    enum class Question { none, move, swap };

    HumanInput(int playerNumber, MessageSink& sink);
    virtual ~HumanInput();
    HumanInput(const HumanInput&) = delete;
    HumanInput& operator=(const HumanInput&) = delete;

    // Game thread. On a stop they return at once with whatever the fields hold.
    virtual Hex::Coord getMove(Event& stopEvent);
    virtual bool askSwap(Event& stopEvent);

    // User-interface thread.
    void setMove(int row, int col);
    void setSwap(bool swap);

    // Drops answers that no question took (a click that raced a stop); called before a new
    // game starts, while nobody waits.
    void cancelPending();

    int playerNumber() const { return m_playerNumber; }
    // Any thread: the question that a getMove()/askSwap() is waiting on now.
    Question question() const { return m_question.load(); }

private:
    void waitForAnswer(Event& stopEvent);

    MessageSink& m_sink;
    Event m_hEvent{Event::Mode::Counting};
    const int m_playerNumber;
    std::mutex m_answerLock; // guards the answer fields below
    int m_row = 0;
    int m_col = 0;
    bool m_swap = false;
    std::atomic<bool> m_skipPrompt{false};
    std::atomic<Question> m_question{Question::none};
};
