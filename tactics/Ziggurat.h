#pragma once

#include "tactics/PlayoutBoard.h"

#include <array>
#include <cstdint>

// The ziggurat, the edge template of a stone on the third row from its own edge: the stone
// and eight empty cells (one more on its row, three on the second, four on the first) keep it
// joined to the edge whatever the opponent does there, provided the owner answers. It comes in
// eight placements (each player's two edges, leaning either way along the edge).
//
// The local frame counts rows from the edge (row 0 touches it, row -1 is the edge) and
// columns along it, with the stone at (2, 0); the carrier below leans towards higher columns.
// Which intrusions need an answer, and which answers hold, are not written down but found
// once by playing the local game out exhaustively (localAnswers()).
//
// Plain data for one board width; no thread contract.
class Ziggurat {
public:
    static constexpr int carrierSize = 8;
    struct LocalCell {
        int row;
        int col;
    };
    static constexpr std::array<LocalCell, carrierSize> carrier{
        {{2, 1}, {1, 0}, {1, 1}, {1, 2}, {0, 0}, {0, 1}, {0, 2}, {0, 3}}};

    // For each carrier cell the opponent may take, the carrier cells (bit i: carrier[i]) where
    // the owner's answer keeps the connection, or 0 where the intrusion needs no answer (the
    // connection holds even if the opponent plays there again).
    static const std::array<std::uint8_t, carrierSize>& localAnswers();

    explicit Ziggurat(const PlayoutBoard& board);

    // The cells where `player` answers a stone of the other side just placed on `move` inside
    // the carrier of one of its ziggurats, that is otherwise empty (the first such ziggurat
    // found); none when the move intrudes into no ziggurat or needs no answer.
    struct Answers {
        std::array<int, carrierSize> cells{};
        unsigned count = 0;
    };
    Answers answers(const PlayoutBoard& board, int move, int player) const;

    int width() const { return m_width; }

private:
    // One placement's carrier as offsets from the stone on a board of this width, and as
    // steps along its edge (columns for the first player, rows for the second), with the
    // span of those steps, the stone's included.
    struct Placement {
        std::array<int, carrierSize> offsets;
        std::array<int, carrierSize> alongSteps;
        int minAlong;
        int maxAlong;
    };
    bool carrierEmpty(const PlayoutBoard& board, int stone, const Placement& placement,
                      std::size_t intruded) const;

    int m_size;
    int m_width;
    std::array<Placement, 8> m_placements{};
    std::array<std::uint8_t, carrierSize> m_answers; // localAnswers()
    // Each cell's row and column (the playouts ask after every move; no division there).
    std::array<std::int8_t, PlayoutBoard::maxCells> m_rows{};
    std::array<std::int8_t, PlayoutBoard::maxCells> m_cols{};
};
