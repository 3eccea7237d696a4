#include "headless/PositionOptions.h"

#include "model/Exception.h"
#include "model/Game.h"
#include "players/WeightsFile.h"
#include "settings/GameRecord.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

using BadInput = PositionOptions::BadInput;

std::vector<std::string_view> splitOnCommas(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t begin = 0;
    for (std::size_t comma = text.find(','); comma != std::string_view::npos;
         comma = text.find(',', begin)) {
        parts.push_back(text.substr(begin, comma - begin));
        begin = comma + 1;
    }
    parts.push_back(text.substr(begin));
    return parts;
}

std::string_view trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

template <typename Number>
std::optional<Number> parseWhole(std::string_view text) {
    Number value{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || stop != end) {
        return std::nullopt;
    }
    return value;
}

std::uint32_t parseSize(const std::string& text) {
    const std::optional<int> size = parseWhole<int>(trimBlanks(text));
    if (!size || *size < 1 || *size > static_cast<int>(GameRecord::maxSize)) {
        throw BadInput("--size must be a whole number from 1 to 30, not '" + text + "'");
    }
    return static_cast<std::uint32_t>(*size);
}

Weights parseWeights(const std::string& text) {
    const std::vector<std::string_view> parts = splitOnCommas(text);
    const std::string problem =
        "--weights needs four finite decimal numbers separated by commas, not '" + text + "'";
    if (parts.size() != 4) {
        throw BadInput(problem);
    }
    Weights weights{};
    for (std::size_t k = 0; k < weights.size(); ++k) {
        const std::optional<double> weight = parseWhole<double>(trimBlanks(parts[k]));
        if (!weight || !std::isfinite(*weight)) {
            throw BadInput(problem);
        }
        weights[k] = *weight;
    }
    return weights;
}

// As a computer player reads it: the defaults, then as many numbers as the file holds. Only
// a file that cannot be read at all is refused, since the user named it.
Weights readWeightsFile(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) || !std::ifstream(path)) {
        throw BadInput("cannot read the weights file '" + path + "'");
    }
    Weights weights = defaultWeights;
    WeightsFile::read(path, weights);
    return weights;
}

} // namespace

void PositionOptions::addTo(CLI::App& command) {
    m_size = command.add_option("--size", m_sizeText, "Board side, 1 to 30");
    m_moves = command.add_option(
        "--moves", m_movesText,
        "Moves as a record's move lines joined by commas: \"r.c,r.c,...\" (N.N is the swap)");
    m_record = command.add_option("--record", m_recordPath, "A game record file");
    m_weights = command.add_option("--weights", m_weightsText,
                                   "The four weights: w0,w1,w2,w3 (default the built-in)");
    m_weightsFile = command.add_option("--weights-file", m_weightsPath,
                                       "A weights file (four numbers); wins over --weights");
    m_moves->needs(m_size);
    m_record->excludes(m_size);
    m_record->excludes(m_moves);
}

PositionOptions::Position PositionOptions::position() const {
    if (m_record->count() > 0) {
        const std::optional<GameRecord> record = GameRecord::readFile(m_recordPath);
        if (!record) {
            throw BadInput("the game record '" + m_recordPath +
                           "' cannot be read or is not a valid record");
        }
        return Position{record->size, record->moves};
    }
    if (m_size->count() == 0) {
        throw BadInput("give the position with --size (and --moves) or with --record");
    }
    Position position;
    position.size = parseSize(m_sizeText);
    if (!m_movesText.empty()) {
        const std::optional<std::vector<Hex::Coord>> moves =
            GameRecord::parseMoveLines(position.size, splitOnCommas(m_movesText));
        if (!moves) {
            throw BadInput("--moves '" + m_movesText + "' is not a valid move list for size " +
                           std::to_string(position.size));
        }
        position.moves = *moves;
    }
    return position;
}

Weights PositionOptions::weights() const {
    if (m_weightsFile->count() > 0) {
        return readWeightsFile(m_weightsPath);
    }
    if (m_weights->count() > 0) {
        return parseWeights(m_weightsText);
    }
    return defaultWeights;
}
