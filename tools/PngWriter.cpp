#include "PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>

namespace mirelo {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Only plain data lives in this frame: libpng leaves it with longjmp.
bool writeRows(png_structp png, png_infop info, std::FILE* file, const QImage& image, bool alpha)
{
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
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

bool writePng(const QImage& image, const std::string& path)
{
    if (image.isNull()) return false;
    const bool alpha = image.hasAlphaChannel();
    const QImage rows = image.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool written = info && writeRows(png, info, file.get(), rows, alpha);
    png_destroy_write_struct(&png, &info);
    written = std::fflush(file.get()) == 0 && !std::ferror(file.get()) && written;
    file.reset();
    if (!written) std::remove(path.c_str());
    return written;
}

} // namespace mirelo
