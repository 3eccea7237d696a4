#pragma once

#include "players/TimedPlayer.h"

class HumanInput;

// A side played at the mouse: its answers come through the side's HumanInput, which the
// document owns. Without one it answers with the default answers instead of waiting.
class HumanPlayer : public TimedPlayer {
public:
    HumanPlayer(std::string name, HumanInput* input, const Clock& clock = Clock::steady());

protected:
    Hex::Coord chooseMove(Event& stopEvent) override;
    bool decideSwap(Event& stopEvent) override;

private:
    HumanInput* m_pInput;
};
