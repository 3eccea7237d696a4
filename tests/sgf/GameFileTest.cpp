#include "sgf/GameFile.h"

#include "support/EnginePrinters.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

namespace {

using Hex::Coord;
using Moves = std::vector<Coord>;

const std::string notARecord = "not a game record (the board size 1 to 30 on the first line, then "
                               "one line row.col per move, every line ending in CR LF) nor an "
                               "SGF game";

TEST(GameFile, TellsSgfFromARecordByTheContent) {
    const struct {
        const char* bytes;
        std::optional<Moves> moves;
        const char* error;
        std::vector<std::string> notes;
    } cases[] = {
        // Open's checks only: a cell played twice is still a record.
        {"5\r\n1.1\r\n1.1\r\n", Moves{{1, 1}, {1, 1}}, "", {}},
        {"\xEF\xBB\xBF \r\n(;SZ[5];B[b2];W[resign])",
         Moves{{1, 1}},
         "",
         {"White's resignation at the end is not kept"}},
        {"(;SZ[5];B[b2];B[c3])", std::nullopt, "move 2 (B[c3]): white is to move", {}},
        {"5\n1.1\n", std::nullopt, notARecord.c_str(), {}},
        {"", std::nullopt, notARecord.c_str(), {}},
    };
    for (const auto& each : cases) {
        const GameFile::Reading reading = GameFile::parse(each.bytes);
        EXPECT_EQ(reading.record ? std::optional(reading.record->moves) : std::nullopt, each.moves)
            << each.bytes;
        EXPECT_EQ(reading.error, each.error);
        EXPECT_EQ(reading.notes, each.notes);
    }
}

TEST(GameFile, ReadsAFileWhole) {
    TempDirectory directory;
    writeBytes(directory / "game.sgf", "(;FF[4]GM[11]SZ[4];B[a1];W[swap-pieces])");
    const GameFile::Reading reading = GameFile::read(directory / "game.sgf");
    ASSERT_TRUE(reading.record) << reading.error;
    EXPECT_EQ(reading.record->moves, (Moves{{0, 0}, {4, 4}})); // the swap marker N.N of size 4
    EXPECT_EQ(GameFile::read(directory / "none.sgf").error, "cannot be read");
    EXPECT_EQ(GameFile::read(directory.path()).error, "cannot be read");
}

} // namespace
