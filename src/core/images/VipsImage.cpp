#include "images/VipsImage.h"

#include <cstring>

namespace mirelo {

bool startVips()
{
    static bool started = [] {
        if (VIPS_INIT("mirelo") != 0) return false;
        // Files say odd things about themselves; a picture that decodes is enough.
        g_log_set_handler(
            "VIPS", GLogLevelFlags(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE | G_LOG_LEVEL_INFO),
            [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
        vips_cache_set_max(0); // each picture is decoded once; keep no operations around
        vips_cache_set_max_mem(0);
        return true;
    }();
    return started;
}

QImage toQImage(VipsImage* source)
{
    VipsRef image;
    g_object_ref(source);
    *image.out() = source;

    // Packed RGBE and the like become floats before a colour conversion.
    if (image.get()->Coding != VIPS_CODING_NONE) {
        VipsRef decoded;
        if (vips_image_decode(image.get(), decoded.out()) != 0) return {};
        image = std::move(decoded);
    }
    const VipsInterpretation kind = vips_image_guess_interpretation(image.get());
    const bool grey = kind == VIPS_INTERPRETATION_B_W || kind == VIPS_INTERPRETATION_GREY16;
    const VipsInterpretation target = grey ? VIPS_INTERPRETATION_B_W : VIPS_INTERPRETATION_sRGB;
    if (kind != target || image.get()->BandFmt != VIPS_FORMAT_UCHAR) {
        VipsRef converted;
        if (vips_colourspace(image.get(), converted.out(), target, nullptr) != 0) return {};
        image = std::move(converted);
    }
    const int colourBands = grey ? 1 : 3;
    int bands = image.get()->Bands;
    if (bands > colourBands + 1) { // extra channels beyond alpha
        VipsRef extracted;
        if (vips_extract_band(image.get(), extracted.out(), 0, "n", colourBands + 1, nullptr) != 0) return {};
        image = std::move(extracted);
        bands = colourBands + 1;
    }
    if (image.get()->BandFmt != VIPS_FORMAT_UCHAR) {
        VipsRef cast;
        if (vips_cast(image.get(), cast.out(), VIPS_FORMAT_UCHAR, nullptr) != 0) return {};
        image = std::move(cast);
    }
    if (grey && bands == 2) { // grey with alpha: spread to RGBA
        VipsRef wide;
        if (vips_colourspace(image.get(), wide.out(), VIPS_INTERPRETATION_sRGB, nullptr) != 0) return {};
        image = std::move(wide);
        bands = image.get()->Bands;
    }

    const int width = image.width(), height = image.height();
    QImage::Format format = bands == 1   ? QImage::Format_Grayscale8
                            : bands == 3 ? QImage::Format_RGB888
                                         : QImage::Format_RGBA8888;
    QImage result(width, height, format);
    if (result.isNull()) return {};
    const size_t row = size_t(width) * size_t(bands);
    if (size_t(result.bytesPerLine()) == row) { // packed rows: compute straight into the QImage
        VipsRef target(
            vips_image_new_from_memory(result.bits(), row * size_t(height), width, height, bands, VIPS_FORMAT_UCHAR));
        if (!target || vips_image_write(image.get(), target.get()) != 0) return {};
        return result;
    }
    size_t length = 0;
    void* memory = vips_image_write_to_memory(image.get(), &length);
    if (!memory) return {};
    if (length >= row * size_t(height))
        for (int y = 0; y < height; ++y) std::memcpy(result.scanLine(y), static_cast<char*>(memory) + row * y, row);
    g_free(memory);
    return result;
}

} // namespace mirelo
