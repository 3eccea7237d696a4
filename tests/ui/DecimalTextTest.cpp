#include "ui/DecimalText.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(DecimalTextTest, WholeFieldsAreDigitsWithBlanksAroundAndOneSignIfSigned) {
    EXPECT_EQ(readUnsigned(" 007 "), 7u);
    EXPECT_EQ(readSigned(" -45"), -45);
    EXPECT_EQ(readSigned("+45"), 45);
    for (const char* bad : {"", "  ", "-", "1 2", "12a", "ten", "--4", "4-"}) {
        EXPECT_EQ(readUnsigned(bad), std::nullopt) << bad;
        EXPECT_EQ(readSigned(bad), std::nullopt) << bad;
    }
    EXPECT_EQ(readUnsigned("-3"), std::nullopt);
    EXPECT_EQ(readUnsigned("+3"), std::nullopt);
}

TEST(DecimalTextTest, HugeNumbersSaturateInsteadOfWrapping) {
    EXPECT_EQ(readUnsigned("4294967297"), std::numeric_limits<unsigned>::max());
    EXPECT_EQ(readSigned("2147483648"), std::numeric_limits<int>::max());
    EXPECT_EQ(readSigned("-99999999999999999999"), std::numeric_limits<int>::min());
    EXPECT_EQ(readLenientInt("-2147483648"), std::numeric_limits<int>::min());
    EXPECT_EQ(readLenientInt("86400000000"), std::numeric_limits<int>::max());
}

TEST(DecimalTextTest, LenientReadingStopsAtTheFirstOtherCharacter) {
    EXPECT_EQ(readLenientInt("  \t-130abc"), -130);
    EXPECT_EQ(readLenientInt("90 seconds"), 90);
    EXPECT_EQ(readLenientInt("abc"), 0);
    EXPECT_EQ(readLenientInt(""), 0);
    EXPECT_EQ(readLenientInt("- 5"), 0);
}

} // namespace
