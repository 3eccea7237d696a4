#include "ui/CColorPrefsDlg.h"

#include "ui/ColorEdit.h"
#include "ui/SettingsColor.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

const std::array<CColorPrefsDlg::Row, 7> CColorPrefsDlg::rows = {{
    {"Background:", "COLOR_BACK", &BoardColors::background},
    {"Cell:", "COLOR_CELL", &BoardColors::cell},
    {"Cell Border:", "COLOR_BORDER", &BoardColors::border},
    {"Cell Selected:", "COLOR_SELECTION", &BoardColors::selection},
    {"Player 1:", "COLOR_P1", &BoardColors::player1},
    {"Player 2:", "COLOR_P2", &BoardColors::player2},
    {"Winning Line:", "COLOR_PATH", &BoardColors::path},
}};

CColorPrefsDlg::CColorPrefsDlg(const BoardColors& colors, QWidget* parent)
    : QDialog(parent), m_colors(colors) {
    setWindowTitle(QStringLiteral("Color Preferences"));

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Colors"), this), 0, 0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        const int line = static_cast<int>(i) + 1;
        auto* swatch = new ColorEdit(this);
        swatch->setObjectName(QLatin1String(row.name));
        swatch->SetColor(colorFromSettings(m_colors.*row.field));
        auto* button = new QPushButton(QStringLiteral("Set Color"), this);
        button->setObjectName(QLatin1String(row.name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, i] { chooseColor(i); });
        grid->addWidget(new QLabel(QLatin1String(row.label), this), line, 0);
        grid->addWidget(swatch, line, 1);
        grid->addWidget(button, line, 2);
        m_swatches[i] = swatch;
    }

    auto* ok = new QPushButton(tr("OK"), this);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
}

std::optional<QColor> CColorPrefsDlg::chooseWithColorDialog(QWidget* parent) {
    const QColor color = QColorDialog::getColor(Qt::white, parent);
    if (!color.isValid()) {
        return std::nullopt;
    }
    return color;
}

void CColorPrefsDlg::chooseColor(std::size_t row) {
    const std::optional<QColor> chosen = m_chooseColor(this);
    if (!chosen || !chosen->isValid()) {
        return;
    }
    m_colors.*rows[row].field = settingsFromColor(*chosen);
    m_swatches[row]->SetColor(colorFromSettings(m_colors.*rows[row].field));
}
