#pragma once

#include <iosfwd>

namespace CLI {
class App;
}

// `quorlen-cli gtp`: Quorlen as a GTP engine on standard input and output (see GtpEngine and
// GtpSession), for graphical Hex front ends, tournament tools and `quorlen-cli match`.
// The variant with a descriptor reads the commands from it (the tests' pipes); output, when
// given, is the descriptor behind out, watched for a front end that has gone.
void addGtpCommand(CLI::App& app, int& exitCode);
void addGtpCommand(CLI::App& app, int& exitCode, int input, std::ostream& out, std::ostream& err,
                   int output = -1);
