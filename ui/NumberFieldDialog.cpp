#include "ui/NumberFieldDialog.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

// Wide enough for a few digits; longer entries scroll.
constexpr int fieldCharacters = 7;

} // namespace

NumberFieldDialog::NumberFieldDialog(const QString& title, const QString& explanation,
                                     const QString& fieldLabel, QWidget* parent)
    : QDialog(parent), m_field(new QLineEdit(this)) {
    setWindowTitle(title);

    auto* text = new QLabel(explanation, this);
    text->setWordWrap(true);
    // Typing is limited to digits; text put in by the program is shown as it is.
    m_field->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_field));
    m_field->setFixedWidth(m_field->fontMetrics().averageCharWidth() * fieldCharacters);

    auto* fieldRow = new QHBoxLayout;
    auto* label = new QLabel(fieldLabel, this);
    label->setBuddy(m_field);
    fieldRow->addWidget(label);
    fieldRow->addWidget(m_field);
    fieldRow->addStretch();

    auto* left = new QVBoxLayout;
    left->addWidget(text);
    left->addLayout(fieldRow);
    left->addStretch();

    auto* ok = new QPushButton(tr("OK"), this);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
}

void NumberFieldDialog::showMessageBox(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Quorlen"), text, QMessageBox::Ok, parent);
    box.exec();
}

QString NumberFieldDialog::rangeMessage(int low, int high) {
    return QStringLiteral("Please enter an integer between %1 and %2.").arg(low).arg(high);
}

void NumberFieldDialog::refuse(const QString& text) {
    m_showMessage(this, text);
    m_field->setFocus();
    m_field->selectAll();
}
