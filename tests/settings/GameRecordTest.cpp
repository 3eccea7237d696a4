#include "settings/GameRecord.h"

#include "model/BoardText.h"
#include "model/Game.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

using Moves = std::vector<Hex::Coord>;

TEST(GameRecord, FinishedGameReplaysWithItsWinner) {
    const auto record = GameRecord::parse("3\r\n0.1\r\n0.0\r\n1.1\r\n1.0\r\n2.1\r\n");
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->size, 3u);
    const std::unique_ptr<Hex::Game> game = record->replay();
    EXPECT_EQ(Hex::toText(game->board()), "O X .\n O X .\n  . X .\n");
    EXPECT_EQ(game->winner(), 1);
}

std::string withZeroByte() {
    std::string bytes = "5\r\n1.";
    bytes += '\0';
    bytes += "junk\r\n";
    bytes.resize(4096, 'x');
    return bytes + "2\r\n3.3\r\n"; // the next chunk continues the cut line: 1.2
}

TEST(GameRecord, AcceptedRecordsGiveTheirMovesAndReplay) {
    const struct {
        const char* name;
        std::string bytes;
        Moves moves;
    } cases[] = {
        {"SizeOnly", "11\r\n", {}},
        {"LastLineWithoutLineEndIsDropped", "5\r\n1.1\r\n2.2", {{1, 1}}},
        {"SwapAsSecondMove", "5\r\n0.1\r\n5.5\r\n", {{0, 1}, {5, 5}}},
        {"LateSwapMarker", "5\r\n0.1\r\n2.2\r\n5.5\r\n", {{0, 1}, {2, 2}, {5, 5}}},
        {"TrailingTextAfterNumbers", "5\r\n3.4 x\r\n1.2.3\r\n", {{3, 4}, {1, 2}}},
        {"LenientIntegers", "+5abc\r\n 3. 4\r\n-0.+0\r\n.\r\n", {{3, 4}, {0, 0}, {0, 0}}},
        {"CellTwice", "5\r\n1.1\r\n1.1\r\n", {{1, 1}, {1, 1}}},
        {"MoreMovesThanCells", "1\r\n0.0\r\n0.0\r\n0.0\r\n", {{0, 0}, {0, 0}, {0, 0}}},
        {"LargestSize", "30\r\n29.29\r\n30.30\r\n", {{29, 29}, {30, 30}}},
        {"BareLineFeedInsideALine", "5\n\r\n1\n.2\r\n", {{1, 2}}},
        {"ZeroByteEndsItsChunk", withZeroByte(), {{1, 2}, {3, 3}}},
        {"LeadingZerosInOnePass", "5\r\n1." + std::string(1 << 20, '0') + "3\r\n", {{1, 3}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto record = GameRecord::parse(c.bytes);
        ASSERT_TRUE(record.has_value());
        EXPECT_EQ(record->moves, c.moves);
        EXPECT_NO_THROW(record->replay());
    }
}

TEST(GameRecord, RejectedRecordsGiveNothing) {
    const std::pair<const char*, std::string> cases[] = {
        {"EmptyFile", ""},
        {"NoLineEnd", "5"},
        {"OnlyBareLineFeeds", "5\n1.1\n"},
        {"SizeZero", "0\r\n"},
        {"SizeNotANumber", "x\r\n"},
        {"SizeNegative", "-1\r\n"},
        {"SizeAboveTheLargestBoard", "31\r\n"},
        {"SizeBeyond32Bits", "2147483648\r\n"},
        {"SizeWrappingTo1", "4294967297\r\n0.0\r\n"},
        {"NoFullStop", "5\r\n1.1\r\n2\r\n"},
        {"EmptyMoveLine", "5\r\n\r\n"},
        {"RowEqualToSizeAlone", "5\r\n5.2\r\n"},
        {"ColumnEqualToSizeAlone", "5\r\n1.1\r\n2.5\r\n"},
        {"RowBeyondSize", "5\r\n6.1\r\n"},
        {"NegativeRow", "5\r\n-1.1\r\n"},
        {"NegativeColumn", "5\r\n1.-1\r\n"},
        {"HugeRow", "5\r\n2147483648.0\r\n"},
        {"SwapFirst", "5\r\n5.5\r\n"},
        {"HugeSize", std::string(300, '9') + "\r\n"},
        {"MegabyteLongNumber", "5\r\n" + std::string(1 << 20, '1') + "\r\n"},
        {"MegabyteOfZeroBytes", std::string(1 << 20, '\0')}};
    for (const auto& [name, bytes] : cases) {
        EXPECT_FALSE(GameRecord::parse(bytes).has_value()) << name;
    }
}

// A record's move lines are read by parseMoveLines, so the tables above check its rules; given
// alone, as by the command line's moves, it refuses the sizes that no record may have too.
TEST(GameRecord, MoveLinesAloneRefuseSizesNoRecordMayHave) {
    using Lines = std::vector<std::string_view>;
    EXPECT_EQ(GameRecord::parseMoveLines(5, Lines{"0.1", "5.5"}), (Moves{{0, 1}, {5, 5}}));
    EXPECT_EQ(GameRecord::parseMoveLines(0, Lines{}), std::nullopt);
    EXPECT_EQ(GameRecord::parseMoveLines(31, Lines{"1.1"}), std::nullopt);
}

TEST(GameRecord, FileNameIsTheLocalTime) {
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    EXPECT_EQ(GameRecord::fileName(1141394709), "20060303140509_quorlen_save_file.txt");
    ::setenv("TZ", "UTC+2", 1); // two hours behind
    ::tzset();
    EXPECT_EQ(GameRecord::fileName(1141394709), "20060303120509_quorlen_save_file.txt");
}

// The record is named from the time of the save.
TEST(GameRecord, SaveWritesTheRecordThatReadFileRebuilds) {
    TempDirectory dir;
    const Moves moves{{2, 5}, {11, 11}, {3, 3}, {0, 10}};
    const std::time_t before = std::time(nullptr);
    ASSERT_TRUE(GameRecord::save(dir.path(), Hex::Game(11, moves)));
    const std::time_t after = std::time(nullptr);
    ASSERT_EQ(dir.names().size(), 1u);
    const std::string name = *dir.names().begin();
    bool namedFromTheTime = false;
    for (std::time_t when = before; when <= after; ++when) {
        namedFromTheTime |= name == GameRecord::fileName(when);
    }
    EXPECT_TRUE(namedFromTheTime) << name;
    EXPECT_EQ(readBytes(dir / name), "11\r\n2.5\r\n11.11\r\n3.3\r\n0.10\r\n");
    const auto record = GameRecord::readFile(dir / name);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->size, 11u);
    EXPECT_EQ(record->moves, moves);
    EXPECT_EQ((GameRecord{11, {}}.text()), "11\r\n");
}

TEST(GameRecord, UnreadableFilesGiveNothingAndAFailedSaveWritesNothing) {
    TempDirectory dir;
    EXPECT_FALSE(GameRecord::readFile(dir / "missing").has_value());
    EXPECT_FALSE(GameRecord::readFile(dir.path()).has_value());
    writeBytes(dir / "bad", "5\r\n1.1\r\n2\r\n");
    EXPECT_FALSE(GameRecord::readFile(dir / "bad").has_value());

    TempDirectory empty;
    const Hex::Game game(5, Moves{{1, 1}});
    EXPECT_FALSE(GameRecord::save(empty / "missing", game));
    {
        FileSizeLimit diskFull(2);
        EXPECT_FALSE(GameRecord::save(empty.path(), game));
    }
    EXPECT_TRUE(empty.names().empty());
}

} // namespace
