#include "notation/ProtocolText.h"

#include <gtest/gtest.h>

namespace {

TEST(ProtocolText, ANumberIsTheWholeTextOrNothing) {
    EXPECT_EQ(ProtocolText::wholeNumber("11"), 11);
    EXPECT_EQ(ProtocolText::wholeNumber("-5"), -5);
    EXPECT_EQ(ProtocolText::wholeNumber("2147483647"), 2147483647);
    for (const char* text : {"", " 11", "11 ", "+11", "1.5", "11x", "2147483648", "0x10", "-"}) {
        EXPECT_EQ(ProtocolText::wholeNumber(text), std::nullopt) << text;
    }
}

TEST(ProtocolText, CaseAndBlanks) {
    EXPECT_EQ(ProtocolText::lowerCase("Swap-PIECES \xC3\x89"), "swap-pieces \xC3\x89");
    EXPECT_EQ(ProtocolText::trimmed(" \t c5\r\n"), "c5");
    EXPECT_EQ(ProtocolText::trimmed(" \n "), "");
}

} // namespace
