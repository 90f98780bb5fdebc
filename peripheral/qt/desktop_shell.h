#pragma once
// The real desktop shell: xdg-open opens a file with the program the desktop
// associates with it. The launcher runs as a child process, so its failure
// (it is missing, or it ends with an error such as "x-terminal-emulator: not
// found") is seen and reported instead of being lost on the terminal.

#include "base/desktop_shell.h"

#include <QStringList>

#include <memory>

namespace kesto {

class QtDesktopShell final : public DesktopShell {
public:
    // `launcher`: the program and any arguments before the document's path.
    explicit QtDesktopShell(QStringList launcher = {QStringLiteral("xdg-open")});
    void OpenDocument(const std::string& path, std::function<void()> cannotOpen) override;

    // Launchers still running (a viewer xdg-open waits for keeps it running).
    int Running() const { return *m_running; }

private:
    QStringList m_launcher;
    // Shared with the launchers' handlers, which may outlive the shell.
    std::shared_ptr<int> m_running = std::make_shared<int>(0);
};

} // namespace kesto
