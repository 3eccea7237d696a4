// Any bytes as a game record: parse must reject them or give a record whose every entry is
// a cell of the board (or a later swap marker), which replays without an exception and
// writes back to the same record.
#include "FuzzCheck.h"

#include "model/Game.h"
#include "settings/GameRecord.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<GameRecord> record = GameRecord::parse(bytes);
    if (!record) {
        return 0;
    }
    const auto n = static_cast<std::int32_t>(record->size);
    FUZZ_CHECK(n >= 1 && record->size <= GameRecord::maxSize);
    for (std::size_t i = 0; i < record->moves.size(); ++i) {
        const Hex::Coord move = record->moves[i];
        const bool onBoard = move.row >= 0 && move.row < n && move.col >= 0 && move.col < n;
        const bool swapMarker = i > 0 && move == Hex::Coord{n, n};
        FUZZ_CHECK(onBoard || swapMarker);
    }
    record->replay(); // throws, and so stops the fuzzer, on an entry off the board
    const std::optional<GameRecord> again = GameRecord::parse(record->text());
    FUZZ_CHECK(again && again->size == record->size && again->moves == record->moves);
    return 0;
}
