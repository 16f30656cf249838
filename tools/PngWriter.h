#pragma once
// Writes a picture as an 8-bit PNG through libpng: Qt's writer first loads
// every image plugin, and libvips would have to be started for it.

#include <QImage>

#include <string>

namespace mirelo {

// False when the file could not be written; a partial file is removed.
bool writePng(const QImage& image, const std::string& path);

} // namespace mirelo
