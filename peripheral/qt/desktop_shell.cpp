#include "peripheral/qt/desktop_shell.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace kesto {

bool QtDesktopShell::OpenDocument(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

} // namespace kesto
