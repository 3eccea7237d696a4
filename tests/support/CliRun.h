#pragma once

#include "cli/AnalyzeCommand.h"
#include "cli/PlayCommand.h"
#include "cli/SearchCommand.h"
#include "headless/CommandLine.h"

#include <CLI/CLI.hpp>

#include <ostream>
#include <sstream>
#include <string>
#include <vector>

// One run of quorlen-cli in-process, with what it printed.
struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// A run with the commands that addCommands(app, exitCode, out, err) registers, so that a test
// links only the commands it runs.
template <typename AddCommands>
CliRun runCliWith(AddCommands addCommands, std::vector<std::string> args) {
    CLI::App app{"quorlen-cli"};
    app.require_subcommand(1);
    CliRun run;
    std::ostringstream out;
    std::ostringstream err;
    addCommands(app, run.exitCode, out, err);
    args.insert(args.begin(), "quorlen-cli");
    parseCommandLine(app, args, run.exitCode, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

// args are the words after the program name, e.g. {"analyze", "--size", "3"}.
inline CliRun runCli(std::vector<std::string> args) {
    return runCliWith(
        [](CLI::App& app, int& exitCode, std::ostream& out, std::ostream& err) {
            addAnalyzeCommand(app, exitCode, out, err);
            addPlayCommand(app, exitCode, out, err);
            addSearchCommand(app, exitCode, out, err);
        },
        std::move(args));
}
