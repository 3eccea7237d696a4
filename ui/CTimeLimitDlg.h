#pragma once

#include "ui/NumberFieldDialog.h"

// Asks for the game time limit in minutes, 1 to 1440 (one day).
class CTimeLimitDlg : public NumberFieldDialog {
    Q_OBJECT

public:
    static constexpr int minMinutes = 1;
    static constexpr int maxMinutes = 1440;

    // storedSeconds is the time-limit setting's text, in seconds; it is shown in whole
    // minutes, rounded toward zero.
    explicit CTimeLimitDlg(const QString& storedSeconds, QWidget* parent = nullptr);

    // The confirmed limit in minutes; 0 until OK succeeds.
    int minutes() const { return m_nMinutes; }

    void accept() override;

private:
    int m_nMinutes = 0;
};
