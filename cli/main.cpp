#include "cli/AnalyzeCommand.h"
#include "cli/ConvertCommand.h"
#include "cli/GtpEngineCommand.h"
#include "cli/MatchCommand.h"
#include "cli/PlayCommand.h"
#include "cli/ReviewCommand.h"
#include "cli/SearchCommand.h"
#include "cli/SolveCommand.h"
#include "headless/CommandLine.h"

#include <CLI/CLI.hpp>

int main(int argc, char** argv) {
    CLI::App app{"quorlen-cli: Quorlen's Hex engine without a window"};
    app.require_subcommand(1);
    int exitCode = 0;
    addAnalyzeCommand(app, exitCode);
    addSearchCommand(app, exitCode);
    addSolveCommand(app, exitCode);
    addPlayCommand(app, exitCode);
    addGtpCommand(app, exitCode);
    addConvertCommand(app, exitCode);
    addMatchCommand(app, exitCode);
    addReviewCommand(app, exitCode);
    parseCommandLine(app, argc, argv, exitCode);
    return exitCode;
}
