#include "layout/ViewerGeometry.h"

#include <cmath>

#include <algorithm>

namespace mirelo {

namespace {

double clampedScale(double scale)
{
    return std::clamp(scale, ViewerGeometry::minimumScale, ViewerGeometry::maximumScale);
}

} // namespace

double ViewerGeometry::fitScale() const
{
    if (imageSize.width <= 0 || imageSize.height <= 0) return 1.0;
    const SizeF area = fitArea(viewport);
    const double fit = std::min(area.width / imageSize.width, area.height / imageSize.height);
    return std::min(fit, 1.0);
}

void ViewerGeometry::fit()
{
    scale = fitScale();
    offset = {};
    fitting = true;
}

void ViewerGeometry::constrainOffset()
{
    const double limitX = std::max(0.0, (imageSize.width * scale - viewport.width) / 2);
    const double limitY = std::max(0.0, (imageSize.height * scale - viewport.height) / 2);
    offset.x = std::clamp(offset.x, -limitX, limitX);
    offset.y = std::clamp(offset.y, -limitY, limitY);
}

void ViewerGeometry::zoom(double to, PointF at)
{
    const double target = clampedScale(to);
    const double ratio = target / std::max(scale, 0.000001);
    const PointF middle = center();
    const PointF p{at.x - middle.x, at.y - middle.y};
    offset = {p.x - (p.x - offset.x) * ratio, p.y - (p.y - offset.y) * ratio};
    scale = target;
    fitting = false;
    constrainOffset();
}

void ViewerGeometry::pan(double dx, double dy)
{
    offset.x += dx;
    offset.y += dy;
    fitting = false;
    constrainOffset();
}

double KeyboardZoomState::begin(int direction, uint16_t keyCode, bool isRepeat, double scale, double at)
{
    if (isRepeat || direction == 0) return scale;
    const bool wasHeld = !held.empty();
    std::erase_if(held, [&](const HeldKey& key) { return key.code == keyCode; });
    const int sign = direction >= 1 ? 1 : -1;
    held.push_back({keyCode, sign});
    lastTime = at;
    return clampedScale(scale + (wasHeld ? 0 : tapStep * sign));
}

double KeyboardZoomState::advance(double scale, double at)
{
    if (held.empty() || !lastTime) return scale;
    const double elapsed = std::clamp(at - *lastTime, 0.0, maximumFrameDuration);
    lastTime = at;
    return clampedScale(scale + elapsed * unitsPerSecond * direction());
}

void KeyboardZoomState::end(uint16_t keyCode, double at)
{
    std::erase_if(held, [&](const HeldKey& key) { return key.code == keyCode; });
    if (held.empty())
        lastTime.reset();
    else
        lastTime = at;
}

void KeyboardZoomState::cancel()
{
    held.clear();
    lastTime.reset();
}

FilmstripGeometry::FilmstripGeometry(double viewportWidth, int count)
    : viewportWidth(std::max(viewportWidth, itemWidth)), count(std::max(count, 0))
{
}

double FilmstripGeometry::contentWidth() const { return viewportWidth + stride * std::max(count - 1, 0); }

RectF FilmstripGeometry::frame(int index) const { return {leadingInset() + stride * index, 11, itemWidth, itemHeight}; }

double FilmstripGeometry::centredOffset(int index) const
{
    if (count == 0) return 0;
    return stride * std::min(std::max(index, 0), count - 1);
}

std::pair<int, int> FilmstripGeometry::itemsBetween(double minX, double maxX) const
{
    if (count < 1) return {0, 0};
    const int first = std::max(int(std::floor((minX - leadingInset()) / stride)), 0);
    const int last = std::min(count - 1, int(std::ceil((maxX - leadingInset()) / stride)));
    return last < first ? std::pair{0, 0} : std::pair{first, last + 1};
}

} // namespace mirelo
