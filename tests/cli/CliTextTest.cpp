#include "cli/CliText.h"

#include <gtest/gtest.h>

namespace {

TEST(CliText, ANumberIsTheWholeTextOrNothing) {
    EXPECT_EQ(CliText::wholeNumber("11"), 11);
    EXPECT_EQ(CliText::wholeNumber("-5"), -5);
    EXPECT_EQ(CliText::wholeNumber("2147483647"), 2147483647);
    for (const char* text : {"", " 11", "11 ", "+11", "1.5", "11x", "2147483648", "0x10", "-"}) {
        EXPECT_EQ(CliText::wholeNumber(text), std::nullopt) << text;
    }
}

TEST(CliText, CaseAndBlanks) {
    EXPECT_EQ(CliText::lowerCase("Swap-PIECES \xC3\x89"), "swap-pieces \xC3\x89");
    EXPECT_EQ(CliText::trimmed(" \t c5\r\n"), "c5");
    EXPECT_EQ(CliText::trimmed(" \n "), "");
}

} // namespace
