#include "peripheral/qt/browser_launcher.h"

#include "base/file_names.h"
#include "peripheral/help_manual.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QUrl>
#include <QWidget>

#include <system_error>
#include <utility>

namespace kesto {
namespace {

constexpr int HelperEndMs = 3000;

bool IsInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

QString FileText(const std::filesystem::path& file) {
    return QString::fromStdString(file.string());
}

} // namespace

// While the browser is open the timer's windows ignore the operator, as they
// did behind a modal window; timers and repaints go on.
class BrowserLauncher::InputBlock final : public QObject {
public:
    InputBlock() { qApp->installEventFilter(this); }
    ~InputBlock() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        return watched->isWidgetType() && IsInput(event->type());
    }
};

BrowserLauncher::BrowserLauncher(std::filesystem::path programFolder, Dialogs& dialogs)
    : m_programFolder(std::move(programFolder)), m_dialogs(dialogs),
      m_helper(std::make_unique<QProcess>()) {
    QObject::connect(
        m_helper.get(), &QProcess::finished, m_helper.get(),
        [this](int exitCode, QProcess::ExitStatus status) { Ended(exitCode, status); });
    QObject::connect(m_helper.get(), &QProcess::errorOccurred, m_helper.get(),
                     [this](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) {
                             m_block.reset();
                             TellCannotStart(m_helper->errorString());
                         }
                     });
}

BrowserLauncher::~BrowserLauncher() {
    m_helper->disconnect();
    Close();
}

QString BrowserLauncher::StartingAddress() const {
    std::filesystem::path manual = ResolveInFolder(m_programFolder, HelpFileName);
    std::error_code error;
    if (!std::filesystem::is_regular_file(manual, error))
        return {};
    return QUrl::fromLocalFile(QString::fromStdString(manual.string())).toString();
}

bool BrowserLauncher::Open() {
    if (IsOpen())
        return true;
    for (const char* name : {BrowserPluginFileName, BrowserHelperFileName}) {
        const std::filesystem::path file = m_programFolder / name;
        std::error_code error;
        if (!std::filesystem::exists(file, error)) {
            TellCannotStart(QStringLiteral("%1 is missing.").arg(FileText(file)));
            return false;
        }
    }
    m_block = std::make_unique<InputBlock>();
    m_helper->start(FileText(m_programFolder / BrowserHelperFileName),
                    {FileText(m_programFolder / BrowserPluginFileName), StartingAddress()});
    return IsOpen();
}

bool BrowserLauncher::IsOpen() const {
    return m_helper->state() != QProcess::NotRunning;
}

void BrowserLauncher::ShowModal(QWidget* parent) {
    if (!Open())
        return;
    QEventLoop loop;
    QObject::connect(m_helper.get(), &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(m_helper.get(), &QProcess::errorOccurred, &loop,
                     [&loop](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart)
                             loop.quit();
                     });
    if (IsOpen())
        loop.exec();
    if (parent)
        parent->activateWindow();
}

void BrowserLauncher::Close() {
    if (!IsOpen())
        return;
    m_helper->terminate();
    if (!m_helper->waitForFinished(HelperEndMs)) {
        m_helper->kill();
        m_helper->waitForFinished(HelperEndMs);
    }
}

void BrowserLauncher::Ended(int exitCode, QProcess::ExitStatus status) {
    m_block.reset();
    if (status == QProcess::NormalExit && exitCode != 0)
        TellCannotStart(QString::fromLocal8Bit(m_helper->readAllStandardError()).trimmed());
}

void BrowserLauncher::TellCannotStart(const QString& reason) {
    Message message;
    message.title = "Lapmark Web site";
    message.text = "The web browser of Kesto Timer could not be started.\n" + reason.toStdString() +
                   "\nThe race timer works without it; reinstall Kesto Timer to get it back.";
    message.icon = MessageIcon::Error;
    m_dialogs.Show(message);
}

} // namespace kesto
