#pragma once
// Test pictures made on the spot: a marked picture in any format libvips,
// ImageMagick (through libvips) or Qt can write, vector documents written by
// hand, and a minimal DNG (a TIFF with the DNG tags, 16-bit linear RGB, an
// optional JPEG preview).

#include "images/VipsImage.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QImageWriter>
#include <QPainter>

#include <cstdint>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace mirelo::test {

// The image's pixels as an 8-bit sRGB libvips image (copied).
inline VipsRef fromQImage(const QImage& source)
{
    const QImage image =
        source.convertToFormat(source.hasAlphaChannel() ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    const int bands = image.hasAlphaChannel() ? 4 : 3;
    const size_t row = size_t(image.width()) * size_t(bands);
    VipsRef wrapped;
    if (size_t(image.bytesPerLine()) == row) { // rows are packed: one copy
        *wrapped.out() = vips_image_new_from_memory_copy(image.constBits(), row * size_t(image.height()), image.width(),
                                                         image.height(), bands, VIPS_FORMAT_UCHAR);
    } else {
        std::vector<unsigned char> packed(row * size_t(image.height()));
        for (int y = 0; y < image.height(); ++y) std::memcpy(packed.data() + row * y, image.constScanLine(y), row);
        *wrapped.out() = vips_image_new_from_memory_copy(packed.data(), packed.size(), image.width(), image.height(),
                                                         bands, VIPS_FORMAT_UCHAR);
    }
    if (wrapped) wrapped.get()->Type = VIPS_INTERPRETATION_sRGB;
    return wrapped;
}

// Blue, with a red square in the top-left corner.
inline QImage markedPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(QColor(20, 40, 220));
    const int mark = std::max(2, std::min(width, height) / 4);
    for (int y = 0; y < mark; ++y)
        for (int x = 0; x < mark; ++x) image.setPixelColor(x, y, QColor(230, 20, 20));
    return image;
}

inline bool isRed(const QColor& c) { return c.red() > 150 && c.blue() < 100; }
inline bool isBlue(const QColor& c) { return c.blue() > 150 && c.red() < 100; }
inline bool isGreen(const QColor& c) { return c.green() > 150 && c.red() < 100 && c.blue() < 100; }

// Saves through libvips by extension; `magick` names an ImageMagick format
// for the formats libvips writes only through it (bmp, ico, psd, exr).
inline bool saveWithVips(const QImage& picture, const std::string& path, const char* magick = nullptr,
                         int orientation = 0)
{
    if (!startVips()) return false;
    VipsRef image = fromQImage(picture);
    if (!image) return false;
    if (orientation > 0) vips_image_set_int(image.get(), "orientation", orientation);
    const int result = magick ? vips_magicksave(image.get(), path.c_str(), "format", magick, nullptr)
                              : vips_image_write_to_file(image.get(), path.c_str(), nullptr);
    vips_error_clear();
    return result == 0;
}

// A JPEG with camera details in its EXIF and libvips' sRGB profile.
inline bool saveWithCameraDetails(const QImage& picture, const std::string& path)
{
    if (!startVips()) return false;
    VipsRef image = fromQImage(picture);
    if (!image) return false;
    vips_image_set_string(image.get(), "exif-ifd0-Make", "Tessel");
    vips_image_set_string(image.get(), "exif-ifd0-Model", "Mirelo One");
    vips_image_set_string(image.get(), "exif-ifd2-DateTimeOriginal", "2024:05:01 10:30:00");
    VipsBlob* profile = nullptr;
    if (vips_profile_load("srgb", &profile, nullptr) == 0 && profile) {
        size_t length = 0;
        const void* data = vips_blob_get(profile, &length);
        vips_image_set_blob_copy(image.get(), VIPS_META_ICC_NAME, data, length);
        vips_area_unref(VIPS_AREA(profile));
    }
    const int result = vips_image_write_to_file(image.get(), path.c_str(), nullptr);
    vips_error_clear();
    return result == 0;
}

inline void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string svgDocument(int width, int height)
{
    return "<svg xmlns='http://www.w3.org/2000/svg' width='" + std::to_string(width) + "' height='" +
           std::to_string(height) +
           "'><rect width='100%' height='100%' fill='#1428dc'/>"
           "<rect width='25%' height='25%' fill='#e61414'/></svg>";
}

// One page of `width` × `height` points, blue with a red corner.
inline std::string pdfDocument(int width, int height)
{
    const std::string w = std::to_string(width), h = std::to_string(height);
    const std::string content = "0.08 0.16 0.86 rg 0 0 " + w + " " + h + " re f 0.9 0.08 0.08 rg 0 " +
                                std::to_string(height * 3 / 4) + " " + std::to_string(width / 4) + " " +
                                std::to_string(height / 4) + " re f";
    std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + w + " " + h + "] /Contents 4 0 R >>",
        "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "\nendstream"};
    std::string pdf = "%PDF-1.4\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char line[21];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        pdf += line;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

inline uint32_t crc32Of(const std::string& bytes)
{
    uint32_t crc = 0xffffffffu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// The start of a PNG that declares `width` × `height` and holds no pixels.
inline std::string pngHeader(uint32_t width, uint32_t height)
{
    auto big = [](uint32_t value) {
        return std::string{char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    };
    const std::string chunk = "IHDR" + big(width) + big(height) + std::string{8, 2, 0, 0, 0};
    return std::string("\x89PNG\r\n\x1a\n", 8) + big(13) + chunk + big(crc32Of(chunk));
}

// A little-endian TIFF writer, enough for a DNG.
class TiffWriter {
public:
    struct Entry {
        uint16_t tag, type;
        uint32_t count;
        std::string data; // the value bytes
    };
    static Entry shorts(uint16_t tag, std::vector<uint16_t> values)
    {
        return {tag, 3, uint32_t(values.size()), bytesOf(values)};
    }
    static Entry longs(uint16_t tag, std::vector<uint32_t> values)
    {
        return {tag, 4, uint32_t(values.size()), bytesOf(values)};
    }
    static Entry ascii(uint16_t tag, const std::string& text)
    {
        return {tag, 2, uint32_t(text.size() + 1), text + '\0'};
    }
    static Entry bytes(uint16_t tag, std::vector<uint8_t> values)
    {
        return {tag, 1, uint32_t(values.size()), std::string(values.begin(), values.end())};
    }
    // Rationals as numerator/denominator pairs; `signedValues` for SRATIONAL.
    static Entry rationals(uint16_t tag, std::vector<int32_t> pairs, bool signedValues)
    {
        return {tag, uint16_t(signedValues ? 10 : 5), uint32_t(pairs.size() / 2), bytesOf(pairs)};
    }
    template <class T>
    static std::string bytesOf(const std::vector<T>& values)
    {
        std::string out(values.size() * sizeof(T), '\0');
        std::memcpy(out.data(), values.data(), out.size());
        return out;
    }
};

// Writes IFDs in order, each with its strip of pixel bytes; entries whose
// tag is 273 (StripOffsets) are filled in.
inline std::string tiffFile(std::vector<std::pair<std::vector<TiffWriter::Entry>, std::string>> ifds)
{
    std::string file = std::string("II*\0", 4) + std::string(4, '\0');
    auto put32 = [&](size_t at, uint32_t value) { std::memcpy(file.data() + at, &value, 4); };
    size_t linkAt = 4;
    for (auto& [entries, strip] : ifds) {
        const size_t stripAt = file.size();
        file += strip;
        if (file.size() % 2) file += '\0';
        for (auto& entry : entries)
            if (entry.tag == 273) entry.data = TiffWriter::bytesOf(std::vector<uint32_t>{uint32_t(stripAt)});
        std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.tag < b.tag; });
        // Values longer than four bytes go after the directory.
        const size_t ifdAt = file.size();
        put32(linkAt, uint32_t(ifdAt));
        std::string directory, overflow;
        const size_t overflowAt = ifdAt + 2 + entries.size() * 12 + 4;
        uint16_t count = uint16_t(entries.size());
        directory.append(reinterpret_cast<char*>(&count), 2);
        for (const auto& entry : entries) {
            directory.append(reinterpret_cast<const char*>(&entry.tag), 2);
            directory.append(reinterpret_cast<const char*>(&entry.type), 2);
            directory.append(reinterpret_cast<const char*>(&entry.count), 4);
            if (entry.data.size() <= 4) {
                directory += entry.data + std::string(4 - entry.data.size(), '\0');
            } else {
                uint32_t at = uint32_t(overflowAt + overflow.size());
                directory.append(reinterpret_cast<char*>(&at), 4);
                overflow += entry.data;
                if (overflow.size() % 2) overflow += '\0';
            }
        }
        linkAt = ifdAt + directory.size();
        directory += std::string(4, '\0');
        file += directory + overflow;
    }
    return file;
}

// A linear-RGB DNG of the marked picture, stored with `orientation`, and
// optionally a JPEG preview of `previewWidth` pixels across, green with a
// red corner (so tests can tell which one was shown).
inline std::string dngFile(int width, int height, int orientation = 1, int previewWidth = 0)
{
    using W = TiffWriter;
    const QImage picture = markedPicture(width, height);
    std::string raw;
    raw.reserve(size_t(width) * height * 6);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const QColor c = picture.pixelColor(x, y);
            for (int v : {c.red(), c.green(), c.blue()}) {
                const uint16_t sample = uint16_t(v * 257);
                raw.append(reinterpret_cast<const char*>(&sample), 2);
            }
        }
    std::vector<W::Entry> main = {W::longs(254, {0}),
                                  W::longs(256, {uint32_t(width)}),
                                  W::longs(257, {uint32_t(height)}),
                                  W::shorts(258, {16, 16, 16}),
                                  W::shorts(259, {1}),
                                  W::shorts(262, {34892}),
                                  W::ascii(271, "Mirelo"),
                                  W::ascii(272, "Test Camera"),
                                  W::longs(273, {0}),
                                  W::shorts(274, {uint16_t(orientation)}),
                                  W::shorts(277, {3}),
                                  W::longs(278, {uint32_t(height)}),
                                  W::longs(279, {uint32_t(raw.size())}),
                                  W::shorts(284, {1}),
                                  W::bytes(50706, {1, 4, 0, 0}),
                                  W::ascii(50708, "Mirelo Test Camera"),
                                  W::longs(50717, {65535}),
                                  W::rationals(50721, {1, 1, 0, 1, 0, 1, 0, 1, 1, 1, 0, 1, 0, 1, 0, 1, 1, 1}, true),
                                  W::rationals(50728, {1, 1, 1, 1, 1, 1}, false),
                                  W::shorts(50778, {21})};
    std::vector<std::pair<std::vector<W::Entry>, std::string>> ifds = {{main, raw}};
    if (previewWidth > 0) {
        const int previewHeight = previewWidth * height / width;
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        QImage shown = markedPicture(previewWidth, previewHeight);
        for (int y = 0; y < previewHeight; ++y)
            for (int x = 0; x < previewWidth; ++x)
                if (isBlue(shown.pixelColor(x, y))) shown.setPixelColor(x, y, QColor(20, 200, 40));
        shown.save(&buffer, "JPEG", 90);
        std::vector<W::Entry> preview = {W::longs(254, {1}),
                                         W::longs(256, {uint32_t(previewWidth)}),
                                         W::longs(257, {uint32_t(previewHeight)}),
                                         W::shorts(258, {8, 8, 8}),
                                         W::shorts(259, {7}),
                                         W::shorts(262, {6}),
                                         W::longs(273, {0}),
                                         W::shorts(277, {3}),
                                         W::longs(278, {uint32_t(previewHeight)}),
                                         W::longs(279, {uint32_t(jpeg.size())})};
        ifds.push_back({preview, jpeg.toStdString()});
    }
    return tiffFile(std::move(ifds));
}

} // namespace mirelo::test
