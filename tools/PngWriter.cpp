#include "PngWriter.h"

#include "files/AtomicFile.h"
#include "files/LibraryError.h"

#include <png.h>
#include <sys/stat.h>

#include <cerrno>
#include <csetjmp>
#include <cstring>

namespace mirelo {

namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length)
{
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

void flushNothing(png_structp) {}

// Only plain data lives in this frame: libpng leaves it with longjmp.
bool writeRows(png_structp png, png_infop info, std::string* out, const QImage& image, bool alpha)
{
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, out, appendBytes, flushNothing);
    png_set_IHDR(png, info, png_uint_32(image.width()), png_uint_32(image.height()), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE); // as libvips writes: deflate alone
    png_write_info(png, info);
    for (int y = 0; y < image.height(); ++y) png_write_row(png, image.constScanLine(y));
    png_write_end(png, info);
    return true;
}

} // namespace

std::string writePng(const QImage& image, const std::string& path)
{
    if (image.isNull()) return "there is no picture";
    struct stat attributes {};
    if (::lstat(path.c_str(), &attributes) == 0 && !S_ISREG(attributes.st_mode))
        return "it isn’t a regular file, so it was left as it is";
    const bool alpha = image.hasAlphaChannel();
    const QImage rows = image.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    std::string bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool encoded = info && writeRows(png, info, &bytes, rows, alpha);
    png_destroy_write_struct(&png, &info);
    if (!encoded) return "the picture couldn’t be encoded";
    try {
        AtomicFile::write(path, [&](FileSink& sink) { sink.write(bytes); });
    } catch (const LibraryError& error) {
        return error.what();
    }
    // Readable as a new file of the user's would be.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(path.c_str(), 0666 & ~mask);
    return {};
}

} // namespace mirelo
