#include "ui/CBoardSizeDlg.h"

#include "ui/DecimalText.h"

#include <QLineEdit>

CBoardSizeDlg::CBoardSizeDlg(const QString& storedSize, QWidget* parent)
    : NumberFieldDialog(
          QStringLiteral("Set Board Size"),
          QStringLiteral("Set the playable board size.  This can be any number from 3 to 30."),
          QStringLiteral("Board Size:"), parent) {
    field()->setText(storedSize);
}

void CBoardSizeDlg::accept() {
    const std::optional<unsigned> value = readUnsigned(field()->text());
    if (!value) {
        refuse(QStringLiteral("Please enter a positive integer."));
        return;
    }
    if (*value < minSize || *value > maxSize) {
        refuse(rangeMessage(minSize, maxSize));
        return;
    }
    m_nSize = *value;
    QDialog::accept();
}
