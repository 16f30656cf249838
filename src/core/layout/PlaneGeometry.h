#pragma once
// Points, sizes and rectangles in points, for the layout arithmetic that
// stays free of any drawing code.

namespace mirelo {

struct PointF {
    double x = 0;
    double y = 0;
    bool operator==(const PointF&) const = default;
};

struct SizeF {
    double width = 0;
    double height = 0;
    bool operator==(const SizeF&) const = default;
};

struct RectF {
    double x = 0, y = 0, width = 0, height = 0;
    bool operator==(const RectF&) const = default;
};

} // namespace mirelo
