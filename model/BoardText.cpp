#include "model/BoardText.h"

#include <cctype>
#include <stdexcept>

namespace Hex {

std::string toText(const Board& board) {
    std::string text;
    const int n = static_cast<int>(board.size());
    for (int row = 0; row < n; ++row) {
        text.append(static_cast<std::size_t>(row), ' ');
        for (int col = 0; col < n; ++col) {
            const int value = board.at(row, col);
            text += value == 1 ? 'X' : value == 2 ? 'O' : value == 0 ? '.' : '?';
            text += col + 1 < n ? ' ' : '\n';
        }
    }
    return text;
}

Board parseBoard(std::uint32_t size, std::string_view text) {
    Board board(size);
    std::size_t filled = 0;
    const std::size_t cells = std::size_t{size} * size;
    for (const char ch : text) {
        if (std::isspace(static_cast<unsigned char>(ch))) {
            continue;
        }
        int value = 0;
        switch (ch) {
        case '.':
            value = 0;
            break;
        case 'X':
        case 'x':
        case '1':
            value = 1;
            break;
        case 'O':
        case 'o':
        case '2':
            value = 2;
            break;
        default:
            throw std::invalid_argument(std::string("unexpected board character '") + ch + "'");
        }
        if (filled == cells) {
            throw std::invalid_argument("too many cells for the board size");
        }
        board.cell(static_cast<std::uint32_t>(filled / size),
                   static_cast<std::uint32_t>(filled % size), value);
        ++filled;
    }
    if (filled != cells) {
        throw std::invalid_argument("too few cells for the board size");
    }
    return board;
}

} // namespace Hex
