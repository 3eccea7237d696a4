#include "players/WeightsFile.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <sys/stat.h>

namespace {

constexpr double d1 = defaultWeights[1];
constexpr double d2 = defaultWeights[2];
constexpr double d3 = defaultWeights[3];

TEST(WeightsFile, WrittenAsSixSignificantDigitsAndReadBack) {
    TempDirectory dir;
    ::umask(022);
    ASSERT_TRUE(WeightsFile::write(dir / WeightsFile::fileName, defaultWeights));
    EXPECT_EQ(readBytes(dir / "quorlen.dat"), "-3.076\n3.801\n-5.553\n7.072\n");
    EXPECT_EQ(std::filesystem::status(dir / "quorlen.dat").permissions(),
              static_cast<std::filesystem::perms>(0644));

    ASSERT_TRUE(
        WeightsFile::write(dir / "quorlen.dat", {-3.0761234, 1234567.89, 1.23456789e-5, 0}));
    EXPECT_EQ(readBytes(dir / "quorlen.dat"), "-3.07612\n1.23457e+06\n1.23457e-05\n0\n");
    Weights read = defaultWeights;
    WeightsFile::read(dir / "quorlen.dat", read);
    EXPECT_EQ(read, (Weights{-3.07612, 1.23457e+06, 1.23457e-05, 0.0}));

    // Written as %g writes them, but "nan" and "inf" are no numbers to the reader.
    const Weights nonFinite{0.5, std::numeric_limits<double>::quiet_NaN(), HUGE_VAL, 1.0};
    EXPECT_EQ(WeightsFile::text(nonFinite), "0.5\nnan\ninf\n1\n");
}

TEST(WeightsFile, AMissingFileOrAFailedWriteChangesNothing) {
    TempDirectory dir;
    Weights weights = defaultWeights;
    WeightsFile::read(dir / "quorlen.dat", weights);
    WeightsFile::read(dir.path(), weights);
    EXPECT_EQ(weights, defaultWeights);

    writeBytes(dir / "quorlen.dat", "1\n2\n3\n4\n");
    {
        FileSizeLimit diskFull(4);
        EXPECT_FALSE(WeightsFile::write(dir / "quorlen.dat", defaultWeights));
    }
    EXPECT_FALSE(WeightsFile::write(dir / "missing" / "quorlen.dat", defaultWeights));
    EXPECT_EQ(readBytes(dir / "quorlen.dat"), "1\n2\n3\n4\n");
    EXPECT_EQ(dir.names(), std::set<std::string>{"quorlen.dat"});
}

// A weights file's bytes, how many weights they give and the weights read over the defaults.
TEST(WeightsFile, ReadsUntilTheFirstFailure) {
    const struct {
        const char* name;
        std::string bytes;
        std::size_t count;
        Weights weights;
    } cases[] = {
        {"FourLines", "1\n2\n3\n4\n", 4, {1, 2, 3, 4}},
        {"ThreeOnOneLine", "1 2 3", 3, {1, 2, 3, d3}},
        {"SecondLineNotANumber", "0.5\nx\n1\n2\n", 1, {0.5, d1, d2, d3}},
        {"AnyWhiteSpace", " \t+1\r\n\v-2.5e1\f.5\n\n5.", 4, {1, -25, 0.5, 5}},
        {"TextAfterTheFourthIgnored", "1 2 3 4 garbage", 4, {1, 2, 3, 4}},
        {"NumberEndsAtTheFirstOtherByte", "1x2 3 4", 1, {1, d1, d2, d3}},
        {"TwoPointsMakeTwoNumbers", "1.5.25 3 4", 4, {1.5, 0.25, 3, 4}},
        {"ExponentNeedsDigits", "1e 2 3 4", 1, {1, d1, d2, d3}},
        {"NanIsNoNumber", "nan 1 2 3", 0, defaultWeights},
        {"InfIsNoNumber", "1 -inf 2 3", 1, {1, d1, d2, d3}},
        {"HexIsDecimalZeroThenText", "0x10 1 2 3", 1, {0, d1, d2, d3}},
        {"TooLargeForADouble", "1 1e999 2 3", 1, {1, d1, d2, d3}},
        {"TooSmallForADouble", "1e-999 1 2 3", 0, defaultWeights},
        {"CommaIsNoDecimalPoint", "0,5 1 2 3", 1, {0, d1, d2, d3}},
        {"ZeroByte", std::string("1\0 2 3 4", 8), 1, {1, d1, d2, d3}},
        {"Empty", "", 0, defaultWeights},
        {"OnlyWhiteSpace", " \r\n\t ", 0, defaultWeights},
        {"LoneSign", "- 1 2 3", 0, defaultWeights},
        {"HundredsOfDigits",
         std::string(300, '9') + " " + std::string(400, '9'),
         1,
         {1e300, d1, d2, d3}},
        {"MegabyteOfBlanksFirst", std::string(1 << 20, ' ') + "7", 1, {7, d1, d2, d3}},
        {"NonFiniteAsWritten", "0.5\nnan\ninf\n1\n", 1, {0.5, d1, d2, d3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Weights weights = defaultWeights;
        EXPECT_EQ(WeightsFile::parse(c.bytes, weights), c.count);
        EXPECT_EQ(weights, c.weights);
    }
}

} // namespace
