#pragma once
// A viewer frame's picture with its reduced copies, each half the one
// before, made once off the main thread. Drawing a zoomed or panned picture
// then reads from the copy nearest the shown size instead of reducing the
// whole 4,096-pixel bitmap again on every frame.

#include "layout/PyramidLevels.h"

#include <QImage>

#include <memory>
#include <vector>

namespace mirelo {

class FramePyramid {
public:
    // Safe on any thread.
    static std::shared_ptr<const FramePyramid> build(const QImage& base);

    const std::vector<QImage>& levels() const { return levels_; }
    // The copy to draw from when the picture is `shownWidth` device pixels wide.
    const QImage& levelFor(double shownWidth) const;

private:
    std::vector<QImage> levels_;
    std::vector<LevelSize> sizes_;
};

} // namespace mirelo
