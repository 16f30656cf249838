#pragma once
// The viewer's arithmetic, free of drawing: how large an image is shown and
// where (fit, zoom about a point, pan within limits), smooth zooming while a
// key is held, and the layout of the centred filmstrip. Lengths in points,
// scales as plain factors (1.0 = one image pixel per point), times in seconds.

#include "layout/PlaneGeometry.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace mirelo {

struct ViewerGeometry {
    static constexpr double minimumScale = 0.001;
    static constexpr double maximumScale = 32.0;

    SizeF imageSize;
    SizeF viewport;
    double scale = 1.0;
    PointF offset; // of the image's centre from the viewport's centre
    bool fitting = true;

    // The scale at which the whole image fits, leaving 16% of the width and
    // 6% of the height free; never above 1.
    double fitScale() const;
    // The box a fitted image fills at most in `viewport`.
    static SizeF fitArea(SizeF viewport) { return {viewport.width * 0.84, viewport.height * 0.94}; }
    PointF center() const { return {viewport.width / 2, viewport.height / 2}; }
    void fit();
    // Keeps the image point under `point` (viewport coordinates) in place.
    void zoom(double to, PointF at);
    void pan(double dx, double dy);
    void constrainOffset();
};

struct HeldKey {
    uint16_t code = 0;
    int direction = 0; // +1 zooms in, -1 out
    bool operator==(const HeldKey&) const = default;
};

struct KeyboardZoomState {
    static constexpr double tapStep = 0.01;
    static constexpr double maximumFrameDuration = 1.0 / 15;

    explicit KeyboardZoomState(double unitsPerSecond) : unitsPerSecond(unitsPerSecond) {}

    std::vector<HeldKey> held; // oldest first
    std::optional<double> lastTime;
    double unitsPerSecond;

    bool isActive() const { return !held.empty(); }
    int direction() const { return held.empty() ? 0 : held.back().direction; }

    double begin(int direction, uint16_t keyCode, bool isRepeat, double scale, double at);
    double advance(double scale, double at);
    void end(uint16_t keyCode, double at);
    void cancel();
};

struct FilmstripGeometry {
    static constexpr double itemWidth = 126;
    static constexpr double itemHeight = 83;
    static constexpr double stride = 142;

    FilmstripGeometry(double viewportWidth, int count);

    double viewportWidth;
    int count;

    double leadingInset() const { return (viewportWidth - itemWidth) / 2; }
    double contentWidth() const;
    RectF frame(int index) const;
    double centredOffset(int index) const;
    // The first and past-the-last index of the items meeting [minX, maxX).
    std::pair<int, int> itemsBetween(double minX, double maxX) const;
};

} // namespace mirelo
