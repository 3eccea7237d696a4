#include "ui/CTimeLimitDlg.h"

#include "ui/DecimalText.h"

#include <QLineEdit>

CTimeLimitDlg::CTimeLimitDlg(const QString& storedSeconds, QWidget* parent)
    : NumberFieldDialog(QStringLiteral("Game Time Limit"),
                        QStringLiteral("Set the game time limit. The Quorlen AI will respect this "
                                       "time limit.  For human players this is just a guideline"),
                        QStringLiteral("Time Limit (in minutes):"), parent) {
    field()->setText(QString::number(readLenientInt(storedSeconds) / 60));
}

void CTimeLimitDlg::accept() {
    const std::optional<int> value = readSigned(field()->text());
    if (!value) {
        refuse(QStringLiteral("Please enter an integer."));
        return;
    }
    if (*value < minMinutes || *value > maxMinutes) {
        refuse(rangeMessage(minMinutes, maxMinutes));
        return;
    }
    m_nMinutes = *value;
    QDialog::accept();
}
