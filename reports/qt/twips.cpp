#include "reports/qt/twips.h"

#include <QWidget>

#include <cmath>

namespace kesto {

int TwipsToPixels(const QWidget* widget, double twips) {
    return static_cast<int>(std::lround(twips * widget->logicalDpiX() / 1440.0));
}

double PixelsToTwips(const QWidget* widget, int pixels) {
    return pixels * 1440.0 / widget->logicalDpiX();
}

} // namespace kesto
