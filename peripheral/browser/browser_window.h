#pragma once
// frmKestoBrowser, the web browser window of "Lapmark Web site...": an
// address box with the history of this visit (each address once, most recent
// first), the web view, a tool bar (back, forward, home) and a status bar
// showing the link under the pointer. Built into the browser plugin only.

#include "peripheral/browser_history.h"

#include <QDialog>

class QComboBox;
class QStatusBar;
class QTimer;
class QToolBar;
class QWebEngineView;

namespace kesto {

class FrmKestoBrowser final : public QDialog {
    Q_OBJECT
public:
    // An empty starting address opens the window blank, going nowhere.
    explicit FrmKestoBrowser(const QString& startingAddress, QWidget* parent = nullptr);

    const BrowserHistory& History() const { return m_history; }

private slots:
    void cboAddress_Click();
    void brwWebBrowser_NavigateComplete(bool ok);
    void brwWebBrowser_TitleChange();
    void brwWebBrowser_StatusTextChange(const QString& text);
    void timTimer_Timer();

private:
    void Navigate(const QString& address);
    void ShowHistory();
    QString PageName() const;

    QString m_startingAddress;
    bool m_navigatingFromList = false;
    bool m_busy = false;
    BrowserHistory m_history;
    QToolBar* m_tbToolBar = nullptr;
    QComboBox* m_cboAddress = nullptr;
    QWebEngineView* m_brwWebBrowser = nullptr;
    QStatusBar* m_statusBar1 = nullptr;
    QTimer* m_timTimer = nullptr;
};

} // namespace kesto
