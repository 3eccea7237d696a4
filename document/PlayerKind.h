#pragma once

// The kind of a side as the settings P1_TYPE and P2_TYPE store it; any other value is a human.
enum class PlayerKind { human = 0, easy = 1, hard = 2 };

inline PlayerKind playerKindFromSetting(int value) {
    return value == 1 ? PlayerKind::easy : value == 2 ? PlayerKind::hard : PlayerKind::human;
}
