#include "notation/HexNotation.h"

#include "model/CellName.h"

#include <algorithm>
#include <cctype>

namespace {

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool sameWord(std::string_view text, std::string_view word) {
    return text.size() == word.size() &&
           std::equal(text.begin(), text.end(), word.begin(),
                      [](char a, char b) { return lower(a) == lower(b); });
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::string HexNotation::columnName(int col) {
    // The board names its rows with the same letters, upper case.
    std::string name = Hex::rowName(col);
    std::transform(name.begin(), name.end(), name.begin(), lower);
    return name;
}

std::string HexNotation::cellName(Hex::Coord cell) {
    return columnName(cell.col) + std::to_string(cell.row + 1);
}

std::optional<Hex::Coord> HexNotation::parseCell(std::string_view text, std::uint32_t size) {
    // Three letters and three digits reach far past the largest board; longer names are
    // refused before any arithmetic.
    constexpr std::size_t longest = 3;
    std::size_t letters = 0;
    while (letters < text.size() && isLetter(text[letters])) {
        ++letters;
    }
    const std::string_view digits = text.substr(letters);
    if (letters == 0 || letters > longest || digits.empty() || digits.size() > longest ||
        digits.front() == '0' || !std::all_of(digits.begin(), digits.end(), isDigit)) {
        return std::nullopt;
    }
    int col = 0;
    for (std::size_t i = 0; i < letters; ++i) {
        col = col * 26 + (lower(text[i]) - 'a' + 1); // a..z, then aa = 27th column
    }
    int row = 0;
    for (const char digit : digits) {
        row = row * 10 + (digit - '0');
    }
    const Hex::Coord cell{row - 1, col - 1};
    if (static_cast<std::uint32_t>(cell.row) >= size ||
        static_cast<std::uint32_t>(cell.col) >= size) {
        return std::nullopt;
    }
    return cell;
}

std::string HexNotation::moveName(Hex::Coord move, std::uint32_t size) {
    return move == swapMarker(size) ? std::string(swapPieces) : cellName(move);
}

std::optional<Hex::Coord> HexNotation::parseMove(std::string_view text, std::uint32_t size) {
    if (sameWord(text, swapPieces) || sameWord(text, "swap")) {
        return swapMarker(size);
    }
    return parseCell(text, size);
}

std::optional<int> HexNotation::parseColour(std::string_view text) {
    if (sameWord(text, "b") || sameWord(text, "black")) {
        return 1;
    }
    if (sameWord(text, "w") || sameWord(text, "white")) {
        return 2;
    }
    return std::nullopt;
}

std::string_view HexNotation::colourName(int side) {
    return side == 1 ? "black" : "white";
}

Hex::Coord HexNotation::swapMarker(std::uint32_t size) {
    const auto n = static_cast<std::int32_t>(size);
    return Hex::Coord{n, n};
}
