#pragma once

#include "ui/NumberFieldDialog.h"

// Asks for the side of the board for the next game, 3 to 30.
class CBoardSizeDlg : public NumberFieldDialog {
    Q_OBJECT

public:
    static constexpr unsigned minSize = 3;
    static constexpr unsigned maxSize = 30;

    // storedSize is the board-size setting's text, shown exactly as stored.
    explicit CBoardSizeDlg(const QString& storedSize, QWidget* parent = nullptr);

    // The confirmed size; 0 until OK succeeds.
    unsigned size() const { return m_nSize; }

    void accept() override;

private:
    unsigned m_nSize = 0;
};
