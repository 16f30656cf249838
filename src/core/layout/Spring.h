#pragma once
// A damped spring's travel from 0 to 1, as animations use it: `response` is
// the period of the undamped spring in seconds, `damping` its damping
// fraction (1 is critically damped, smaller values overshoot).

namespace mirelo {

struct Spring {
    double response = 0.3;
    double damping = 0.8;

    // The travel after `seconds`: 0 at the start, 1 at rest.
    double progress(double seconds) const;
    // How long until it stays within 0.1 % of rest.
    double settlingSeconds() const;
};

} // namespace mirelo
