#include "ui/CEngineDlg.h"

#include "gtp/EnginePlayer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int fieldCharacters = 60;

} // namespace

CEngineDlg::CEngineDlg(int side, const QString& command, Starter starter, QWidget* parent)
    : QDialog(parent), m_starter(std::move(starter)), m_field(new QLineEdit(command, this)),
      m_state(new QLabel(this)), m_ok(new QPushButton(tr("OK"), this)), m_poll(new QTimer(this)) {
    setWindowTitle(QStringLiteral("GTP Engine for Player %1").arg(side));

    auto* text = new QLabel(
        QStringLiteral("The command line of a program that plays Hex through GTP, such as "
                       "MoHex or Wolve; it is run with /bin/sh -c. For example:\n"
                       "/path/to/wolve --quiet --use-logfile=false --config wolve.cfg"),
        this);
    text->setWordWrap(true);
    m_field->setMinimumWidth(m_field->fontMetrics().averageCharWidth() * fieldCharacters);
    auto* label = new QLabel(QStringLiteral("&Command line:"), this);
    label->setBuddy(m_field);

    auto* left = new QVBoxLayout;
    left->addWidget(text);
    left->addWidget(label);
    left->addWidget(m_field);
    left->addWidget(m_state);
    left->addStretch();

    auto* cancel = new QPushButton(tr("Cancel"), this);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    connect(m_poll, &QTimer::timeout, this, &CEngineDlg::checkStart);
}

CEngineDlg::~CEngineDlg() = default;

std::unique_ptr<EnginePlayer> CEngineDlg::takePlayer() {
    return result() == QDialog::Accepted ? std::move(m_player) : nullptr;
}

void CEngineDlg::accept() {
    if (m_player) {
        return; // the start runs; checkStart() ends the dialog
    }
    const QString command = m_field->text().trimmed();
    if (command.isEmpty()) {
        refuse(QStringLiteral("Please enter the engine's command line."));
        return;
    }
    m_player = m_starter(command.toStdString());
    setStarting(true);
    m_poll->start(50);
    checkStart();
}

void CEngineDlg::reject() {
    m_poll->stop();
    m_player.reset(); // ends a start that runs
    QDialog::reject();
}

void CEngineDlg::checkStart() {
    if (!m_player || m_player->startState() == EnginePlayer::Start::running) {
        return;
    }
    m_poll->stop();
    if (m_player->startState() == EnginePlayer::Start::ready) {
        QDialog::accept();
        return;
    }
    const QString why = QString::fromStdString(m_player->startFailure());
    m_player.reset();
    setStarting(false);
    refuse(QStringLiteral("The engine did not start: it %1.").arg(why));
}

void CEngineDlg::setStarting(bool starting) {
    m_state->setText(starting ? QStringLiteral("Starting the engine...") : QString());
    m_field->setEnabled(!starting);
    m_ok->setEnabled(!starting);
}

void CEngineDlg::refuse(const QString& text) {
    m_showMessage(this, text);
    m_field->setFocus();
    m_field->selectAll();
}
