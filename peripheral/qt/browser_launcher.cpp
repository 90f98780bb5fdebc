#include "peripheral/qt/browser_launcher.h"

#include "base/file_names.h"
#include "peripheral/help_manual.h"

#include <QDialog>
#include <QUrl>

#include <unistd.h>

#include <system_error>
#include <utility>

namespace kesto {
namespace {

// Chromium refuses to run as root with its sandbox on; a club machine run as
// root (a kiosk set-up) would otherwise get no browser at all.
void AllowWebEngineAsRoot() {
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

} // namespace

BrowserLauncher::BrowserLauncher(std::filesystem::path programFolder, Dialogs& dialogs)
    : m_programFolder(std::move(programFolder)), m_dialogs(dialogs) {}

BrowserPlugin* BrowserLauncher::Plugin() {
    if (m_plugin)
        return m_plugin;
    std::filesystem::path file = m_programFolder / BrowserPluginFileName;
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        m_lastError = QStringLiteral("%1 is missing.").arg(QString::fromStdString(file.string()));
        return nullptr;
    }
    AllowWebEngineAsRoot();
    m_loader = std::make_unique<QPluginLoader>(QString::fromStdString(file.string()));
    QObject* instance = m_loader->instance();
    m_plugin = instance ? qobject_cast<BrowserPlugin*>(instance) : nullptr;
    if (!m_plugin) {
        m_lastError = instance ? QStringLiteral("%1 is not the Kesto Timer browser.")
                                     .arg(QString::fromStdString(file.string()))
                               : m_loader->errorString();
        m_loader.reset();
    }
    return m_plugin;
}

QString BrowserLauncher::StartingAddress() const {
    std::filesystem::path manual = ResolveInFolder(m_programFolder, HelpFileName);
    std::error_code error;
    if (!std::filesystem::is_regular_file(manual, error))
        return {};
    return QUrl::fromLocalFile(QString::fromStdString(manual.string())).toString();
}

void BrowserLauncher::ShowModal(QWidget* parent) {
    BrowserPlugin* plugin = Plugin();
    if (!plugin) {
        Message message;
        message.title = "Lapmark Web site";
        message.text = "The web browser of Kesto Timer could not be started.\n" +
                       m_lastError.toStdString() +
                       "\nThe race timer works without it; reinstall Kesto Timer to get it back.";
        message.icon = MessageIcon::Error;
        m_dialogs.Show(message);
        return;
    }
    std::unique_ptr<QDialog> window(plugin->CreateBrowserWindow(StartingAddress(), parent));
    if (window)
        window->exec();
}

} // namespace kesto
