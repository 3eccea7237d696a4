#include "ui/SettingsColor.h"

#include <gtest/gtest.h>

namespace {

TEST(SettingsColorTest, RedIsTheLowByteAndHigherBitsAreIgnored) {
    EXPECT_EQ(colorFromSettings(255), QColor(255, 0, 0));
    EXPECT_EQ(colorFromSettings(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(colorFromSettings(10518624), QColor(96, 128, 160));
    EXPECT_EQ(colorFromSettings(0x7F00FF00), QColor(0, 255, 0));
    EXPECT_EQ(colorFromSettings(-1), QColor(255, 255, 255));
}

TEST(SettingsColorTest, QtColourBackToSettings) {
    EXPECT_EQ(settingsFromColor(QColor(96, 128, 160)), 10518624);
    EXPECT_EQ(settingsFromColor(QColor::fromHsv(0, 255, 255)), 255);
    for (const int value : {0, 0x123456, 0xFEDCBA, 16777215}) {
        EXPECT_EQ(settingsFromColor(colorFromSettings(value)), value);
    }
}

} // namespace
