#include "images/ImageEngine.h"

#include "images/ImageMetadata.h"

#include "images/ImageDecoder.h"

#include "files/FileUrl.h"
#include "images/JpegReader.h"
#include "files/RegularFile.h"
#include "images/RawDecoder.h"
#include "images/VipsImage.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <libraw/libraw.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <ctime>
#include <memory>

namespace mirelo {

namespace {

std::string lowercaseExtension(const std::string& path)
{
    std::string extension(pathExtension(lastPathComponent(path)));
    for (char& c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

// The rest of the decode from an opened picture whose header says `width`
// × `height` before its orientation.
std::optional<DecodedImage> finish(QImage image, double width, double height, int orientation, int maxDimension)
{
    if (image.isNull()) return std::nullopt;
    if (orientation >= 5) std::swap(width, height);
    DecodedImage decoded;
    decoded.pixels =
        width > 0 && height > 0 ? PixelSize{width, height} : PixelSize{double(image.width()), double(image.height())};
    decoded.downsampled = std::max(width, height) > maxDimension;
    decoded.image = std::move(image);
    return decoded;
}

// What libvips made of a file: a picture, a damaged file of a format it
// reads, or a file it has no working reader for (the ImageMagick loader
// also claims formats it cannot decode).
struct VipsOutcome {
    std::optional<DecodedImage> decoded;
    bool readable = true;
};

bool isMagick(std::string_view loader) { return loader.find("agick") != std::string_view::npos; }

constexpr double kSmallestVectorScale = 0.001;

// The regular file at `path` opened into `file` by its own bytes: a name
// that is not UTF-8 would not survive the trip through a QString.
bool openRegular(const std::string& path, QFile& file)
{
    const int fd = RegularFile::open(path);
    if (fd < 0) return false;
    if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) return true;
    ::close(fd);
    return false;
}

// The drawing without the pictures it would fetch from elsewhere: an
// <image> whose reference is not the document's own data (a path, a file
// or any other URL) is left out, so that a preview never reads another file.
QByteArray withoutOutsidePictures(const QByteArray& document)
{
    QXmlStreamReader reader(document);
    QByteArray kept;
    QXmlStreamWriter writer(&kept);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.hasError()) return {};
        if (reader.isStartElement() && reader.name() == u"image") {
            const QXmlStreamAttributes attributes = reader.attributes();
            bool outside = false;
            for (const QXmlStreamAttribute& attribute : attributes)
                if (attribute.name() == u"href" &&
                    !attribute.value().trimmed().startsWith(u"data:", Qt::CaseInsensitive))
                    outside = true;
            if (outside) {
                reader.skipCurrentElement();
                continue;
            }
        }
        writer.writeCurrentToken(reader);
    }
    return kept;
}

// An SVG drawn straight at the size asked, however large the size it
// declares: the memory used follows the picture made, never the document.
std::optional<DecodedImage> decodeHugeDrawing(const QByteArray& document, int maxDimension)
{
    QSvgRenderer renderer(withoutOutsidePictures(document));
    if (!renderer.isValid()) return std::nullopt;
    QSizeF declared = renderer.defaultSize();
    if (declared.isEmpty()) declared = renderer.viewBoxF().size();
    if (declared.isEmpty()) return std::nullopt;
    const QSize size = declared.scaled(maxDimension, maxDimension, Qt::KeepAspectRatio).toSize().expandedTo({1, 1});
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    DecodedImage decoded;
    decoded.pixels = {declared.width(), declared.height()};
    decoded.downsampled = std::max(declared.width(), declared.height()) > maxDimension;
    decoded.image = std::move(image);
    return decoded;
}

// The name this process has for an open file: libvips reads the very file
// that was opened (only a regular file), and never finds "[…]" options in a
// user's file name. A drawing is handed over as bytes instead, with no
// place to resolve its references in, so that it draws no other file.
std::string descriptorName(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

// By the loader's type name ("VipsForeignLoadSvgFile") or nickname ("svgload").
bool isDrawing(std::string_view loader)
{
    return loader.starts_with("svgload") || loader.find("LoadSvg") != std::string_view::npos;
}

// The bytes of an open drawing, at most 64 MiB.
std::optional<QByteArray> drawingBytes(int fd)
{
    constexpr qint64 kMostDocumentBytes = 64 << 20;
    QFile file;
    const int own = ::dup(fd);
    if (own < 0 || ::lseek(own, 0, SEEK_SET) != 0 ||
        !file.open(own, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (own >= 0) ::close(own);
        return std::nullopt;
    }
    if (file.size() > kMostDocumentBytes) return std::nullopt;
    return file.readAll();
}

// vips_thumbnail with shrink-on-load, upright, never enlarging; stops at a
// truncated file. HEIF and JPEG 2000 go through a full decode: for HEIF
// vips_thumbnail would use the small picture embedded in the file, and its
// JPEG 2000 shrink-on-load picks too small a level.
VipsOutcome decodeWithVips(const std::string& path, int maxDimension)
{
    const FileDescriptor fd(RegularFile::open(path));
    if (!fd) return {std::nullopt, true}; // nothing else could read it either
    const std::string file = descriptorName(fd.get());
    const char* found = vips_foreign_find_load(file.c_str());
    if (!found) return {std::nullopt, false};
    std::string loader = found;
    std::optional<QByteArray> drawing;
    if (isDrawing(loader) && !(drawing = drawingBytes(fd.get()))) return {std::nullopt, true};
    VipsRef header(drawing ? vips_image_new_from_buffer(drawing->constData(), size_t(drawing->size()), "", "access",
                                                        VIPS_ACCESS_SEQUENTIAL, nullptr)
                           : vips_image_new_from_file(file.c_str(), "access", VIPS_ACCESS_SEQUENTIAL, "fail_on",
                                                      VIPS_FAIL_ON_TRUNCATED, nullptr));
    if (!header) return {std::nullopt, !isMagick(loader)};
    if (const char* nickname = nullptr; vips_image_get_typeof(header.get(), VIPS_META_LOADER) != 0 &&
                                        vips_image_get_string(header.get(), VIPS_META_LOADER, &nickname) == 0 &&
                                        nickname)
        loader = nickname;
    const double width = header.width(), height = header.height();
    // Vector documents render straight at the size asked, whatever size they
    // declare; only rasters that cannot shrink while loading are capped.
    const bool vector = isDrawing(loader) || loader.starts_with("pdfload");
    if (!vector && width * height > ImageDecoder::kMaximumPixels) return {std::nullopt, true};
    // libvips renders a drawing no smaller than a thousandth of its declared
    // size, whatever it is asked: one that declares a huge size is rendered
    // by our own bounded path instead.
    if (drawing && std::max(width, height) * kSmallestVectorScale > maxDimension)
        return {decodeHugeDrawing(*drawing, maxDimension), true};
    const int orientation = vips_image_get_orientation(header.get());

    VipsRef thumbnail;
    const bool fullDecode = loader.starts_with("heif") || loader.starts_with("jp2k");
    const int result = fullDecode ? vips_thumbnail_image(header.get(), thumbnail.out(), maxDimension, "height",
                                                         maxDimension, "size", VIPS_SIZE_DOWN, nullptr)
                       : drawing  ? vips_thumbnail_buffer(const_cast<char*>(drawing->constData()),
                                                          size_t(drawing->size()), thumbnail.out(), maxDimension,
                                                          "height", maxDimension, "size", VIPS_SIZE_DOWN, nullptr)
                                  : vips_thumbnail(file.c_str(), thumbnail.out(), maxDimension, "height", maxDimension,
                                                   "size", VIPS_SIZE_DOWN, "fail_on", VIPS_FAIL_ON_TRUNCATED, nullptr);
    if (result != 0) return {std::nullopt, !isMagick(loader)};
    VipsOutcome outcome{finish(toQImage(thumbnail.get()), width, height, orientation, maxDimension), true};
    if (!outcome.decoded) outcome.readable = !isMagick(loader);
    return outcome;
}

// Qt's readers, scaled while reading where the format allows.
std::optional<DecodedImage> decodeWithQt(const std::string& path, int maxDimension)
{
    QFile file;
    if (!openRegular(path, file)) return std::nullopt;
    QImageReader reader(&file);
    if (const QByteArray format = QByteArray::fromStdString(lowercaseExtension(path));
        QImageReader::supportedImageFormats().contains(format))
        reader.setFormat(format);
    reader.setAutoTransform(true);
    QSize size = reader.size();
    if (size.isValid() && double(size.width()) * size.height() > ImageDecoder::kMaximumPixels) return std::nullopt;
    const bool large = size.isValid() && std::max(size.width(), size.height()) > maxDimension;
    if (large) reader.setScaledSize(size.scaled(maxDimension, maxDimension, Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (image.isNull() || image.width() <= 0 || image.height() <= 0) return std::nullopt;
    if (std::max(image.width(), image.height()) > maxDimension)
        image = image.scaled(maxDimension, maxDimension, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    DecodedImage decoded;
    const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    if (size.isValid() && size.width() > 0 && size.height() > 0)
        decoded.pixels = turned ? PixelSize{double(size.height()), double(size.width())}
                                : PixelSize{double(size.width()), double(size.height())};
    else
        decoded.pixels = {double(image.width()), double(image.height())};
    decoded.downsampled = large;
    decoded.image = std::move(image);
    return decoded;
}

// libvips writes EXIF strings as "value (value, ASCII, 14 components, 14 bytes)".
std::string exifValue(VipsImage* image, const char* field)
{
    if (vips_image_get_typeof(image, field) == 0) return {};
    const char* text = nullptr;
    if (vips_image_get_string(image, field, &text) != 0 || !text) return {};
    std::string value = text;
    if (size_t open = value.rfind(" ("); open != std::string::npos && value.ends_with("bytes)")) value.resize(open);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\0')) value.pop_back();
    return value;
}

void add(MetadataList& list, const char* label, const std::string& value)
{
    if (!value.empty()) list.emplace_back(label, value);
}

// "Canon" and "Canon EOS R5" make "Canon EOS R5"; "NIKON CORPORATION" and
// "NIKON D750" make "NIKON CORPORATION NIKON D750" rather than lose the make.
std::string makeAndModel(std::string make, const std::string& model)
{
    while (!make.empty() && (make.back() == ' ' || make.back() == '\0')) make.pop_back();
    if (make.empty()) return model;
    if (model.empty()) return make;
    if (model.size() >= make.size() && std::equal(make.begin(), make.end(), model.begin(), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        }))
        return model;
    return make + " " + model;
}

MetadataList fromVips(const std::string& path)
{
    MetadataList list;
    const FileDescriptor fd(RegularFile::open(path));
    if (!fd) return list;
    const std::string file = descriptorName(fd.get());
    const char* loader = vips_foreign_find_load(file.c_str());
    if (!loader || isDrawing(loader)) return list; // a drawing has no camera
    VipsRef image(vips_image_new_from_file(file.c_str(), "access", VIPS_ACCESS_SEQUENTIAL, nullptr));
    if (!image) return list;
    add(list, "Camera",
        makeAndModel(exifValue(image.get(), "exif-ifd0-Make"), exifValue(image.get(), "exif-ifd0-Model")));
    add(list, "Lens", exifValue(image.get(), "exif-ifd2-LensModel"));
    add(list, "Captured", exifValue(image.get(), "exif-ifd2-DateTimeOriginal"));
    const void* profile = nullptr;
    size_t length = 0;
    if (vips_image_get_typeof(image.get(), VIPS_META_ICC_NAME) != 0 &&
        vips_image_get_blob(image.get(), VIPS_META_ICC_NAME, &profile, &length) == 0)
        add(list, "Color profile", ImageMetadata::profileName(static_cast<const unsigned char*>(profile), length));
    return list;
}

MetadataList fromLibRaw(const std::string& path)
{
    MetadataList list;
    auto raw = std::make_unique<LibRaw>();
    if (raw->open_file(path.c_str()) != LIBRAW_SUCCESS) return list;
    add(list, "Camera", makeAndModel(raw->imgdata.idata.make, raw->imgdata.idata.model));
    add(list, "Lens", raw->imgdata.lens.Lens);
    if (const time_t stamp = raw->imgdata.other.timestamp; stamp > 0) {
        std::tm parts{};
        localtime_r(&stamp, &parts);
        char text[32];
        std::strftime(text, sizeof text, "%Y:%m:%d %H:%M:%S", &parts);
        add(list, "Captured", text);
    }
    return list;
}

} // namespace

std::optional<DecodedImage> ImageEngine::decode(const std::string& path, int maxDimension)
{
    if (maxDimension < 1) return std::nullopt;
    if (ImageDecoder::isCameraRaw(path)) {
        if (auto decoded = RawDecoder::decode(path, maxDimension)) return decoded;
    } else if (JpegReader::Result read = JpegReader::read(path, maxDimension); read.handled) {
        // JPEG in RGB or grey, without starting libvips.
        return finish(JpegReader::upright(read.image, read.orientation), read.width, read.height, read.orientation,
                      maxDimension);
    } else if (startVips()) {
        // A file one of libvips' own readers takes but cannot decode is
        // damaged: no fall-back would show more than a part of it.
        VipsOutcome outcome = decodeWithVips(path, maxDimension);
        vips_error_clear();
        if (outcome.decoded || outcome.readable) return std::move(outcome.decoded);
    }
    return decodeWithQt(path, maxDimension);
}

MetadataList ImageEngine::metadata(const std::string& path)
{
    if (!startVips()) return {};
    MetadataList list = ImageDecoder::isCameraRaw(path) ? fromLibRaw(path) : fromVips(path);
    vips_error_clear();
    return list;
}

} // namespace mirelo
