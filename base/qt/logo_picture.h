#pragma once
// The product logo shown by the about and sensor-check windows: the picture
// "KestoLogo.png" beside the program. A missing picture leaves the place empty.

#include <QPixmap>

#include <filesystem>

class QLabel;

namespace kesto {

inline constexpr const char* LogoFileName = "KestoLogo.png";

// The logo of `programFolder` (any letter case), or a null pixmap.
QPixmap LoadLogo(const std::filesystem::path& programFolder);

// A label named `objectName` showing the logo scaled into width x height
// pixels (aspect kept); empty when the picture is missing.
QLabel* MakeLogoLabel(const std::filesystem::path& programFolder, const char* objectName, int width,
                      int height, QWidget* parent);

} // namespace kesto
