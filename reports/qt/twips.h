#pragma once
// Twips (1440 to the inch) to pixels and back at a widget's logical DPI: the
// viewer windows keep their sizes in twips, as they were designed.

class QWidget;

namespace kesto {

int TwipsToPixels(const QWidget* widget, double twips);
double PixelsToTwips(const QWidget* widget, int pixels);

} // namespace kesto
