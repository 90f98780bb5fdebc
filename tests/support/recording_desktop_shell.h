#pragma once
// A desktop shell that records which documents it was asked to open, and
// cannot open them when the test says so.

#include "base/desktop_shell.h"

#include <string>
#include <vector>

namespace kesto::test {

class RecordingDesktopShell final : public DesktopShell {
public:
    void OpenDocument(const std::string& path, std::function<void()> cannotOpen) override {
        opened.push_back(path);
        if (!canOpen && cannotOpen)
            cannotOpen();
    }

    std::vector<std::string> opened;
    bool canOpen = true;
};

} // namespace kesto::test
