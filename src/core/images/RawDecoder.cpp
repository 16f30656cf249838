#include "images/RawDecoder.h"

#include "images/ImageDecoder.h"
#include "images/VipsImage.h"

#include <libraw/libraw.h>

#include <algorithm>
#include <memory>

namespace mirelo {

namespace {

// LibRaw's flip: 3 turns half round, 5 a quarter anticlockwise, 6 a quarter clockwise.
VipsRef upright(VipsRef image, int flip)
{
    const VipsAngle angle = flip == 3   ? VIPS_ANGLE_D180
                            : flip == 5 ? VIPS_ANGLE_D270
                            : flip == 6 ? VIPS_ANGLE_D90
                                        : VIPS_ANGLE_D0;
    if (!image || angle == VIPS_ANGLE_D0) return image;
    VipsRef turned;
    if (vips_rot(image.get(), turned.out(), angle, nullptr) != 0) return {};
    return turned;
}

VipsRef fitted(VipsImage* image, int maxDimension)
{
    VipsRef result;
    if (vips_thumbnail_image(image, result.out(), maxDimension, "height", maxDimension, "size", VIPS_SIZE_DOWN,
                             "no_rotate", TRUE, nullptr) != 0)
        return {};
    return result;
}

// The camera's embedded preview, when its longer side reaches `needed`.
VipsRef preview(LibRaw& raw, int maxDimension, double needed)
{
    if (raw.unpack_thumb() != LIBRAW_SUCCESS) return {};
    const libraw_thumbnail_t& thumbnail = raw.imgdata.thumbnail;
    VipsRef decoded;
    if (thumbnail.tformat == LIBRAW_THUMBNAIL_JPEG && thumbnail.thumb && thumbnail.tlength > 0) {
        VipsRef header(vips_image_new_from_buffer(thumbnail.thumb, size_t(thumbnail.tlength), "", "fail_on",
                                                  VIPS_FAIL_ON_TRUNCATED, nullptr));
        if (!header || std::max(header.width(), header.height()) < needed) return {};
        if (vips_thumbnail_buffer(thumbnail.thumb, size_t(thumbnail.tlength), decoded.out(), maxDimension, "height",
                                  maxDimension, "size", VIPS_SIZE_DOWN, "no_rotate", TRUE, nullptr) != 0)
            return {};
        return decoded;
    }
    if (thumbnail.tformat == LIBRAW_THUMBNAIL_BITMAP && thumbnail.thumb &&
        std::max(thumbnail.twidth, thumbnail.theight) >= needed &&
        size_t(thumbnail.tlength) >= size_t(thumbnail.twidth) * thumbnail.theight * 3) {
        VipsRef wrapped(vips_image_new_from_memory_copy(thumbnail.thumb,
                                                        size_t(thumbnail.twidth) * thumbnail.theight * 3,
                                                        thumbnail.twidth, thumbnail.theight, 3, VIPS_FORMAT_UCHAR));
        if (!wrapped) return {};
        wrapped.get()->Type = VIPS_INTERPRETATION_sRGB;
        return fitted(wrapped.get(), maxDimension);
    }
    return {};
}

// Half the sensor's resolution, demosaiced with the camera's white balance;
// LibRaw turns it upright itself.
VipsRef halfSize(LibRaw& raw, int maxDimension)
{
    raw.imgdata.params.half_size = 1;
    raw.imgdata.params.use_camera_wb = 1;
    raw.imgdata.params.output_bps = 8;
    if (raw.unpack() != LIBRAW_SUCCESS || raw.dcraw_process() != LIBRAW_SUCCESS) return {};
    int error = 0;
    libraw_processed_image_t* processed = raw.dcraw_make_mem_image(&error);
    if (!processed) return {};
    std::unique_ptr<libraw_processed_image_t, void (*)(libraw_processed_image_t*)> owner(processed,
                                                                                         LibRaw::dcraw_clear_mem);
    if (processed->type != LIBRAW_IMAGE_BITMAP || processed->bits != 8 ||
        (processed->colors != 3 && processed->colors != 1))
        return {};
    VipsRef wrapped(vips_image_new_from_memory_copy(processed->data, processed->data_size, processed->width,
                                                    processed->height, processed->colors, VIPS_FORMAT_UCHAR));
    if (!wrapped) return {};
    wrapped.get()->Type = processed->colors == 3 ? VIPS_INTERPRETATION_sRGB : VIPS_INTERPRETATION_B_W;
    return fitted(wrapped.get(), maxDimension);
}

} // namespace

std::optional<DecodedImage> RawDecoder::decode(const std::string& path, int maxDimension)
{
    if (!startVips()) return std::nullopt;
    auto raw = std::make_unique<LibRaw>(); // large: keep it off the stack
    if (raw->open_file(path.c_str()) != LIBRAW_SUCCESS) return std::nullopt;
    double width = raw->imgdata.sizes.width, height = raw->imgdata.sizes.height;
    if (width <= 0 || height <= 0 || width * height > ImageDecoder::kMaximumPixels) return std::nullopt;
    const int flip = raw->imgdata.sizes.flip;

    const double needed = std::min<double>(maxDimension, std::max(width, height));
    VipsRef image = upright(preview(*raw, maxDimension, needed), flip);
    if (!image) image = halfSize(*raw, maxDimension);
    vips_error_clear();
    if (!image) return std::nullopt;
    QImage bitmap = toQImage(image.get());
    if (bitmap.isNull()) return std::nullopt;

    if (flip == 5 || flip == 6) std::swap(width, height);
    DecodedImage decoded;
    decoded.pixels = {width, height};
    decoded.downsampled = std::max(width, height) > maxDimension;
    decoded.image = std::move(bitmap);
    return decoded;
}

} // namespace mirelo
