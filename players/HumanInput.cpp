#include "players/HumanInput.h"

#include "engine/MessageSink.h"

HumanInput::HumanInput(int playerNumber, MessageSink& sink)
    : m_sink(sink), m_playerNumber(playerNumber) {}

HumanInput::~HumanInput() {
    m_hEvent.set();
}

Hex::Coord HumanInput::getMove(Event& stopEvent) {
    m_question = Question::move; // before the announcement its handler looks at
    if (!m_skipPrompt) {
        m_sink.post(WmAppHumanTurn{m_playerNumber});
    }
    waitForAnswer(stopEvent);
    m_skipPrompt = false;
    std::lock_guard lock(m_answerLock);
    return Hex::Coord{m_row, m_col};
}

bool HumanInput::askSwap(Event& stopEvent) {
    m_question = Question::swap;
    m_sink.post(WmAppSwapOffer{m_playerNumber});
    waitForAnswer(stopEvent);
    std::lock_guard lock(m_answerLock);
    return m_swap;
}

void HumanInput::setMove(int row, int col) {
    {
        std::lock_guard lock(m_answerLock);
        m_row = row;
        m_col = col;
    }
    m_hEvent.set();
}

void HumanInput::setSwap(bool swap) {
    {
        std::lock_guard lock(m_answerLock);
        m_swap = swap;
    }
    if (!swap) {
        m_skipPrompt = true;
    }
    m_hEvent.set();
}

void HumanInput::cancelPending() {
    m_hEvent.reset();
    m_skipPrompt = false;
}

void HumanInput::waitForAnswer(Event& stopEvent) {
    // The answer is looked at first: when a click and a stop meet, the click is used up here
    // (and dropped by the stopped game) rather than left over for a later question.
    Event::waitAny(m_hEvent, stopEvent);
    m_question = Question::none;
}
