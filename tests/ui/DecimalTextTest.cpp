#include "ui/DecimalText.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(DecimalTextTest, UnsignedFieldIsDigitsOnly) {
    EXPECT_EQ(readUnsigned("17"), 17u);
    EXPECT_EQ(readUnsigned(" 007 "), 7u);
    EXPECT_EQ(readUnsigned(""), std::nullopt);
    EXPECT_EQ(readUnsigned("   "), std::nullopt);
    EXPECT_EQ(readUnsigned("-3"), std::nullopt);
    EXPECT_EQ(readUnsigned("+3"), std::nullopt);
    EXPECT_EQ(readUnsigned("1 2"), std::nullopt);
    EXPECT_EQ(readUnsigned("12a"), std::nullopt);
    EXPECT_EQ(readUnsigned("ten"), std::nullopt);
}

TEST(DecimalTextTest, SignedFieldTakesOneSign) {
    EXPECT_EQ(readSigned("-45"), -45);
    EXPECT_EQ(readSigned(" +45"), 45);
    EXPECT_EQ(readSigned("0"), 0);
    EXPECT_EQ(readSigned(""), std::nullopt);
    EXPECT_EQ(readSigned("-"), std::nullopt);
    EXPECT_EQ(readSigned("--4"), std::nullopt);
    EXPECT_EQ(readSigned("4-"), std::nullopt);
}

TEST(DecimalTextTest, HugeNumbersSaturateInsteadOfWrapping) {
    EXPECT_EQ(readUnsigned("4294967297"), std::numeric_limits<unsigned>::max());
    EXPECT_EQ(readUnsigned("99999999999999999999999"), std::numeric_limits<unsigned>::max());
    EXPECT_EQ(readSigned("2147483648"), std::numeric_limits<int>::max());
    EXPECT_EQ(readSigned("-99999999999999999999"), std::numeric_limits<int>::min());
    EXPECT_EQ(readLenientInt("-2147483648"), std::numeric_limits<int>::min());
    EXPECT_EQ(readLenientInt("86400000000"), std::numeric_limits<int>::max());
}

TEST(DecimalTextTest, LenientReadingStopsAtTheFirstOtherCharacter) {
    EXPECT_EQ(readLenientInt("300"), 300);
    EXPECT_EQ(readLenientInt("  \t-130abc"), -130);
    EXPECT_EQ(readLenientInt("90 seconds"), 90);
    EXPECT_EQ(readLenientInt("abc"), 0);
    EXPECT_EQ(readLenientInt(""), 0);
    EXPECT_EQ(readLenientInt("- 5"), 0);
    EXPECT_EQ(readLenientInt("x5"), 0);
}

} // namespace
