// Any bytes as the lines of a GTP session: every line that holds a command gets exactly one
// framed reply, "=" or "?" then an id, a blank and a text without empty lines, then one
// empty line; and the engine's position is always a legal game.
#include "FuzzCheck.h"

#include "gtp/GtpCommand.h"
#include "gtp/GtpEngine.h"
#include "notation/GamePosition.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

// The commands that search paths take a good part of a second on the largest boards under
// the fuzzer's instrumentation; a few of them on boards up to 11 keep every input fast.
constexpr int slowCommandsPerInput = 8;
constexpr std::uint32_t largestBoardForSlowCommands = 11;

bool isSlow(const std::string& name) {
    return name == "genmove" || name == "quorlen-paths" || name == "quorlen-value" ||
           name == "gogui-gfx-analyze";
}

void checkReply(const std::string& reply) {
    FUZZ_CHECK(reply.size() >= 4);
    FUZZ_CHECK(reply[0] == '=' || reply[0] == '?');
    FUZZ_CHECK(reply.find("\n\n") == reply.size() - 2);
}

void checkPosition(const GamePosition& position) {
    GamePosition replayed(position.size());
    FUZZ_CHECK(replayed.playAll(position.moves()).empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    GtpEngine::Options options;
    options.strength = Strength::easy;
    options.weightsFile = "/nonexistent-quorlen-fuzz/quorlen.dat"; // read and write both fail
    options.seed = 1;
    options.pause = [](std::chrono::milliseconds) {};
    GtpEngine engine(options);
    engine.inputEnded(); // the whole input is here: a live analysis searches one slice

    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    int slowCommands = 0;
    while (!bytes.empty() && !engine.quitRequested()) {
        const std::size_t end = bytes.find('\n');
        const std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        GtpCommand::isInterrupt(line);
        const std::optional<GtpCommand> command = GtpCommand::parse(line);
        if (!command) {
            continue;
        }
        if (isSlow(command->name) && (engine.position().size() > largestBoardForSlowCommands ||
                                      ++slowCommands > slowCommandsPerInput)) {
            continue;
        }
        checkReply(engine.respond(*command));
        checkPosition(engine.position());
    }
    return 0;
}
