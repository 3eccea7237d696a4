#pragma once

// The kind of a side as the settings P1_TYPE and P2_TYPE store it; any other value is a human.
// The expert is 4 (3 is not a kind).
enum class PlayerKind { human = 0, easy = 1, hard = 2, expert = 4 };

inline PlayerKind playerKindFromSetting(int value) {
    switch (value) {
    case 1:
        return PlayerKind::easy;
    case 2:
        return PlayerKind::hard;
    case 4:
        return PlayerKind::expert;
    default:
        return PlayerKind::human;
    }
}
