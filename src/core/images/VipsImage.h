#pragma once
// A thin owner of libvips images, and the conversions to and from Qt's.

#include <QImage>

#include <vips/vips.h>

#include <utility>

namespace mirelo {

// Starts libvips once per process; false when it cannot start.
bool startVips();

class VipsRef {
public:
    VipsRef() = default;
    explicit VipsRef(VipsImage* image) : image_(image) {}
    VipsRef(const VipsRef&) = delete;
    VipsRef& operator=(const VipsRef&) = delete;
    VipsRef(VipsRef&& other) noexcept : image_(std::exchange(other.image_, nullptr)) {}
    VipsRef& operator=(VipsRef&& other) noexcept
    {
        std::swap(image_, other.image_);
        return *this;
    }
    ~VipsRef()
    {
        if (image_) g_object_unref(image_);
    }
    VipsImage* get() const { return image_; }
    VipsImage** out() { return &image_; } // for vips_…(in, ref.out(), …)
    explicit operator bool() const { return image_ != nullptr; }
    int width() const { return image_->Xsize; }
    int height() const { return image_->Ysize; }

private:
    VipsImage* image_ = nullptr;
};

// An 8-bit sRGB (or grey) rendering with or without alpha, computed now;
// a null image when the pixels cannot be read.
QImage toQImage(VipsImage* image);

} // namespace mirelo
