#pragma once
// The seam between the timer and its web browser window. The browser is built
// on Qt WebEngine, which costs start-up time and memory, so it lives in a
// plugin ("kesto_browser.so" beside the program) that the timer loads the
// first time "Lapmark Web site..." is chosen; the timer itself never links
// WebEngine.

#include <QString>
#include <QtPlugin>

class QDialog;
class QWidget;

namespace kesto {

class BrowserPlugin {
public:
    virtual ~BrowserPlugin() = default;

    // A new browser window (frmKestoBrowser) that opens `startingAddress`, or
    // opens blank and goes nowhere when it is empty. The caller owns the
    // window and shows it.
    virtual QDialog* CreateBrowserWindow(const QString& startingAddress, QWidget* parent) = 0;
};

} // namespace kesto

#define KestoBrowserPlugin_iid "org.kestotimer.BrowserPlugin/1.0"
Q_DECLARE_INTERFACE(kesto::BrowserPlugin, KestoBrowserPlugin_iid)
