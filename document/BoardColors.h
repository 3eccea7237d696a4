#pragma once

// The seven display colours, each a settings colour value: red in the low byte, then green,
// then blue (255 is red, 16777215 white). The defaults are those of a fresh settings file.
struct BoardColors {
    int background = 10518624; // red 96, green 128, blue 160
    int cell = 8421504;        // grey 128
    int selection = 12632256;  // grey 192: the last move's hexagon
    int border = 0;            // plain hexagon sides and the labels
    int player1 = 16777215;
    int player2 = 0;
    int path = 255; // the winning chain and the evaluation numbers

    friend bool operator==(const BoardColors&, const BoardColors&) = default;
};
