#include "base/qt/logo_picture.h"

#include "base/file_names.h"

#include <QLabel>
#include <QString>

namespace kesto {

QPixmap LoadLogo(const std::filesystem::path& programFolder) {
    QPixmap logo;
    std::filesystem::path file = ResolveInFolder(programFolder, LogoFileName);
    logo.load(QString::fromStdString(file.string()));
    return logo;
}

QLabel* MakeLogoLabel(const std::filesystem::path& programFolder, const char* objectName, int width,
                      int height, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setAlignment(Qt::AlignCenter);
    label->setFixedSize(width, height);
    QPixmap logo = LoadLogo(programFolder);
    if (!logo.isNull())
        label->setPixmap(logo.scaled(width, height, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    return label;
}

} // namespace kesto
