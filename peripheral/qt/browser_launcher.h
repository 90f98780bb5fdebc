#pragma once
// "Lapmark Web site...": finds the browser plugin in the program folder, loads
// it on first use and shows the browser window modally at the program's own
// manual. When the plugin is missing or cannot load, the operator gets a
// message saying so instead.

#include "base/dialogs.h"
#include "peripheral/qt/browser_plugin_interface.h"

#include <QPluginLoader>

#include <filesystem>
#include <memory>

class QWidget;

namespace kesto {

// The plugin's file name in the program folder.
inline constexpr const char* BrowserPluginFileName = "kesto_browser.so";

class BrowserLauncher final {
public:
    BrowserLauncher(std::filesystem::path programFolder, Dialogs& dialogs);

    // The menu command: the browser window, modal, at StartingAddress().
    void ShowModal(QWidget* parent);

    // Loads the plugin the first time; null when it cannot, with the reason
    // in LastError() (no message is shown here).
    BrowserPlugin* Plugin();

    // The manual ("Kestotimer.HLP" in the program folder) as a file:// address;
    // empty when the help file is missing, so the browser opens blank.
    QString StartingAddress() const;

    const QString& LastError() const { return m_lastError; }

private:
    std::filesystem::path m_programFolder;
    Dialogs& m_dialogs;
    std::unique_ptr<QPluginLoader> m_loader;
    BrowserPlugin* m_plugin = nullptr;
    QString m_lastError;
};

} // namespace kesto
