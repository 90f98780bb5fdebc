#include "peripheral/qt/desktop_shell.h"

#include <QProcess>

namespace kesto {

QtDesktopShell::QtDesktopShell(QStringList launcher) : m_launcher(std::move(launcher)) {}

void QtDesktopShell::OpenDocument(const std::string& path, std::function<void()> cannotOpen) {
    if (m_launcher.isEmpty()) {
        if (cannotOpen)
            cannotOpen();
        return;
    }
    // The process outlives this call; it deletes itself once it has ended.
    auto* process = new QProcess;
    process->setProgram(m_launcher.first());
    process->setArguments(m_launcher.mid(1) << QString::fromStdString(path));
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    auto report = std::make_shared<std::function<void()>>(std::move(cannotOpen));
    ++*m_running;
    auto ended = [running = m_running, process, report](bool failed) {
        --*running;
        process->deleteLater();
        if (failed && *report)
            (*report)();
    };
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, ended](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart)
                             ended(true);
                     });
    QObject::connect(process, &QProcess::finished, process,
                     [ended](int exitCode, QProcess::ExitStatus status) {
                         ended(status != QProcess::NormalExit || exitCode != 0);
                     });
    process->start();
}

} // namespace kesto
