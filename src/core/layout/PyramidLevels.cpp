#include "layout/PyramidLevels.h"

#include <algorithm>

namespace mirelo {

std::vector<LevelSize> PyramidLevels::sizes(LevelSize base, int smallest)
{
    std::vector<LevelSize> levels;
    if (base.width <= 0 || base.height <= 0) return levels;
    levels.push_back(base);
    for (;;) {
        const LevelSize& last = levels.back();
        const LevelSize next{(last.width + 1) / 2, (last.height + 1) / 2};
        if (std::max(next.width, next.height) < smallest || next == last) break;
        levels.push_back(next);
    }
    return levels;
}

int PyramidLevels::choose(const std::vector<LevelSize>& levels, double shownWidth)
{
    int chosen = 0;
    for (int i = 1; i < int(levels.size()); ++i)
        if (levels[size_t(i)].width >= shownWidth) chosen = i;
    return chosen;
}

} // namespace mirelo
