#pragma once

#include "settings/CurrentDirectory.h"
#include "settings/SettingsStore.h"
#include "ui/WindowSink.h"

#include <QStringList>

#include <filesystem>
#include <memory>
#include <string>

class CMainFrame;
class CQuorlenDoc;
class TerminationSignals;

// The program: the settings store for the whole run, filled with the defaults and the
// settings file of the directory that was current at start-up; the document, the window and
// its board view; and the settings file written back at the end.
class CQuorlenApp {
public:
    // The settings file is the one in this directory, whatever the current directory is
    // later. An empty directory stands for one that cannot be read (deleted): the settings
    // file is then looked for by its bare name, which finds nothing and saves nothing.
    explicit CQuorlenApp(std::filesystem::path startDirectory =
                             currentDirectory().value_or(std::filesystem::path()));
    ~CQuorlenApp();
    CQuorlenApp(const CQuorlenApp&) = delete;
    CQuorlenApp& operator=(const CQuorlenApp&) = delete;

    // Start-up: defaults, the settings file over them, document, window; a file argument is
    // opened as a game record (a rejected one leaves the empty board). Shows the window when
    // asked. False when start-up failed.
    bool InitInstance(const QStringList& arguments, bool show = true);
    // Shutdown: the document ends its game and its players write their weights, then the
    // settings file is written. Returns the program's exit code.
    int ExitInstance();

    // Ends the program the normal way from the event loop: every running event loop returns,
    // a modal dialog's included, and the caller of exec() runs ExitInstance(). SIGTERM,
    // SIGINT and SIGHUP ask for it from InitInstance() on; the end of the desktop session
    // ends the event loop itself.
    void requestExit();
    // The desktop session is about to end, unless the user cancels: the settings file is
    // written as at exit, and the program goes on.
    void commitData();

    SettingsStore& settings() { return m_settings; }
    CQuorlenDoc* document() const { return m_document.get(); }
    CMainFrame* mainWindow() const { return m_frame.get(); }
    std::filesystem::path settingsFile() const;

private:
    SettingsStore m_settings;
    std::string m_strAppDir;
    WindowSink m_sink;
    std::unique_ptr<CQuorlenDoc> m_document;
    std::unique_ptr<CMainFrame> m_frame;
    // Lives until the application object goes, after ExitInstance(): a signal during the
    // exit only adds to its pipe.
    std::unique_ptr<TerminationSignals> m_termination;
};
