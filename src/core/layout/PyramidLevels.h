#pragma once
// The sizes of a picture's reduced copies, each half the one before, and
// which copy to draw from at a given shown size: the smallest that still
// has at least one pixel for every device pixel shown, so that drawing only
// ever reduces a little, never by more than half.

#include <vector>

namespace mirelo {

struct LevelSize {
    int width = 0;
    int height = 0;
    bool operator==(const LevelSize&) const = default;
};

struct PyramidLevels {
    // `base`, then halves (rounded up) while the longer side stays at least `smallest`.
    static std::vector<LevelSize> sizes(LevelSize base, int smallest = 256);
    // The level for a picture shown `shownWidth` device pixels wide.
    static int choose(const std::vector<LevelSize>& levels, double shownWidth);
};

} // namespace mirelo
