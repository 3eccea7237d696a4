#pragma once

#include <QColor>
#include <QLineEdit>

// A read-only, frameless edit whose whole background shows a colour: the swatch of a colour
// setting.
class ColorEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit ColorEdit(QWidget* parent = nullptr);

    void SetColor(const QColor& color);
    QColor color() const { return m_bkColor; }

private:
    QColor m_bkColor;
    QColor m_textColor;
};
