#pragma once
// Hands a document to the program the desktop associates with it (the saved
// .txt reports open in the user's text viewer). One real implementation
// (peripheral/qt/desktop_shell.h) and a recording double for tests.

#include <string>

namespace kesto {

class DesktopShell {
public:
    virtual ~DesktopShell() = default;
    // Asks the desktop to open `path`. False when the desktop refused; the
    // timer does not depend on the answer.
    virtual bool OpenDocument(const std::string& path) = 0;
};

} // namespace kesto
