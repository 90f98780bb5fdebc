#pragma once
// The real desktop shell: QDesktopServices opens a file with the program the
// desktop associates with it (xdg-open on Linux).

#include "base/desktop_shell.h"

namespace kesto {

class QtDesktopShell final : public DesktopShell {
public:
    bool OpenDocument(const std::string& path) override;
};

} // namespace kesto
