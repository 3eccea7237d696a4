// Any bytes as an SGF game: read must refuse them with a message, or give a record of a
// legal game that writes back to SGF, with its variations, and reads again to the same record
// and variations. A setup position
// that is also a game must be the game's position. A review read from the game's moves
// writes back and reads again to the same review.
#include "FuzzCheck.h"

#include "notation/GamePosition.h"
#include "sgf/SgfAnalysis.h"
#include "sgf/SgfGame.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const SgfGame::Reading reading = SgfGame::read(bytes);
    if (reading.setup) {
        FUZZ_CHECK(reading.setup->board.size() >= 1 &&
                   reading.setup->board.size() <= GameRecord::maxSize &&
                   reading.setup->toMove >= 0 && reading.setup->toMove <= 2);
    }
    if (!reading.record) {
        FUZZ_CHECK(!reading.error.empty());
        return 0;
    }
    const GameRecord& record = *reading.record;
    FUZZ_CHECK(record.size >= 1 && record.size <= GameRecord::maxSize);
    GamePosition position(record.size);
    FUZZ_CHECK(position.playAll(record.moves).empty());
    if (reading.setup) {
        FUZZ_CHECK(position.board() == reading.setup->board &&
                   position.sideToMove() == reading.setup->toMove);
    }
    const SgfGame::Reading again =
        SgfGame::read(SgfGame::write(record, {}, {}, reading.variations));
    FUZZ_CHECK(again.record && again.record->size == record.size &&
               again.record->moves == record.moves && again.variations == reading.variations &&
               !again.variationsLeftOut &&
               again.notes.size() == (reading.variations.empty() ? 0u : 1u));
    const std::optional<GameRecord> asRecord = GameRecord::parse(record.text());
    FUZZ_CHECK(asRecord && asRecord->moves == record.moves);
    const std::vector<MoveAnalysis> review = SgfAnalysis::read(bytes, record);
    FUZZ_CHECK(review.size() <= record.moves.size());
    FUZZ_CHECK(SgfAnalysis::read(SgfAnalysis::write(record, {}, review), record) == review);
    return 0;
}
