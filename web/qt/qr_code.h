#pragma once
// A QR code of a web address (libqrencode), as a picture to show on screen.

#include <QImage>
#include <QString>

namespace kesto {

// Black modules on white with a quiet zone of four modules, `moduleSize`
// pixels each; a null image when the text cannot be encoded.
QImage QrCodeImage(const QString& text, int moduleSize = 6);

} // namespace kesto
