#include "peripheral/browser/browser_window.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace kesto {
namespace {

constexpr int BusyPollMs = 5;

// 1440 twips to the inch, at the screen's logical resolution.
int TwipsToPixels(int twips, const QWidget* widget) {
    return (twips * widget->logicalDpiX() + 720) / 1440;
}

// The program's manual keeps its old name "Kestotimer.HLP", and the desktop's
// type database calls .hlp files Windows help, which the web engine would
// offer to download instead of showing. Such local files are read here and
// handed to the engine as the HTML they are, under their own address, so
// links within the page work as usual.
class ManualAwarePage final : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
        if (!isMainFrame || !IsLocalManual(url) || IsWithinCurrentPage(url))
            return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
        QTimer::singleShot(0, this, [this, url] { ShowLocalManual(url); });
        return false;
    }

private:
    static bool IsLocalManual(const QUrl& url) {
        return url.isLocalFile() &&
               QFileInfo(url.toLocalFile())
                       .suffix()
                       .compare(QLatin1String("hlp"), Qt::CaseInsensitive) == 0;
    }

    bool IsWithinCurrentPage(const QUrl& target) const {
        return target.hasFragment() &&
               target.adjusted(QUrl::RemoveFragment) == url().adjusted(QUrl::RemoveFragment);
    }

    void ShowLocalManual(const QUrl& address) {
        QFile file(address.toLocalFile());
        if (!file.open(QIODevice::ReadOnly)) {
            setHtml(QStringLiteral("<p>Cannot open %1: %2</p>")
                        .arg(address.toLocalFile().toHtmlEscaped(), file.errorString()),
                    address);
            return;
        }
        setContent(file.readAll(), QStringLiteral("text/html;charset=UTF-8"), address);
    }
};

} // namespace

FrmKestoBrowser::FrmKestoBrowser(const QString& startingAddress, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmKestoBrowser"));
    setWindowTitle(QStringLiteral("Lapmark Web site"));
    resize(900, 680);

    m_brwWebBrowser = new QWebEngineView(this);
    m_brwWebBrowser->setObjectName(QStringLiteral("brwWebBrowser"));
    m_brwWebBrowser->setPage(new ManualAwarePage(m_brwWebBrowser));

    m_tbToolBar = new QToolBar(this);
    m_tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    m_tbToolBar->addAction(m_brwWebBrowser->pageAction(QWebEnginePage::Back));
    m_tbToolBar->addAction(m_brwWebBrowser->pageAction(QWebEnginePage::Forward));
    m_tbToolBar->addAction(m_brwWebBrowser->pageAction(QWebEnginePage::Reload));
    m_tbToolBar->addAction(m_brwWebBrowser->pageAction(QWebEnginePage::Stop));
    QAction* home = m_tbToolBar->addAction(QStringLiteral("Home"));
    home->setObjectName(QStringLiteral("actHome"));
    home->setEnabled(!startingAddress.isEmpty());
    connect(home, &QAction::triggered, this, [this] {
        m_timTimer->start();
        Navigate(m_startingAddress);
    });

    m_cboAddress = new QComboBox(this);
    m_cboAddress->setObjectName(QStringLiteral("cboAddress"));
    m_cboAddress->setEditable(true);
    // The list is kept by the history rule alone; Enter must not add entries.
    m_cboAddress->setInsertPolicy(QComboBox::NoInsert);
    m_cboAddress->setMaxVisibleItems(20);

    m_statusBar1 = new QStatusBar(this);
    m_statusBar1->setObjectName(QStringLiteral("StatusBar1"));
    m_statusBar1->setSizeGripEnabled(true);

    // The web view takes the window's inner area less 100 twips each way.
    auto* viewArea = new QVBoxLayout;
    int margin = TwipsToPixels(50, this);
    viewArea->setContentsMargins(margin, margin, margin, margin);
    viewArea->addWidget(m_brwWebBrowser);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_tbToolBar);
    auto* addressRow = new QVBoxLayout;
    addressRow->setContentsMargins(margin, margin, margin, 0);
    addressRow->addWidget(m_cboAddress);
    layout->addLayout(addressRow);
    layout->addLayout(viewArea, 1);
    layout->addWidget(m_statusBar1);

    m_timTimer = new QTimer(this);
    m_timTimer->setObjectName(QStringLiteral("timTimer"));
    m_timTimer->setInterval(BusyPollMs);

    connect(m_cboAddress, &QComboBox::activated, this, &FrmKestoBrowser::cboAddress_Click);
    connect(m_cboAddress->lineEdit(), &QLineEdit::returnPressed, this,
            &FrmKestoBrowser::cboAddress_Click);
    connect(m_brwWebBrowser, &QWebEngineView::loadStarted, this, [this] { m_busy = true; });
    connect(m_brwWebBrowser, &QWebEngineView::loadFinished, this,
            &FrmKestoBrowser::brwWebBrowser_NavigateComplete);
    connect(m_brwWebBrowser, &QWebEngineView::titleChanged, this,
            &FrmKestoBrowser::brwWebBrowser_TitleChange);
    connect(m_brwWebBrowser->page(), &QWebEnginePage::linkHovered, this,
            &FrmKestoBrowser::brwWebBrowser_StatusTextChange);
    connect(m_timTimer, &QTimer::timeout, this, &FrmKestoBrowser::timTimer_Timer);

    m_startingAddress = startingAddress;
    if (!m_startingAddress.isEmpty()) {
        m_history.Visit(m_startingAddress.toStdString());
        ShowHistory();
        m_timTimer->start();
        Navigate(m_startingAddress);
    }
}

void FrmKestoBrowser::Navigate(const QString& address) {
    QUrl url = QUrl::fromUserInput(address.trimmed());
    if (!url.isValid() || url.isEmpty())
        return;
    m_busy = true;
    m_statusBar1->showMessage(QStringLiteral("Opening %1").arg(url.toDisplayString()));
    m_brwWebBrowser->load(url);
}

void FrmKestoBrowser::cboAddress_Click() {
    if (m_navigatingFromList)
        return;
    m_timTimer->start();
    Navigate(m_cboAddress->currentText());
}

void FrmKestoBrowser::brwWebBrowser_NavigateComplete(bool ok) {
    m_busy = false;
    setWindowTitle(PageName());
    if (!ok)
        return; // the web view shows what went wrong
    m_statusBar1->showMessage(QStringLiteral("Done"), 3000);
    m_history.Visit(m_brwWebBrowser->url().toString().toStdString());
    ShowHistory();
}

void FrmKestoBrowser::brwWebBrowser_TitleChange() {
    if (!m_busy)
        setWindowTitle(PageName());
}

void FrmKestoBrowser::brwWebBrowser_StatusTextChange(const QString& text) {
    m_statusBar1->showMessage(text);
}

void FrmKestoBrowser::timTimer_Timer() {
    if (m_busy) {
        setWindowTitle(QStringLiteral("Working..."));
        return;
    }
    m_timTimer->stop();
    setWindowTitle(PageName());
}

void FrmKestoBrowser::ShowHistory() {
    // Rebuilding the list must not count as the operator choosing an entry.
    m_navigatingFromList = true;
    m_cboAddress->clear();
    for (const auto& address : m_history.Entries())
        m_cboAddress->addItem(QString::fromStdString(address));
    m_cboAddress->setCurrentIndex(0);
    m_navigatingFromList = false;
}

QString FrmKestoBrowser::PageName() const {
    QString title = m_brwWebBrowser->title();
    return title.isEmpty() ? m_brwWebBrowser->url().toDisplayString() : title;
}

} // namespace kesto
