#pragma once
// A desktop shell that only records which documents it was asked to open.

#include "base/desktop_shell.h"

#include <string>
#include <vector>

namespace kesto::test {

class RecordingDesktopShell final : public DesktopShell {
public:
    bool OpenDocument(const std::string& path) override {
        opened.push_back(path);
        return answer;
    }

    std::vector<std::string> opened;
    bool answer = true;
};

} // namespace kesto::test
