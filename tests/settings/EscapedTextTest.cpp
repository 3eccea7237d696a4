#include "settings/EscapedText.h"
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

namespace {

TEST(EscapedText, CommandLinesSurviveTheSettingsFile) {
    const std::string lines[] = {"mohex --use-logfile=false --config=a b.cfg", "echo 100% sure %3D",
                                 "tab\there\r\nand \x7f", ""};
    for (const std::string& line : lines) {
        const std::string stored = EscapedText::escaped(line);
        EXPECT_EQ(stored.find_first_of("=\r\n"), std::string::npos) << stored;
        SettingsStore store;
        store.set("P1_ENGINE", stored);
        SettingsStore reread;
        reread.loadBytes(store.fileText());
        EXPECT_EQ(EscapedText::unescaped(reread.get("P1_ENGINE")), line);
    }
    EXPECT_EQ(EscapedText::escaped("a=b%c"), "a%3Db%25c");
}

TEST(EscapedText, HandWrittenValuesReadAsWrittenExceptForEscapes) {
    EXPECT_EQ(EscapedText::unescaped("wolve --config x%3dy"), "wolve --config x=y");
    EXPECT_EQ(EscapedText::unescaped("50% off, %zz, %4"), "50% off, %zz, %4");
    EXPECT_EQ(EscapedText::unescaped("%"), "%");
}

} // namespace
