#include "cli/ReviewCommand.h"

#include "engine/SearchThreads.h"
#include "headless/ProgressBar.h"
#include "mcts/GameAnalysis.h"
#include "notation/HexNotation.h"
#include "settings/FileText.h"
#include "settings/GameRecord.h"
#include "sgf/GameFile.h"
#include "sgf/SgfAnalysis.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <chrono>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace {

struct ReviewOptions {
    std::string file;
    double seconds = 2.0;
    std::optional<std::uint64_t> playouts;
    int threads = 0; // 0: automatic
    std::uint64_t seed = 1;
    std::size_t from = 1;
    std::string sgf;
};

nlohmann::ordered_json moveJson(const MoveAnalysis& move, std::size_t number, std::uint32_t size) {
    nlohmann::ordered_json json;
    json["number"] = number;
    json["player"] = move.player;
    json["move"] = HexNotation::moveName(move.move, size);
    json["win_rate_before"] = move.winRateBefore;
    json["best_move"] = HexNotation::moveName(move.bestMove, size);
    json["win_rate_after"] = move.winRateAfter;
    json["loss"] = move.loss;
    json["label"] = MoveAnalysis::labelName(move.label);
    json["proven_before"] = move.provenBefore;
    json["proven_after"] = move.provenAfter;
    return json;
}

nlohmann::ordered_json playerJson(const std::vector<MoveAnalysis>& moves, int player) {
    const GameAnalysis::PlayerSummary summary = GameAnalysis::summaryOf(moves, player);
    nlohmann::ordered_json json;
    json["player"] = player;
    json["moves"] = summary.moves;
    for (const auto label : {MoveAnalysis::Label::good, MoveAnalysis::Label::inaccuracy,
                             MoveAnalysis::Label::mistake, MoveAnalysis::Label::blunder}) {
        json[std::string(MoveAnalysis::labelName(label))] =
            summary.labels.at(static_cast<std::size_t>(label));
    }
    json["average_loss"] = summary.averageLoss;
    return json;
}

nlohmann::ordered_json reviewJson(std::uint32_t size, const std::vector<MoveAnalysis>& moves,
                                  std::size_t firstNumber) {
    nlohmann::ordered_json json;
    json["size"] = size;
    json["moves"] = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < moves.size(); ++i) {
        json["moves"].push_back(moveJson(moves[i], firstNumber + i, size));
    }
    json["players"] = {playerJson(moves, 1), playerJson(moves, 2)};
    return json;
}

GameAnalysis::Settings analysisSettings(const ReviewOptions& options) {
    GameAnalysis::Settings settings;
    settings.threads = searchThreadCount(options.threads);
    settings.seed = options.seed;
    settings.firstMove = options.from;
    if (options.playouts) {
        settings.playoutsPerPosition = options.playouts;
        settings.timePerPosition = std::chrono::milliseconds::max();
    } else {
        settings.timePerPosition = std::chrono::milliseconds(std::llround(options.seconds * 1000));
    }
    return settings;
}

int runReview(const ReviewOptions& options, std::ostream& out, std::ostream& err) {
    const std::string name = "quorlen-cli review: ";
    const std::optional<std::string> bytes = FileText::readAll(options.file);
    if (!bytes) {
        err << name << "cannot read " << options.file << '\n';
        return 2;
    }
    const GameFile::Reading reading = GameFile::parseGame(*bytes);
    if (!reading.record) {
        err << name << options.file << ": " << reading.error << '\n';
        return 2;
    }
    for (const std::string& note : reading.notes) {
        err << name << "note: " << note << '\n';
    }
    const GameRecord& record = *reading.record;
    GameAnalysis::Result result;
    try {
        const std::atomic<bool> notStopped{false};
        std::optional<ProgressBar> bar;
        result = GameAnalysis(analysisSettings(options))
                     .run(record.size, record.moves, notStopped,
                          [&bar, &err](std::size_t done, std::size_t total) {
                              if (!bar) {
                                  bar.emplace(err, static_cast<int>(total));
                              }
                              bar->show(static_cast<int>(done));
                          });
        if (bar) {
            err << '\n';
        }
    } catch (const std::invalid_argument& problem) {
        err << name << options.file << ": " << problem.what() << '\n';
        return 2;
    }
    out << reviewJson(record.size, result.moves, options.from).dump() << '\n';
    if (!options.sgf.empty() &&
        !FileText::replaceWhole(options.sgf,
                                SgfAnalysis::write(record, reading.info, result.moves))) {
        err << name << "cannot write " << options.sgf << '\n';
        return 2;
    }
    return 0;
}

} // namespace

void addReviewCommand(CLI::App& app, int& exitCode) {
    addReviewCommand(app, exitCode, std::cout, std::cerr);
}

void addReviewCommand(CLI::App& app, int& exitCode, std::ostream& out, std::ostream& err) {
    auto* review = app.add_subcommand(
        "review", "Review a game with the expert's search: every move's win rates and label");
    auto options = std::make_shared<ReviewOptions>();
    review->add_option("FILE", options->file, "Game record or SGF file to review")->required();
    auto* seconds = review
                        ->add_option("--seconds", options->seconds,
                                     "Search time for each position, seconds (default 2)")
                        ->check(CLI::Range(0.001, 86400.0));
    review
        ->add_option("--playouts", options->playouts,
                     "Search each position for this many playouts instead of a time")
        ->check(CLI::Range(std::uint64_t{1}, std::uint64_t{1} << 40))
        ->excludes(seconds);
    review
        ->add_option("--threads", options->threads,
                     "Threads to search on; 0 (the default): one per hardware thread")
        ->check(CLI::Range(0, maxSearchThreads));
    review->add_option("--seed", options->seed, "Seed of the expert's playouts (default 1)");
    auto* from = review
                     ->add_option("--from", options->from,
                                  "Review the moves from this one on (default 1: all)")
                     ->check(CLI::Range(std::size_t{1}, std::size_t{100000}));
    review
        ->add_option("--sgf", options->sgf,
                     "Also write the game with the analysis as comments to this SGF file")
        ->excludes(from);
    review->callback(
        [options, &exitCode, &out, &err] { exitCode = runReview(*options, out, err); });
}
