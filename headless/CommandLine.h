#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace CLI {
class App;
}

// Parses the arguments (program name first) and runs the chosen subcommand, whose callback
// sets exitCode. A request for help prints it and sets 0; any other error in the arguments
// prints one line naming the problem on err and sets 2.
void parseCommandLine(CLI::App& app, std::vector<std::string> args, int& exitCode,
                      std::ostream& out, std::ostream& err);
void parseCommandLine(CLI::App& app, int argc, char** argv, int& exitCode);
