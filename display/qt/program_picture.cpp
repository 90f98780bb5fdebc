#include "display/qt/program_picture.h"

#include "base/safe_write.h"

#include <string>

namespace kesto {

namespace {

constexpr size_t MaxPictureBytes = size_t{8} << 20;

} // namespace

bool LoadProgramPicture(QPixmap& picture, const std::filesystem::path& file) {
    std::string bytes;
    if (!ReadFilePrefix(file, MaxPictureBytes + 1, bytes, nullptr) ||
        bytes.size() > MaxPictureBytes)
        return false;
    // The suffix names the format, as when Qt reads the file itself.
    const std::string suffix = file.extension().string();
    const QByteArray format =
        QByteArray::fromStdString(suffix.empty() ? "" : suffix.substr(1)).toUpper();
    QPixmap loaded;
    if (!loaded.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                             static_cast<uint>(bytes.size()),
                             format.isEmpty() ? nullptr : format.constData()) &&
        !loaded.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                             static_cast<uint>(bytes.size())))
        return false;
    picture = loaded;
    return true;
}

} // namespace kesto
