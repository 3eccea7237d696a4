#include "tactics/Ziggurat.h"

#include <algorithm>

namespace {

enum : std::uint8_t { open = 0, owner = 1, intruder = 2 };
using LocalState = std::array<std::uint8_t, Ziggurat::carrierSize>;

bool adjacent(Ziggurat::LocalCell a, Ziggurat::LocalCell b) {
    const int dr = b.row - a.row;
    const int dc = b.col - a.col;
    return (dr == 0 && (dc == 1 || dc == -1)) || (dr == -1 && (dc == 0 || dc == 1)) ||
           (dr == 1 && (dc == 0 || dc == -1));
}

// Whether the owner's cells join the stone at (2, 0) to the edge, with `extra` counted as the
// owner's too (open cells, to ask whether the intruder has cut the connection already).
bool joined(const LocalState& state, std::uint8_t extra) {
    const Ziggurat::LocalCell stone{2, 0};
    unsigned reached = 0;
    bool grew = true;
    while (grew) {
        grew = false;
        for (int i = 0; i < Ziggurat::carrierSize; ++i) {
            const auto cell = Ziggurat::carrier[static_cast<std::size_t>(i)];
            const std::uint8_t value = state[static_cast<std::size_t>(i)];
            if ((reached >> i & 1U) != 0 || (value != owner && value != extra)) {
                continue;
            }
            bool touches = adjacent(stone, cell);
            for (int j = 0; j < Ziggurat::carrierSize && !touches; ++j) {
                touches = (reached >> j & 1U) != 0 &&
                          adjacent(Ziggurat::carrier[static_cast<std::size_t>(j)], cell);
            }
            if (touches) {
                if (cell.row == 0) {
                    return true;
                }
                reached |= 1U << i;
                grew = true;
            }
        }
    }
    return false;
}

// The local game played out: does the owner keep the connection, the intruder to move?
bool ownerHolds(LocalState& state, bool intruderToMove) {
    if (joined(state, owner)) {
        return true;
    }
    if (!joined(state, open)) {
        return false;
    }
    for (std::size_t i = 0; i < state.size(); ++i) {
        if (state[i] != open) {
            continue;
        }
        state[i] = intruderToMove ? intruder : owner;
        const bool holds = ownerHolds(state, !intruderToMove);
        state[i] = open;
        if (holds != intruderToMove) {
            return holds; // the mover has found a winning move
        }
    }
    return intruderToMove;
}

std::array<std::uint8_t, Ziggurat::carrierSize> deriveAnswers() {
    std::array<std::uint8_t, Ziggurat::carrierSize> answers{};
    for (std::size_t k = 0; k < answers.size(); ++k) {
        LocalState state{};
        state[k] = intruder;
        if (ownerHolds(state, true)) {
            continue; // the intrusion threatens nothing yet
        }
        for (std::size_t r = 0; r < state.size(); ++r) {
            if (state[r] == open) {
                state[r] = owner;
                answers[k] |= static_cast<std::uint8_t>(ownerHolds(state, true) ? 1U << r : 0U);
                state[r] = open;
            }
        }
    }
    return answers;
}

} // namespace

const std::array<std::uint8_t, Ziggurat::carrierSize>& Ziggurat::localAnswers() {
    static const std::array<std::uint8_t, carrierSize> answers = deriveAnswers();
    return answers;
}

Ziggurat::Ziggurat(const PlayoutBoard& board)
    : m_size(board.size()), m_width(board.width()), m_answers(localAnswers()) {
    for (int cell = board.firstCell(); cell < board.endCell(); ++cell) {
        m_rows[static_cast<std::size_t>(cell)] = static_cast<std::int8_t>(cell / m_width - 1);
        m_cols[static_cast<std::size_t>(cell)] = static_cast<std::int8_t>(cell % m_width - 1);
    }
    // Placements 0 and 1 lean right and left along the top edge, 2 and 3 are them turned half
    // round (the bottom edge): the first player's. 4 to 7 are the same with rows and columns
    // exchanged: the second player's, on the left and right edges.
    for (int index = 0; index < 8; ++index) {
        Placement& placement = m_placements[static_cast<std::size_t>(index)];
        for (std::size_t i = 0; i < carrier.size(); ++i) {
            const LocalCell cell = carrier[i];
            int dr = cell.row - 2;
            int dc = index % 2 == 0 ? cell.col : 2 - cell.row - cell.col;
            if (index % 4 >= 2) {
                dr = -dr;
                dc = -dc;
            }
            placement.offsets[i] = index < 4 ? dr * m_width + dc : dc * m_width + dr;
            placement.alongSteps[i] = dc;
        }
        const auto [least, most] =
            std::minmax_element(placement.alongSteps.begin(), placement.alongSteps.end());
        placement.minAlong = std::min(0, *least);
        placement.maxAlong = std::max(0, *most);
    }
}

bool Ziggurat::carrierEmpty(const PlayoutBoard& board, int stone, const Placement& placement,
                            std::size_t intruded) const {
    for (std::size_t i = 0; i < carrier.size(); ++i) {
        if (i != intruded && board.at(stone + placement.offsets[i]) != PlayoutBoard::empty) {
            return false;
        }
    }
    return true;
}

Ziggurat::Answers Ziggurat::answers(const PlayoutBoard& board, int move, int player) const {
    // The carrier lists its cells by row from the edge: row 2 first, then 1, then 0.
    static constexpr std::array<std::size_t, 3> rowStart{4, 1, 0};
    static constexpr std::array<std::size_t, 3> rowEnd{8, 4, 1};
    Answers found;
    const int row = m_rows[static_cast<std::size_t>(move)];
    const int col = m_cols[static_cast<std::size_t>(move)];
    const bool first = player == PlayoutBoard::player1;
    const int across = first ? row : col;
    const int along = first ? col : row;
    for (int index = first ? 0 : 4; index < (first ? 4 : 8); ++index) {
        const int fromEdge = index % 4 >= 2 ? m_size - 1 - across : across;
        if (fromEdge < 0 || fromEdge > 2) {
            continue;
        }
        const Placement& placement = m_placements[static_cast<std::size_t>(index)];
        for (std::size_t k = rowStart[static_cast<std::size_t>(fromEdge)];
             k < rowEnd[static_cast<std::size_t>(fromEdge)]; ++k) {
            // The stone lies two rows from the edge, so the carrier fits across the board
            // whenever it fits along it.
            const int stoneAlong = along - placement.alongSteps[k];
            const int stone = move - placement.offsets[k];
            if (m_answers[k] == 0 || stoneAlong + placement.minAlong < 0 ||
                stoneAlong + placement.maxAlong >= m_size || board.at(stone) != player ||
                !carrierEmpty(board, stone, placement, k)) {
                continue;
            }
            for (std::size_t i = 0; i < carrier.size(); ++i) {
                if ((m_answers[k] >> i & 1U) != 0) {
                    found.cells[found.count++] = stone + placement.offsets[i];
                }
            }
            return found;
        }
    }
    return found;
}
