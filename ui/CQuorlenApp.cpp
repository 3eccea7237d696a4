#include "ui/CQuorlenApp.h"

#include "document/CQuorlenDoc.h"
#include "settings/SettingsDefaults.h"
#include "settings/SettingsFile.h"
#include "ui/CMainFrame.h"

#include <QFile>

CQuorlenApp::CQuorlenApp(std::filesystem::path startDirectory)
    : m_strAppDir(startDirectory.string() + "/") {}

CQuorlenApp::~CQuorlenApp() {
    if (m_document) {
        ExitInstance();
    }
}

std::filesystem::path CQuorlenApp::settingsFile() const {
    return std::filesystem::path(m_strAppDir + SettingsFile::fileName);
}

bool CQuorlenApp::InitInstance(const QStringList& arguments, bool show) {
    SettingsDefaults::apply(m_settings);
    m_settings.load(settingsFile()); // a missing or unreadable file leaves the defaults

    m_document = std::make_unique<CQuorlenDoc>(
        CQuorlenDoc::Context{m_settings, m_sink, Clock::steady(), "quorlen.dat", {}, {}});
    m_frame = std::make_unique<CMainFrame>(*m_document, m_settings);
    m_sink.attach(m_frame.get());
    m_frame->resize(m_frame->initialSize());

    if (arguments.size() > 1) {
        m_document->openRecord(
            std::filesystem::path(QFile::encodeName(arguments.at(1)).toStdString()));
        m_frame->refreshActions();
    }
    if (show) {
        m_frame->show();
        // The stored size is the outer size, frame included.
        const QSize frame = m_frame->frameGeometry().size() - m_frame->geometry().size();
        m_frame->resize(m_frame->initialSize() - frame);
    }
    return true;
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
