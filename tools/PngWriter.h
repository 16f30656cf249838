#pragma once
// Writes a picture as an 8-bit PNG through libpng: Qt's writer first loads
// every image plugin, and libvips would have to be started for it.

#include <QImage>

#include <string>

namespace mirelo {

// Writes the whole file beside `path` and renames it over `path` once it is
// complete, so that a failure leaves what was there untouched; refuses a
// `path` that is something other than a regular file (a device, a pipe, a
// folder). The reason it couldn't, or "" when it was written.
std::string writePng(const QImage& image, const std::string& path);

} // namespace mirelo
