#pragma once
// "Lapmark Web site...": the browser window runs in a helper process of its
// own ("kesto-browser" beside the program, which loads the browser plugin
// "kesto_browser.so"), so Qt WebEngine never loads into the timer. The
// window stands for a modal one: while it is open the timer's windows take no
// input, and the race clock and its ticks go on. When the helper or the
// plugin is missing or cannot start, the operator gets a message saying so.

#include "base/dialogs.h"

#include <QProcess>
#include <QString>

#include <filesystem>
#include <memory>

class QWidget;

namespace kesto {

// The plugin's and the helper's file names in the program folder.
inline constexpr const char* BrowserPluginFileName = "kesto_browser.so";
inline constexpr const char* BrowserHelperFileName = "kesto-browser";

class BrowserLauncher final {
public:
    BrowserLauncher(std::filesystem::path programFolder, Dialogs& dialogs);
    ~BrowserLauncher(); // a browser still open ends with the timer
    BrowserLauncher(const BrowserLauncher&) = delete;
    BrowserLauncher& operator=(const BrowserLauncher&) = delete;

    // The menu command: opens the browser at StartingAddress() and returns
    // when its window has closed, as a modal window would.
    void ShowModal(QWidget* parent);

    // Starts the browser and returns at once; false (the message shown) when
    // it cannot start. The timer's windows take no input until it ends.
    bool Open();
    bool IsOpen() const;
    // Ends the browser (the program leaves, or a test is done).
    void Close();
    // The helper's process while it runs: it reports the pages it shows.
    QProcess& Helper() { return *m_helper; }

    // The manual ("Kestotimer.HLP" in the program folder) as a file:// address;
    // empty when the help file is missing, so the browser opens blank.
    QString StartingAddress() const;

private:
    class InputBlock;

    void Ended(int exitCode, QProcess::ExitStatus status);
    void TellCannotStart(const QString& reason);

    std::filesystem::path m_programFolder;
    Dialogs& m_dialogs;
    std::unique_ptr<QProcess> m_helper;
    std::unique_ptr<InputBlock> m_block;
};

} // namespace kesto
