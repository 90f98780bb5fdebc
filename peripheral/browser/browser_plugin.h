#pragma once
// The browser plugin's entry point: QPluginLoader finds this object in
// kesto_browser.so and the timer asks it for browser windows.

#include "peripheral/qt/browser_plugin_interface.h"

#include <QObject>

namespace kesto {

class KestoBrowserPlugin final : public QObject, public BrowserPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID KestoBrowserPlugin_iid)
    Q_INTERFACES(kesto::BrowserPlugin)
public:
    QDialog* CreateBrowserWindow(const QString& startingAddress, QWidget* parent) override;
};

} // namespace kesto
