#pragma once

#include "cli/AnalyzeCommand.h"
#include "cli/CommandLine.h"
#include "cli/PlayCommand.h"
#include "cli/SearchCommand.h"

#include <CLI/CLI.hpp>

#include <sstream>
#include <string>
#include <vector>

// One run of quorlen-cli in-process, with what it printed.
struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// args are the words after the program name, e.g. {"analyze", "--size", "3"}.
inline CliRun runCli(std::vector<std::string> args) {
    CLI::App app{"quorlen-cli"};
    app.require_subcommand(1);
    CliRun run;
    std::ostringstream out;
    std::ostringstream err;
    addAnalyzeCommand(app, run.exitCode, out, err);
    addPlayCommand(app, run.exitCode, out, err);
    addSearchCommand(app, run.exitCode, out, err);
    args.insert(args.begin(), "quorlen-cli");
    parseCommandLine(app, args, run.exitCode, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}
