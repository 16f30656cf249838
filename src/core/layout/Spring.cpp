#include "layout/Spring.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace mirelo {

double Spring::progress(double seconds) const
{
    if (seconds <= 0) return 0;
    const double omega = 2 * std::numbers::pi / std::max(response, 1e-3);
    const double zeta = std::max(damping, 0.0);
    if (zeta >= 1) {
        // Critically damped (and, approximately, overdamped) springs.
        return 1 - std::exp(-omega * seconds) * (1 + omega * seconds);
    }
    const double decay = zeta * omega;
    const double ringing = omega * std::sqrt(1 - zeta * zeta);
    return 1 -
           std::exp(-decay * seconds) * (std::cos(ringing * seconds) + decay / ringing * std::sin(ringing * seconds));
}

double Spring::settlingSeconds() const
{
    const double omega = 2 * std::numbers::pi / std::max(response, 1e-3);
    const double zeta = std::clamp(damping, 0.05, 1.0);
    // Critically damped: e^(-ωt)(1 + ωt) falls under 0.001 at ωt ≈ 9.233.
    if (zeta >= 1) return 9.233 / omega;
    // Underdamped: the envelope e^(-ζωt)/√(1-ζ²) falls under 0.001.
    return std::log(1000.0 / std::sqrt(1 - zeta * zeta)) / (zeta * omega);
}

} // namespace mirelo
