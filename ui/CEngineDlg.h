#pragma once

#include "ui/NumberFieldDialog.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>
#include <string>

class EnginePlayer;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

// Asks for the command line of a GTP engine to play one side, starts the engine and waits for
// it to answer without blocking the window. An empty command line, or an engine that does not
// start, shows a message and keeps the dialog open for another try; Cancel ends a start that
// runs. After OK the started player is the caller's (takePlayer()).
class CEngineDlg : public QDialog {
    Q_OBJECT

public:
    // Makes the player for a command line; its start runs in the background.
    using Starter = std::function<std::unique_ptr<EnginePlayer>(const std::string& command)>;

    CEngineDlg(int side, const QString& command, Starter starter, QWidget* parent = nullptr);
    ~CEngineDlg() override;

    void setMessageDisplay(NumberFieldDialog::MessageDisplay display) {
        m_showMessage = std::move(display);
    }
    QLineEdit* field() const { return m_field; }
    // The started player after OK; null otherwise.
    std::unique_ptr<EnginePlayer> takePlayer();

    void accept() override;
    void reject() override;

private:
    void checkStart();
    void setStarting(bool starting);
    void refuse(const QString& text);

    Starter m_starter;
    QLineEdit* m_field;
    QLabel* m_state;
    QPushButton* m_ok;
    QTimer* m_poll;
    std::unique_ptr<EnginePlayer> m_player;
    NumberFieldDialog::MessageDisplay m_showMessage = &NumberFieldDialog::showMessageBox;
};
