#include "players/WeightsFile.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <sys/stat.h>

namespace {

constexpr double d0 = defaultWeights[0];
constexpr double d1 = defaultWeights[1];
constexpr double d2 = defaultWeights[2];
constexpr double d3 = defaultWeights[3];

TEST(WeightsFile, DefaultsAreWrittenAsFourLines) {
    TempDirectory dir;
    ::umask(022);
    ASSERT_TRUE(WeightsFile::write(dir / WeightsFile::fileName, defaultWeights));
    EXPECT_EQ(readBytes(dir / "quorlen.dat"), "-3.076\n3.801\n-5.553\n7.072\n");
    EXPECT_EQ(std::filesystem::status(dir / "quorlen.dat").permissions(),
              static_cast<std::filesystem::perms>(0644));
}

TEST(WeightsFile, MissingFileLeavesTheWeights) {
    TempDirectory dir;
    Weights weights = defaultWeights;
    WeightsFile::read(dir / "quorlen.dat", weights);
    EXPECT_EQ(weights, defaultWeights);
    WeightsFile::read(dir.path(), weights);
    EXPECT_EQ(weights, defaultWeights);
}

TEST(WeightsFile, WriteThenReadGivesSixSignificantDigits) {
    const Weights written{-3.0761234, 1234567.89, 0.0000123456789, 0.0};
    TempDirectory dir;
    ASSERT_TRUE(WeightsFile::write(dir / "quorlen.dat", written));
    EXPECT_EQ(readBytes(dir / "quorlen.dat"), "-3.07612\n1.23457e+06\n1.23457e-05\n0\n");
    Weights read = defaultWeights;
    WeightsFile::read(dir / "quorlen.dat", read);
    EXPECT_EQ(read, (Weights{-3.07612, 1.23457e+06, 1.23457e-05, 0.0}));
}

TEST(WeightsFile, NonFiniteWeightsComeBackAsDefaults) {
    // Written as %g writes them, but "nan" and "inf" are no numbers to the reader.
    const Weights written{0.5, std::numeric_limits<double>::quiet_NaN(), HUGE_VAL, 1.0};
    EXPECT_EQ(WeightsFile::text(written), "0.5\nnan\ninf\n1\n");
    Weights read = defaultWeights;
    EXPECT_EQ(WeightsFile::parse(WeightsFile::text(written), read), 1u);
    EXPECT_EQ(read, (Weights{0.5, d1, d2, d3}));
}

// A weights file's bytes and the weights read over the defaults.
struct WeightsCase {
    const char* name;
    std::string bytes;
    std::size_t count;
    Weights weights;
};

void PrintTo(const WeightsCase& weightsCase, std::ostream* out) {
    *out << weightsCase.name;
}

class WeightsParse : public testing::TestWithParam<WeightsCase> {};

TEST_P(WeightsParse, ReadsUntilTheFirstFailure) {
    Weights weights = defaultWeights;
    EXPECT_EQ(WeightsFile::parse(GetParam().bytes, weights), GetParam().count);
    EXPECT_EQ(weights, GetParam().weights);
}

INSTANTIATE_TEST_SUITE_P(
    Files, WeightsParse,
    testing::Values(
        WeightsCase{"FourLines", "1\n2\n3\n4\n", 4, {1, 2, 3, 4}},
        WeightsCase{"ThreeOnOneLine", "1 2 3", 3, {1, 2, 3, d3}},
        WeightsCase{"SecondLineNotANumber", "0.5\nx\n1\n2\n", 1, {0.5, d1, d2, d3}},
        WeightsCase{"AnyWhiteSpace", " \t+1\r\n\v-2.5e1\f.5\n\n5.", 4, {1, -25, 0.5, 5}},
        WeightsCase{"TextAfterTheFourthIgnored", "1 2 3 4 garbage", 4, {1, 2, 3, 4}},
        WeightsCase{"NumberEndsAtTheFirstOtherByte", "1x2 3 4", 1, {1, d1, d2, d3}},
        WeightsCase{"TwoPointsMakeTwoNumbers", "1.5.25 3 4", 4, {1.5, 0.25, 3, 4}},
        WeightsCase{"ExponentNeedsDigits", "1e 2 3 4", 1, {1, d1, d2, d3}},
        WeightsCase{"NanIsNoNumber", "nan 1 2 3", 0, defaultWeights},
        WeightsCase{"InfIsNoNumber", "1 -inf 2 3", 1, {1, d1, d2, d3}},
        WeightsCase{"HexIsDecimalZeroThenText", "0x10 1 2 3", 1, {0, d1, d2, d3}},
        WeightsCase{"TooLargeForADouble", "1 1e999 2 3", 1, {1, d1, d2, d3}},
        WeightsCase{"TooSmallForADouble", "1e-999 1 2 3", 0, defaultWeights},
        WeightsCase{"CommaIsNoDecimalPoint", "0,5 1 2 3", 1, {0, d1, d2, d3}},
        WeightsCase{"ZeroByte", std::string("1\0 2 3 4", 8), 1, {1, d1, d2, d3}},
        WeightsCase{"Empty", "", 0, defaultWeights},
        WeightsCase{"OnlyWhiteSpace", " \r\n\t ", 0, defaultWeights},
        WeightsCase{"LoneSign", "- 1 2 3", 0, defaultWeights},
        WeightsCase{"HundredsOfDigits",
                    std::string(300, '9') + " " + std::string(400, '9'),
                    1,
                    {1e300, d1, d2, d3}},
        WeightsCase{"MegabyteOfBlanksFirst", std::string(1 << 20, ' ') + "7", 1, {7, d1, d2, d3}}),
    [](const testing::TestParamInfo<WeightsCase>& param) { return param.param.name; });

TEST(WeightsFile, FailedWriteKeepsThePreviousFile) {
    TempDirectory dir;
    writeBytes(dir / "quorlen.dat", "1\n2\n3\n4\n");
    {
        FileSizeLimit diskFull(4);
        EXPECT_FALSE(WeightsFile::write(dir / "quorlen.dat", defaultWeights));
    }
    EXPECT_FALSE(WeightsFile::write(dir / "missing" / "quorlen.dat", defaultWeights));
    EXPECT_EQ(readBytes(dir / "quorlen.dat"), "1\n2\n3\n4\n");
    EXPECT_EQ(dir.names(), std::set<std::string>{"quorlen.dat"});
}

TEST(WeightsFile, WriteIntoAReadOnlyDirectoryKeepsThePreviousFile) {
    TempDirectory dir;
    writeBytes(dir / "quorlen.dat", "1\n2\n3\n4\n");
    if (!readOnlyDirectoryStopsWrites(dir.path())) {
        GTEST_SKIP() << "running as root: a read-only directory does not stop writes";
    }
    EXPECT_FALSE(WeightsFile::write(dir / "quorlen.dat", defaultWeights));
    EXPECT_EQ(readBytes(dir / "quorlen.dat"), "1\n2\n3\n4\n");
}

} // namespace
