#include "settings/GameRecord.h"

#include "model/Game.h"

// Placeholder until the record reader and writer land.

std::optional<GameRecord> GameRecord::parse(std::string_view) {
    return std::nullopt;
}

std::optional<std::vector<Hex::Coord>>
GameRecord::parseMoveLines(std::uint32_t, const std::vector<std::string_view>&) {
    return std::nullopt;
}

std::optional<GameRecord> GameRecord::readFile(const std::filesystem::path&) {
    return std::nullopt;
}

std::string GameRecord::fileName(std::time_t) {
    return {};
}

bool GameRecord::save(const std::filesystem::path&, const Hex::Game&) {
    return false;
}

std::unique_ptr<Hex::Game> GameRecord::replay() const {
    return std::make_unique<Hex::Game>(size, moves);
}
