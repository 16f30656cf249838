#include "FramePyramid.h"

namespace mirelo {

std::shared_ptr<const FramePyramid> FramePyramid::build(const QImage& base)
{
    auto pyramid = std::make_shared<FramePyramid>();
    if (base.isNull()) return pyramid;
    pyramid->sizes_ = PyramidLevels::sizes({base.width(), base.height()});
    // Premultiplied pixels reduce without dark fringes at transparent edges.
    QImage level = base.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    pyramid->levels_.push_back(level);
    for (size_t i = 1; i < pyramid->sizes_.size(); ++i) {
        // Each copy from the one before: a 2 × 2 area average.
        level = level.scaled(pyramid->sizes_[i].width, pyramid->sizes_[i].height, Qt::IgnoreAspectRatio,
                             Qt::SmoothTransformation);
        pyramid->levels_.push_back(level);
    }
    return pyramid;
}

const QImage& FramePyramid::levelFor(double shownWidth) const
{
    static const QImage none;
    if (levels_.empty()) return none;
    return levels_[size_t(PyramidLevels::choose(sizes_, shownWidth))];
}

} // namespace mirelo
