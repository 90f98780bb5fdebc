#include "base/qt/logo_picture.h"

#include "base/file_names.h"
#include "base/safe_write.h"

#include <QLabel>
#include <QString>

namespace kesto {

QPixmap LoadLogo(const std::filesystem::path& programFolder) {
    // Read only from a regular file of a picture's size: a FIFO or a huge
    // file in its place is no logo, never a wait.
    constexpr size_t MaxLogoBytes = size_t{8} << 20;
    QPixmap logo;
    std::string bytes;
    if (ReadFilePrefix(ResolveInFolder(programFolder, LogoFileName), MaxLogoBytes + 1, bytes,
                       nullptr) &&
        bytes.size() <= MaxLogoBytes)
        logo.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                          static_cast<uint>(bytes.size()), "PNG");
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
