#pragma once
// One zoom request for the viewer's stage.

namespace mirelo {

struct ZoomAction {
    enum Kind { value, fit, actual, increase, decrease };
    Kind kind = fit;
    double scale = 1; // for `value`
    bool operator==(const ZoomAction&) const = default;
};

} // namespace mirelo
