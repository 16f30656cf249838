#pragma once
// One zoom request for the viewer. Every request carries a fresh id, so two
// requests with the same action are still two changes.

#include <QUuid>

namespace mirelo {

struct ZoomAction {
    enum Kind { value, fit, actual, increase, decrease };
    Kind kind = fit;
    double scale = 1; // for `value`
    bool operator==(const ZoomAction&) const = default;
};

struct ZoomCommand {
    QUuid id = QUuid::createUuid();
    ZoomAction action;
    bool operator==(const ZoomCommand&) const = default;
};

} // namespace mirelo
