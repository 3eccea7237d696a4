#include "headless/CommandLine.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <ostream>

void parseCommandLine(CLI::App& app, std::vector<std::string> args, int& exitCode,
                      std::ostream& out, std::ostream& err) {
    try {
        if (!args.empty()) {
            args.erase(args.begin());
        }
        std::reverse(args.begin(), args.end()); // CLI11 takes the arguments last first
        app.parse(args);
    } catch (const CLI::Success& request) {
        exitCode = app.exit(request, out, err);
    } catch (const CLI::ParseError& error) {
        std::string message = error.what();
        std::replace(message.begin(), message.end(), '\n', ' ');
        err << "quorlen-cli: " << message << '\n';
        exitCode = 2;
    }
}

void parseCommandLine(CLI::App& app, int argc, char** argv, int& exitCode) {
    parseCommandLine(app, std::vector<std::string>(argv, argv + argc), exitCode, std::cout,
                     std::cerr);
}
