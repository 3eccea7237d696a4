#include "settings/GameRecord.h"

#include "model/BoardText.h"
#include "model/Game.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

using Moves = std::vector<Hex::Coord>;

TEST(GameRecord, SwapRecordReplaysWithTheMirroredStone) {
    const auto record = GameRecord::parse("11\r\n2.5\r\n11.11\r\n3.3\r\n");
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->size, 11u);
    EXPECT_EQ(record->moves, (Moves{{2, 5}, {11, 11}, {3, 3}}));
    const std::unique_ptr<Hex::Game> game = record->replay();
    EXPECT_EQ(game->board().cell(5, 2), 2);
    EXPECT_EQ(game->board().cell(3, 3), 1);
    EXPECT_EQ(game->board().cell(2, 5), 0);
}

TEST(GameRecord, FinishedGameReplaysWithItsWinner) {
    const auto record = GameRecord::parse("3\r\n0.1\r\n0.0\r\n1.1\r\n1.0\r\n2.1\r\n");
    ASSERT_TRUE(record.has_value());
    const std::unique_ptr<Hex::Game> game = record->replay();
    EXPECT_EQ(Hex::toText(game->board()), Hex::toText(Hex::parseBoard(3, "O X . "
                                                                         " O X . "
                                                                         "  . X .")));
    EXPECT_EQ(game->winner(), 1);
}

// A record's bytes and the moves it gives, or nullopt when it is rejected.
struct RecordCase {
    const char* name;
    std::string bytes;
    std::optional<Moves> moves;
};

void PrintTo(const RecordCase& recordCase, std::ostream* out) {
    *out << recordCase.name;
}

class RecordParse : public testing::TestWithParam<RecordCase> {};

TEST_P(RecordParse, GivesTheMovesOrRejects) {
    const auto record = GameRecord::parse(GetParam().bytes);
    ASSERT_EQ(record.has_value(), GetParam().moves.has_value());
    if (record) {
        EXPECT_EQ(record->moves, *GetParam().moves);
        // Every accepted record replays without an exception.
        EXPECT_NO_THROW(record->replay());
    }
}

std::string withZeroByte() {
    std::string bytes = "5\r\n1.";
    bytes += '\0';
    bytes += "junk\r\n";
    bytes.resize(4096, 'x');
    return bytes + "2\r\n3.3\r\n"; // the next chunk continues the cut line: 1.2
}

const std::optional<Moves> rejected;

INSTANTIATE_TEST_SUITE_P(
    Accepted, RecordParse,
    testing::Values(
        RecordCase{"SizeOnly", "11\r\n", Moves{}},
        RecordCase{"LastLineWithoutLineEndIsDropped", "5\r\n1.1\r\n2.2", Moves{{1, 1}}},
        RecordCase{"SwapAsSecondMove", "5\r\n0.1\r\n5.5\r\n", Moves{{0, 1}, {5, 5}}},
        RecordCase{"LateSwapMarker", "5\r\n0.1\r\n2.2\r\n5.5\r\n", Moves{{0, 1}, {2, 2}, {5, 5}}},
        RecordCase{"TrailingTextAfterNumbers", "5\r\n3.4 x\r\n1.2.3\r\n", Moves{{3, 4}, {1, 2}}},
        RecordCase{"LenientIntegers", "+5abc\r\n 3. 4\r\n-0.+0\r\n.\r\n",
                   Moves{{3, 4}, {0, 0}, {0, 0}}},
        RecordCase{"CellTwice", "5\r\n1.1\r\n1.1\r\n", Moves{{1, 1}, {1, 1}}},
        RecordCase{"MoreMovesThanCells", "1\r\n0.0\r\n0.0\r\n0.0\r\n",
                   Moves{{0, 0}, {0, 0}, {0, 0}}},
        RecordCase{"LargestSize", "30\r\n29.29\r\n30.30\r\n", Moves{{29, 29}, {30, 30}}},
        RecordCase{"BareLineFeedInsideALine", "5\n\r\n1\n.2\r\n", Moves{{1, 2}}},
        RecordCase{"ZeroByteEndsItsChunk", withZeroByte(), Moves{{1, 2}, {3, 3}}}),
    [](const testing::TestParamInfo<RecordCase>& param) { return param.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Rejected, RecordParse,
    testing::Values(RecordCase{"EmptyFile", "", rejected}, RecordCase{"NoLineEnd", "5", rejected},
                    RecordCase{"OnlyBareLineFeeds", "5\n1.1\n", rejected},
                    RecordCase{"SizeZero", "0\r\n", rejected},
                    RecordCase{"SizeNotANumber", "x\r\n", rejected},
                    RecordCase{"SizeNegative", "-1\r\n", rejected},
                    RecordCase{"SizeAboveTheLargestBoard", "31\r\n", rejected},
                    RecordCase{"SizeBeyond32Bits", "2147483648\r\n", rejected},
                    RecordCase{"SizeWrappingTo1", "4294967297\r\n0.0\r\n", rejected},
                    RecordCase{"HugeSize", std::string(300, '9') + "\r\n", rejected},
                    RecordCase{"NoFullStop", "5\r\n1.1\r\n2\r\n", rejected},
                    RecordCase{"EmptyMoveLine", "5\r\n\r\n", rejected},
                    RecordCase{"RowEqualToSizeAlone", "5\r\n5.2\r\n", rejected},
                    RecordCase{"ColumnEqualToSizeAlone", "5\r\n1.1\r\n2.5\r\n", rejected},
                    RecordCase{"RowBeyondSize", "5\r\n6.1\r\n", rejected},
                    RecordCase{"NegativeRow", "5\r\n-1.1\r\n", rejected},
                    RecordCase{"NegativeColumn", "5\r\n1.-1\r\n", rejected},
                    RecordCase{"HugeRow", "5\r\n2147483648.0\r\n", rejected},
                    RecordCase{"SwapFirst", "5\r\n5.5\r\n", rejected}),
    [](const testing::TestParamInfo<RecordCase>& param) { return param.param.name; });

TEST(GameRecord, MoveLinesAreCheckedLikeARecords) {
    using Lines = std::vector<std::string_view>;
    EXPECT_EQ(GameRecord::parseMoveLines(5, Lines{"0.1", "5.5", "2.2 x"}),
              (Moves{{0, 1}, {5, 5}, {2, 2}}));
    EXPECT_EQ(GameRecord::parseMoveLines(5, Lines{}), Moves{});
    EXPECT_EQ(GameRecord::parseMoveLines(5, Lines{"5.5"}), std::nullopt);
    EXPECT_EQ(GameRecord::parseMoveLines(5, Lines{"1"}), std::nullopt);
    EXPECT_EQ(GameRecord::parseMoveLines(5, Lines{"1.1", "4.5"}), std::nullopt);
    // Sizes that no record may have.
    EXPECT_EQ(GameRecord::parseMoveLines(0, Lines{}), std::nullopt);
    EXPECT_EQ(GameRecord::parseMoveLines(31, Lines{"1.1"}), std::nullopt);
}

TEST(GameRecord, LongLinesAndNumbersAreRejectedOrReadInOnePass) {
    EXPECT_EQ(GameRecord::parse("5\r\n1." + std::string(1 << 20, '0') + "3\r\n")->moves,
              (Moves{{1, 3}}));
    EXPECT_FALSE(GameRecord::parse("5\r\n" + std::string(1 << 20, '1') + "\r\n").has_value());
    EXPECT_FALSE(GameRecord::parse(std::string(1 << 20, '\0')).has_value());
}

TEST(GameRecord, FileNameIsTheLocalTime) {
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    EXPECT_EQ(GameRecord::fileName(1141394709), "20060303140509_quorlen_save_file.txt");
    ::setenv("TZ", "UTC+2", 1); // two hours behind
    ::tzset();
    EXPECT_EQ(GameRecord::fileName(1141394709), "20060303120509_quorlen_save_file.txt");
}

TEST(GameRecord, TextIsTheSizeAndOneLinePerMove) {
    EXPECT_EQ((GameRecord{11, {}}.text()), "11\r\n");
    EXPECT_EQ((GameRecord{11, {{2, 5}, {11, 11}, {3, 3}}}.text()), "11\r\n2.5\r\n11.11\r\n3.3\r\n");
}

// Saves the game into the directory and gives the path of the record, which is named from
// the time of the save.
std::filesystem::path saveInto(const TempDirectory& dir, const Hex::Game& game) {
    const std::time_t before = std::time(nullptr);
    EXPECT_TRUE(GameRecord::save(dir.path(), game));
    const std::time_t after = std::time(nullptr);
    for (std::time_t when = before; when <= after; ++when) {
        if (std::filesystem::exists(dir / GameRecord::fileName(when))) {
            EXPECT_EQ(dir.names(), std::set<std::string>{GameRecord::fileName(when)});
            return dir / GameRecord::fileName(when);
        }
    }
    ADD_FAILURE() << "no record named from the time of the save";
    return {};
}

TEST(GameRecord, SaveWritesTheGameThatReadFileRebuilds) {
    TempDirectory dir;
    const Hex::Game empty(11, static_cast<Hex::GameObserver*>(nullptr));
    EXPECT_EQ(readBytes(saveInto(dir, empty)), "11\r\n");

    TempDirectory other;
    const Moves moves{{2, 5}, {11, 11}, {3, 3}, {0, 10}};
    const Hex::Game played(11, moves);
    const auto record = GameRecord::readFile(saveInto(other, played));
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->size, 11u);
    EXPECT_EQ(record->moves, moves);
}

TEST(GameRecord, UnreadableOrRejectedFileGivesNothing) {
    TempDirectory dir;
    EXPECT_FALSE(GameRecord::readFile(dir / "missing").has_value());
    EXPECT_FALSE(GameRecord::readFile(dir.path()).has_value());
    writeBytes(dir / "bad", "5\r\n1.1\r\n2\r\n");
    EXPECT_FALSE(GameRecord::readFile(dir / "bad").has_value());
}

TEST(GameRecord, FailedSaveWritesNothing) {
    TempDirectory dir;
    const Hex::Game game(5, Moves{{1, 1}});
    EXPECT_FALSE(GameRecord::save(dir / "missing", game));
    {
        FileSizeLimit diskFull(2);
        EXPECT_FALSE(GameRecord::save(dir.path(), game));
    }
    EXPECT_TRUE(dir.names().empty());
}

} // namespace
