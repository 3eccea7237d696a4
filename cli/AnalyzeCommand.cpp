#include "cli/AnalyzeCommand.h"

#include "cli/Analysis.h"
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

struct AnalyzeOptions {
    CLI::Option* size = nullptr;
    CLI::Option* moves = nullptr;
    CLI::Option* record = nullptr;
    CLI::Option* weights = nullptr;
    CLI::Option* weightsFile = nullptr;
    std::string sizeText;
    std::string movesText;
    std::string recordPath;
    std::string weightsText;
    std::string weightsPath;
};

// Bad input: the message names the problem and becomes the command's one line on stderr.
class BadInput : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Position {
    std::uint32_t size = 0;
    std::vector<Hex::Coord> moves;
};

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

Position positionFromOptions(const AnalyzeOptions& options) {
    if (options.record->count() > 0) {
        const std::optional<GameRecord> record = GameRecord::readFile(options.recordPath);
        if (!record) {
            throw BadInput("the game record '" + options.recordPath +
                           "' cannot be read or is not a valid record");
        }
        return Position{record->size, record->moves};
    }
    if (options.size->count() == 0) {
        throw BadInput("give the position with --size (and --moves) or with --record");
    }
    Position position;
    position.size = parseSize(options.sizeText);
    if (!options.movesText.empty()) {
        const std::optional<std::vector<Hex::Coord>> moves =
            GameRecord::parseMoveLines(position.size, splitOnCommas(options.movesText));
        if (!moves) {
            throw BadInput("--moves '" + options.movesText +
                           "' is not a valid move list for size " + std::to_string(position.size));
        }
        position.moves = *moves;
    }
    return position;
}

Weights weightsFromOptions(const AnalyzeOptions& options) {
    if (options.weightsFile->count() > 0) {
        return readWeightsFile(options.weightsPath);
    }
    if (options.weights->count() > 0) {
        return parseWeights(options.weightsText);
    }
    return defaultWeights;
}

int runAnalyze(const AnalyzeOptions& options, std::ostream& out, std::ostream& err) {
    std::string json;
    try {
        const Position position = positionFromOptions(options);
        const Weights weights = weightsFromOptions(options);
        const Hex::Game game(position.size, position.moves);
        json = analyzePosition(game, weights).dump();
    } catch (const BadInput& problem) {
        err << "quorlen-cli analyze: " << problem.what() << '\n';
        return 2;
    } catch (const Hex::Exception& problem) {
        err << "quorlen-cli analyze: the moves do not fit the board: " << problem.message() << '\n';
        return 2;
    }
    out << json << '\n';
    return 0;
}

} // namespace

void addAnalyzeCommand(CLI::App& app, int& exitCode) {
    addAnalyzeCommand(app, exitCode, std::cout, std::cerr);
}

void addAnalyzeCommand(CLI::App& app, int& exitCode, std::ostream& out, std::ostream& err) {
    auto* analyze = app.add_subcommand(
        "analyze", "Print the engine's costs, features, paths and value of one position as JSON");
    auto options = std::make_shared<AnalyzeOptions>();
    options->size = analyze->add_option("--size", options->sizeText, "Board side, 1 to 30");
    options->moves = analyze->add_option(
        "--moves", options->movesText,
        "Moves as a record's move lines joined by commas: \"r.c,r.c,...\" (N.N is the swap)");
    options->record = analyze->add_option("--record", options->recordPath, "A game record file");
    options->weights = analyze->add_option("--weights", options->weightsText,
                                           "The four weights: w0,w1,w2,w3 (default the built-in)");
    options->weightsFile =
        analyze->add_option("--weights-file", options->weightsPath,
                            "A weights file (four numbers); wins over --weights");
    options->moves->needs(options->size);
    options->record->excludes(options->size);
    options->record->excludes(options->moves);
    analyze->callback(
        [options, &exitCode, &out, &err] { exitCode = runAnalyze(*options, out, err); });
}
