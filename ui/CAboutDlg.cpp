#include "ui/CAboutDlg.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

const char* const CAboutDlg::aboutText = "Quorlen\nVersion 1.0";

namespace {

constexpr int iconSide = 32;

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Quorlen"));

    auto* icon = new QLabel(this);
    QIcon programIcon = QApplication::windowIcon();
    if (programIcon.isNull()) {
        programIcon = style()->standardIcon(QStyle::SP_MessageBoxInformation);
    }
    icon->setPixmap(programIcon.pixmap(iconSide, iconSide));
    icon->setAlignment(Qt::AlignTop);

    auto* text = new QLabel(QString::fromLatin1(aboutText), this);
    text->setObjectName(QStringLiteral("aboutText"));
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(icon);
    layout->addWidget(text, 1);
    layout->addLayout(buttons);
}
