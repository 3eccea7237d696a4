#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One command line of the Go Text Protocol (version 2) as Hex engines speak it:
// "[id] name [arguments...]". The line is cleaned first: control characters other than tab
// and line feed are dropped, tabs become blanks, and everything from a '#' on is a comment.
// A line left empty holds no command and gets no reply.
struct GtpCommand {
    // The digits of the command's id, echoed in the reply; empty when the line has none.
    std::string id;
    // Empty when the line held only an id.
    std::string name;
    std::vector<std::string> args;

    // The command of one line (without its line feed); nullopt when it holds none.
    static std::optional<GtpCommand> parse(std::string_view line);

    // True for the line "# interrupt" (blanks around it allowed), the front ends' request to
    // stop a running genmove.
    static bool isInterrupt(std::string_view line);

    // The reply in its framing: "=[id] text" or "?[id] text", then an empty line. Empty lines
    // inside the text are dropped, since an empty line ends a reply.
    static std::string reply(const std::string& id, bool success, std::string_view text);
};
