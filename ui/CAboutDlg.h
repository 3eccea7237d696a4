#pragma once

#include <QDialog>

// Shows the program's name and version.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    static const char* const aboutText;

    explicit CAboutDlg(QWidget* parent = nullptr);
};
