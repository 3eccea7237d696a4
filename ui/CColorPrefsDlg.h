#pragma once

#include "document/BoardColors.h"

#include <QColor>
#include <QDialog>

#include <array>
#include <functional>
#include <optional>

class ColorEdit;

// Lets the user pick the seven display colours, one row each with a swatch and a
// "Set Color" button. OK hands back every colour shown; Cancel drops them all.
class CColorPrefsDlg : public QDialog {
    Q_OBJECT

public:
    // Asks the user for a colour; nothing when the user cancels.
    using ColorChooser = std::function<std::optional<QColor>(QWidget* parent)>;

    struct Row {
        const char* label;
        const char* name; // object name of the row's swatch and button, after its setting
        int BoardColors::*field;
    };
    static const std::array<Row, 7> rows;

    explicit CColorPrefsDlg(const BoardColors& colors, QWidget* parent = nullptr);

    // The colours as shown; the caller takes them after OK.
    const BoardColors& colors() const { return m_colors; }

    void setColorChooser(ColorChooser chooser) { m_chooseColor = std::move(chooser); }
    static std::optional<QColor> chooseWithColorDialog(QWidget* parent);

private:
    void chooseColor(std::size_t row);

    BoardColors m_colors;
    std::array<ColorEdit*, 7> m_swatches{};
    ColorChooser m_chooseColor = &CColorPrefsDlg::chooseWithColorDialog;
};
