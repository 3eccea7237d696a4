#pragma once

// The kind of a side as the settings P1_TYPE and P2_TYPE store it; any other value is a human.
// A GTP engine is another program, run with the side's command line (P1_ENGINE, P2_ENGINE).
// The expert is the Monte-Carlo search player.
enum class PlayerKind { human = 0, easy = 1, hard = 2, gtpEngine = 3, expert = 4 };

inline PlayerKind playerKindFromSetting(int value) {
    switch (value) {
    case 1:
        return PlayerKind::easy;
    case 2:
        return PlayerKind::hard;
    case 3:
        return PlayerKind::gtpEngine;
    case 4:
        return PlayerKind::expert;
    default:
        return PlayerKind::human;
    }
}
