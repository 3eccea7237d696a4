#include "ui/CQuorlenApp.h"

#include "document/CQuorlenDoc.h"
#include "settings/SettingsDefaults.h"
#include "settings/SettingsFile.h"
#include "ui/CMainFrame.h"
#include "ui/TerminationSignals.h"

#include <QFile>
#include <QGuiApplication>

CQuorlenApp::CQuorlenApp(std::filesystem::path startDirectory)
    : m_strAppDir(startDirectory.empty() ? std::string() : startDirectory.string() + "/") {}

CQuorlenApp::~CQuorlenApp() {
    if (m_document) {
        ExitInstance();
    }
}

std::filesystem::path CQuorlenApp::settingsFile() const {
    return std::filesystem::path(m_strAppDir + SettingsFile::fileName);
}

bool CQuorlenApp::InitInstance(const QStringList& arguments, bool show) {
    m_termination = std::make_unique<TerminationSignals>();
    QObject::connect(m_termination.get(), &TerminationSignals::received, m_termination.get(),
                     [this] { requestExit(); });
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        // A logout may still be cancelled, so the data is saved and the program goes on; the
        // session's end quits the event loop.
        QObject::connect(gui, &QGuiApplication::commitDataRequest, m_termination.get(),
                         [this] { commitData(); });
    }

    SettingsDefaults::apply(m_settings);
    m_settings.load(settingsFile()); // a missing or unreadable file leaves the defaults

    m_document = std::make_unique<CQuorlenDoc>(
        CQuorlenDoc::Context{m_settings, m_sink, Clock::steady(), "quorlen.dat", {}, {}});
    m_frame = std::make_unique<CMainFrame>(*m_document, m_settings);
    m_sink.attach(m_frame.get());

    if (arguments.size() > 1) {
        m_document->openRecord(
            std::filesystem::path(QFile::encodeName(arguments.at(1)).toStdString()));
        m_frame->refreshActions();
    }
    if (show) {
        m_frame->show();
    }
    return true;
}

void CQuorlenApp::requestExit() {
    // exit() ends the nested loops too, and every loop started after it returns at once, so
    // no dialog can hold the program open.
    QCoreApplication::exit(0);
}

void CQuorlenApp::commitData() {
    if (m_frame) {
        m_frame->storeOuterSize();
    }
    if (m_document) {
        m_document->onClose();
    }
    m_settings.save(settingsFile());
}

int CQuorlenApp::ExitInstance() {
    if (m_frame && m_frame->isVisible()) {
        m_frame->close(); // stores the window size
    }
    if (m_document) {
        m_document->onClose();
        // Ends a running game and lets the players write their weights while the window
        // still takes their messages.
        m_document.reset();
    }
    m_sink.detach();
    m_frame.reset();
    m_settings.save(settingsFile()); // like every file of the program, silently
    return 0;
}
