#include "settings/GameRecord.h"

#include "model/Game.h"
#include "settings/FileText.h"
#include "settings/NumberText.h"

#include <ctime>

namespace {

constexpr std::string_view lineEnd = "\r\n";

// The complete lines of text: each ends at a CR LF; text after the last CR LF is no line.
std::vector<std::string_view> completeLines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t end = text.find(lineEnd); end != std::string_view::npos;
         end = text.find(lineEnd)) {
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end + lineEnd.size());
    }
    return lines;
}

// One move line "row.col" of a record of the given size; nullopt when it has no full stop
// or a coordinate off the board (the swap marker, both coordinates equal to the size, is
// the one entry allowed past the board).
std::optional<Hex::Coord> parseMoveLine(int size, std::string_view line) {
    const std::size_t stop = line.find('.');
    if (stop == std::string_view::npos) {
        return std::nullopt;
    }
    const int row = NumberText::toInt(line.substr(0, stop));
    const int col = NumberText::toInt(line.substr(stop + 1));
    if (row < 0 || col < 0 || row > size || col > size) {
        return std::nullopt;
    }
    if ((row == size) != (col == size)) {
        return std::nullopt;
    }
    return Hex::Coord{row, col};
}

} // namespace

std::optional<GameRecord> GameRecord::parse(std::string_view bytes) {
    const std::string text = FileText::textOfChunks(bytes);
    const std::vector<std::string_view> lines = completeLines(text);
    if (lines.empty()) {
        return std::nullopt;
    }
    const int size = NumberText::toInt(lines.front());
    if (size < 1 || static_cast<std::uint32_t>(size) > maxSize) {
        return std::nullopt;
    }
    const std::vector<std::string_view> moveLines(lines.begin() + 1, lines.end());
    std::optional<std::vector<Hex::Coord>> moves =
        parseMoveLines(static_cast<std::uint32_t>(size), moveLines);
    if (!moves) {
        return std::nullopt;
    }
    return GameRecord{static_cast<std::uint32_t>(size), std::move(*moves)};
}

std::optional<std::vector<Hex::Coord>>
GameRecord::parseMoveLines(std::uint32_t size, const std::vector<std::string_view>& lines) {
    if (size < 1 || size > maxSize) {
        return std::nullopt;
    }
    const int n = static_cast<int>(size);
    std::vector<Hex::Coord> moves;
    moves.reserve(lines.size());
    for (const std::string_view line : lines) {
        const std::optional<Hex::Coord> move = parseMoveLine(n, line);
        if (!move) {
            return std::nullopt;
        }
        moves.push_back(*move);
    }
    // The swap marker needs a first stone to swap.
    if (!moves.empty() && moves.front() == Hex::Coord{n, n}) {
        return std::nullopt;
    }
    return moves;
}

std::optional<GameRecord> GameRecord::readFile(const std::filesystem::path& path) {
    const std::optional<std::string> bytes = FileText::readAll(path);
    if (!bytes) {
        return std::nullopt;
    }
    return parse(*bytes);
}

std::string GameRecord::fileName(std::time_t when) {
    std::tm local{};
    if (::localtime_r(&when, &local) == nullptr) {
        return {};
    }
    char stamp[64];
    const std::size_t length = std::strftime(stamp, sizeof stamp, "%Y%m%d%H%M%S", &local);
    if (length == 0) {
        return {};
    }
    return std::string(stamp, length) + "_quorlen_save_file.txt";
}

std::string GameRecord::text() const {
    std::string content = NumberText::fromInt(static_cast<int>(size)) + "\r\n";
    for (const Hex::Coord move : moves) {
        content += NumberText::fromInt(move.row) + "." + NumberText::fromInt(move.col) + "\r\n";
    }
    return content;
}

bool GameRecord::save(const std::filesystem::path& directory, const Hex::Game& game) {
    const std::string name = fileName(std::time(nullptr));
    if (name.empty()) {
        return false;
    }
    // moves() copies the list under the game's lock, so a game that is being played can be
    // saved while the game thread appends to it.
    const GameRecord record{game.board().size(), game.moves()};
    return FileText::replaceWhole(directory / name, record.text());
}

std::unique_ptr<Hex::Game> GameRecord::replay() const {
    return std::make_unique<Hex::Game>(size, moves);
}
