#pragma once
// Hands a document to the program the desktop associates with it (the saved
// .txt reports open in the user's text viewer). One real implementation
// (peripheral/qt/desktop_shell.h) and a recording double for tests.

#include <functional>
#include <string>

namespace kesto {

class DesktopShell {
public:
    virtual ~DesktopShell() = default;
    // Asks the desktop to open `path`. When the desktop cannot (no program for
    // it, or the program it chose failed), `cannotOpen` runs: at once, or
    // later from the event loop, once the desktop has said so.
    virtual void OpenDocument(const std::string& path, std::function<void()> cannotOpen) = 0;
};

} // namespace kesto
