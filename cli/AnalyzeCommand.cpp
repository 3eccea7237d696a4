#include "cli/AnalyzeCommand.h"

#include "headless/Analysis.h"
#include "headless/PositionOptions.h"
#include "model/Exception.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

int runAnalyze(const PositionOptions& options, std::ostream& out, std::ostream& err) {
    std::string json;
    try {
        std::vector<std::string> notes;
        const BoardPosition position = options.position(notes);
        for (const std::string& note : notes) {
            err << "quorlen-cli analyze: note: " << note << '\n';
        }
        const Weights weights = options.weights();
        json = analyzePosition(position, weights).dump();
    } catch (const PositionOptions::BadInput& problem) {
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
    auto options = std::make_shared<PositionOptions>();
    options->addTo(*analyze);
    analyze->callback(
        [options, &exitCode, &out, &err] { exitCode = runAnalyze(*options, out, err); });
}
