// kesto-browser: the web browser window of "Lapmark Web site..." in a process
// of its own, so the timer never pays for Qt WebEngine (a shared OpenGL
// context, a GL driver, tens of megabytes) at its own start.
//   kesto-browser PLUGIN [ADDRESS]
// Loads the browser plugin (kesto_browser.so), shows its window at ADDRESS
// (blank without one) and ends when the window closes. Each page shown is
// reported on standard output as "shown ADDRESS<tab>TITLE"; a plugin that
// cannot be loaded is reported on standard error, with exit status 2.
#include "peripheral/qt/browser_plugin_interface.h"

#include <QApplication>
#include <QDialog>
#include <QPluginLoader>
#include <QTextStream>
#include <QUrl>

#include <unistd.h>

#include <memory>

namespace {

constexpr int PluginFailed = 2;

// Chromium refuses to run as root with its sandbox on; a club machine run as
// root (a kiosk set-up) would otherwise get no browser at all.
void AllowWebEngineAsRoot() {
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

// The page the window shows once its title settles ("Working..." while busy).
void ReportPagesShown(QDialog& window) {
    QObject::connect(
        &window, &QWidget::windowTitleChanged, &window, [&window](const QString& title) {
            const QObject* view = window.findChild<QObject*>(QStringLiteral("brwWebBrowser"));
            if (!view || title == QLatin1String("Working..."))
                return;
            QTextStream(stdout) << "shown " << view->property("url").toUrl().toString() << '\t'
                                << title << Qt::endl;
        });
}

} // namespace

int main(int argc, char** argv) {
    AllowWebEngineAsRoot();
    // Qt WebEngine needs this before the application exists.
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 2) {
        QTextStream(stderr) << "usage: kesto-browser PLUGIN [ADDRESS]" << Qt::endl;
        return PluginFailed;
    }
    QPluginLoader loader(arguments.at(1));
    QObject* instance = loader.instance();
    auto* plugin = instance ? qobject_cast<kesto::BrowserPlugin*>(instance) : nullptr;
    if (!plugin) {
        QTextStream(stderr)
            << (instance ? QStringLiteral("%1 is not the Kesto Timer browser.").arg(arguments.at(1))
                         : loader.errorString())
            << Qt::endl;
        return PluginFailed;
    }
    std::unique_ptr<QDialog> window(plugin->CreateBrowserWindow(arguments.value(2), nullptr));
    if (!window)
        return PluginFailed;
    ReportPagesShown(*window);
    window->exec();
    return 0;
}
