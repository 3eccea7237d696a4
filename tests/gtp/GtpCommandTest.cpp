#include "gtp/GtpCommand.h"

#include <gtest/gtest.h>

namespace {

using Words = std::vector<std::string>;

// Every engine test sends plain lines; here an id, tabs, a comment and a carriage return.
TEST(GtpCommand, ALineIsAnOptionalIdANameAndArguments) {
    const auto numbered = GtpCommand::parse("  12\tgenmove\t w  # the engine's turn\r");
    ASSERT_TRUE(numbered);
    EXPECT_EQ(numbered->id, "12");
    EXPECT_EQ(numbered->name, "genmove");
    EXPECT_EQ(numbered->args, (Words{"w"}));

    const auto idOnly = GtpCommand::parse("7");
    ASSERT_TRUE(idOnly);
    EXPECT_EQ(idOnly->id, "7");
    EXPECT_EQ(idOnly->name, "");
}

TEST(GtpCommand, ControlCharactersAreDroppedAndEmptyLinesHoldNoCommand) {
    const auto command = GtpCommand::parse(std::string("na\x01me\x7f\0x", 8));
    ASSERT_TRUE(command);
    EXPECT_EQ(command->name, "namex");
    for (const char* empty : {"", "   ", "\t\r", "# a comment", "  # interrupt", "\x02\x03"}) {
        EXPECT_FALSE(GtpCommand::parse(empty)) << empty;
    }
}

TEST(GtpCommand, OnlyTheInterruptCommentInterrupts) {
    EXPECT_TRUE(GtpCommand::isInterrupt("# interrupt"));
    EXPECT_TRUE(GtpCommand::isInterrupt("  # interrupt \r"));
    EXPECT_FALSE(GtpCommand::isInterrupt("#interrupt"));
    EXPECT_FALSE(GtpCommand::isInterrupt("# interrupted"));
    EXPECT_FALSE(GtpCommand::isInterrupt("genmove b # interrupt"));
    EXPECT_FALSE(GtpCommand::isInterrupt(""));
}

TEST(GtpCommand, RepliesAreFramedAndEndWithOneEmptyLine) {
    EXPECT_EQ(GtpCommand::reply("", true, ""), "= \n\n");
    EXPECT_EQ(GtpCommand::reply("5", true, "c5"), "=5 c5\n\n");
    EXPECT_EQ(GtpCommand::reply("", false, "unknown command"), "? unknown command\n\n");
    // An empty line would end the reply early; a leading line break keeps a board aligned.
    EXPECT_EQ(GtpCommand::reply("", true, "\nrow 1\n\n\nrow 2\n"), "= \nrow 1\nrow 2\n\n");
}

} // namespace
