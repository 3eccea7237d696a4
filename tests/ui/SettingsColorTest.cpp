#include "ui/SettingsColor.h"

#include <gtest/gtest.h>

namespace {

TEST(SettingsColorTest, RedIsTheLowByte) {
    EXPECT_EQ(colorFromSettings(255), QColor(255, 0, 0));
    EXPECT_EQ(colorFromSettings(0xFF00), QColor(0, 255, 0));
    EXPECT_EQ(colorFromSettings(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(colorFromSettings(10518624), QColor(96, 128, 160));
}

TEST(SettingsColorTest, BitsAboveTheColourAreIgnored) {
    EXPECT_EQ(colorFromSettings(-1), QColor(255, 255, 255));
    EXPECT_EQ(colorFromSettings(0x7F000000 | 255), QColor(255, 0, 0));
}

TEST(SettingsColorTest, QtColourBackToSettings) {
    EXPECT_EQ(settingsFromColor(QColor(96, 128, 160)), 10518624);
    EXPECT_EQ(settingsFromColor(QColor(Qt::white)), 16777215);
    EXPECT_EQ(settingsFromColor(QColor::fromHsv(0, 255, 255)), 255);
    for (const int value : {0, 1, 0x123456, 0xFEDCBA, 16777215}) {
        EXPECT_EQ(settingsFromColor(colorFromSettings(value)), value);
    }
}

} // namespace
