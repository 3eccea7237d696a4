#include "ui/ColorEdit.h"

#include <QPalette>

ColorEdit::ColorEdit(QWidget* parent)
    : QLineEdit(parent), m_bkColor(palette().color(QPalette::Button)),
      m_textColor(palette().color(QPalette::WindowText)) {
    setReadOnly(true);
    setFrame(false);
    setAutoFillBackground(true);
    SetColor(m_bkColor);
}

void ColorEdit::SetColor(const QColor& color) {
    m_bkColor = color;
    QPalette colors = palette();
    // Both roles: the widget's own fill and the edit panel drawn over it.
    colors.setColor(QPalette::Window, m_bkColor);
    colors.setColor(QPalette::Base, m_bkColor);
    colors.setColor(QPalette::Text, m_textColor);
    setPalette(colors);
    update();
}
