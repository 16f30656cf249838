#pragma once
// A Gaussian blur close enough for a backdrop: three box blurs of running
// sums, so it costs the same for every radius. Edge pixels are repeated
// outwards, so borders neither darken nor fade.

#include <QImage>

namespace mirelo {

class GaussianBlur {
public:
    // `image` blurred with standard deviation `sigma` pixels, in 32-bit
    // RGB (premultiplied when it has alpha). `image` itself when sigma ≤ 0.
    static QImage apply(const QImage& image, double sigma);
};

} // namespace mirelo
