#pragma once

#include <QColor>

// The one conversion between the settings' colour values (0x00BBGGRR: red in the low byte,
// then green, then blue) and Qt's colours. Bits above the low 24 are ignored.
QColor colorFromSettings(int value);
int settingsFromColor(const QColor& color);
