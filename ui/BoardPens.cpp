#include "ui/BoardPens.h"

#include "ui/SettingsColor.h"

namespace {

constexpr int borderWidth = 2;

} // namespace

QPen solidPen(int color, int width) {
    return QPen(colorFromSettings(color), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPen borderPen(int color) {
    return QPen(colorFromSettings(color), borderWidth, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin);
}

QPen outlinePen() {
    return QPen(Qt::black, 1);
}
