#pragma once

namespace Hex {

// Told by the game loop, on the game thread, after every move and once at a normal end.
class GameObserver {
public:
    virtual ~GameObserver() = default;
    virtual void onGameChanged() = 0;
};

} // namespace Hex
