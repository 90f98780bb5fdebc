#include "peripheral/browser/browser_plugin.h"

#include "peripheral/browser/browser_window.h"

namespace kesto {

QDialog* KestoBrowserPlugin::CreateBrowserWindow(const QString& startingAddress, QWidget* parent) {
    return new FrmKestoBrowser(startingAddress, parent);
}

} // namespace kesto
