#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <utility>

class QLineEdit;

// A modal dialog with an explanation, one labelled digits-only field and OK and Cancel on the
// right. A subclass checks the field when OK is pressed; a refused entry shows a message with
// an OK button, gives the field the focus back and keeps the dialog open.
class NumberFieldDialog : public QDialog {
    Q_OBJECT

public:
    // Shows a message over the dialog and returns when the user has read it.
    using MessageDisplay = std::function<void(QWidget* parent, const QString& text)>;

    static void showMessageBox(QWidget* parent, const QString& text);
    static QString rangeMessage(int low, int high);

    void setMessageDisplay(MessageDisplay display) { m_showMessage = std::move(display); }
    QLineEdit* field() const { return m_field; }

protected:
    NumberFieldDialog(const QString& title, const QString& explanation, const QString& fieldLabel,
                      QWidget* parent);

    // Shows text, then puts the focus back on the field with its text selected.
    void refuse(const QString& text);

private:
    QLineEdit* m_field;
    MessageDisplay m_showMessage = &NumberFieldDialog::showMessageBox;
};
