#include "settings/NumberText.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

namespace {

// Integers beyond 32 bits saturate instead of wrapping ("4294967297" would wrap to 1).
TEST(NumberText, LeadingIntegerIsLenientAndSaturates) {
    const std::pair<const char*, int> cases[] = {
        {"", 0},
        {"abc", 0},
        {"42", 42},
        {"  42x", 42},
        {"\t\r\n-7", -7},
        {"+5", 5},
        {"- 5", 0},
        {"007", 7},
        {"3.4", 3},
        {"-0", 0},
        {"12 34", 12},
        {"\v\f9", 9},
        {"--1", 0},
        {"+-1", 0},
        {"1e5", 1},
        {"0x1F", 0},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"4294967297", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(NumberText::toInt(text), expected) << "text: " << text;
    }
    EXPECT_EQ(NumberText::toInt(std::string("3\0004", 3)), 3);
    EXPECT_EQ(NumberText::toInt(std::string(300, '9') + "x"), INT_MAX);
    EXPECT_EQ(NumberText::toInt("-" + std::string(300, '9')), INT_MIN);
    EXPECT_EQ(NumberText::toInt(std::string(300, '0') + "17"), 17);
}

TEST(NumberText, LeadingDecimalIsLenientAndOnlyDecimal) {
    const std::pair<std::string, double> cases[] = {
        {"0.05", 0.05},    {"  1e-3x", 0.001}, {"-2.5", -2.5}, {"+.5e1", 5.0},
        {"5.", 5.0},       {".5", 0.5},        {".", 0.0},     {"", 0.0},
        {"abc", 0.0},      {"1e", 1.0},        {"1e+", 1.0},   {"2E2", 200.0},
        {"1.5.3", 1.5},    {"nan", 0.0},       {"inf", 0.0},   {"-inf", 0.0},
        {"infinity", 0.0}, {"0x1p3", 0.0},     {"1e999", 0.0}, {"1e-999", 0.0},
        {"7,5", 7.0},      {"- 1", 0.0},       {"1 2", 1.0},   {"0e99999999999999999999", 0.0},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(NumberText::toDecimal(text), expected) << "text: " << text;
    }
}

TEST(NumberText, ReadDecimalGivesTheLengthOfTheNumber) {
    const std::pair<std::string, std::size_t> cases[] = {
        {"1e", 1}, {"1e+", 1}, {"1e+2x", 4}, {"1.5.3", 3}, {"-.5", 3}, {"+1.", 3}, {"12abc", 2},
    };
    for (const auto& [text, length] : cases) {
        const auto number = NumberText::readDecimal(text);
        ASSERT_TRUE(number.has_value()) << "text: " << text;
        EXPECT_EQ(number->length, length) << "text: " << text;
    }
    for (const std::string text : {"", " 1", "-", "+", ".", "-.", "e5", ".e5", "nan", "inf"}) {
        EXPECT_FALSE(NumberText::readDecimal(text).has_value()) << "text: " << text;
    }
}

TEST(NumberText, LongDecimalsConvertOrFailWithoutOverflow) {
    const auto big = NumberText::readDecimal("1" + std::string(300, '0') + "x");
    ASSERT_TRUE(big.has_value());
    EXPECT_EQ(big->value, 1e300);
    EXPECT_EQ(big->length, 301u);
    // Beyond a double's range: too large, or so small that it would read as 0.
    EXPECT_FALSE(NumberText::readDecimal(std::string(400, '9')).has_value());
    EXPECT_FALSE(NumberText::readDecimal("0." + std::string(400, '0') + "1").has_value());
    // A subnormal value still reads.
    EXPECT_GT(NumberText::toDecimal("4e-320"), 0.0);
    // A megabyte of digits costs one pass.
    EXPECT_EQ(NumberText::toDecimal("0." + std::string(1 << 20, '5')), 0.5555555555555556);
}

TEST(NumberText, NumbersAreWrittenAsPercentDAndPercentG) {
    for (const int value : {0, 300, -42, INT_MIN, INT_MAX}) {
        EXPECT_EQ(NumberText::fromInt(value), std::to_string(value));
    }
    const std::pair<double, std::string> cases[] = {
        {-3.076, "-3.076"},
        {7.072, "7.072"},
        {-3.0761234, "-3.07612"},
        {0.0, "0"},
        {0.5, "0.5"},
        {123456.0, "123456"},
        {999999.4, "999999"},
        {999999.5, "1e+06"},
        {1e6, "1e+06"},
        {-1234567.0, "-1.23457e+06"},
        {0.0001, "0.0001"},
        {0.00009999999, "0.0001"},
        {0.0000123456789, "1.23457e-05"},
        {1e100, "1e+100"},
        {1e-300, "1e-300"},
        {-0.0, "-0"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(NumberText::fromDecimal(value), text);
    }
    EXPECT_EQ(NumberText::fromDecimal(std::nan("")), "nan");
    EXPECT_EQ(NumberText::fromDecimal(-HUGE_VAL), "-inf");
}

} // namespace
