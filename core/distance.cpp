#include "core/distance.h"

#include <cmath>

namespace localyx {

double CalcDistance(double lon1, double lat1, double lon2, double lat2) {
    // C++ does not trap: every step that could fail is checked instead, so
    // that a failure gives the one agreed value and never a NaN or infinity.
    if (!std::isfinite(lon1) || !std::isfinite(lat1) || !std::isfinite(lon2) ||
        !std::isfinite(lat2)) {
        return kDistanceFailure;
    }
    const double a = 90 - lat1;
    const double b = 90 - lat2;
    double d = lon1 - lon2;
    if (d < 0) d = d * -1;
    if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(d)) return kDistanceFailure;

    const double A = a / 57.295779518;
    const double B = b / 57.295779518;
    const double D = d / 57.295779518;
    // Sine product first, then times cos(D): this order is what makes the
    // result symmetric and matches the reference values to the last bit.
    const double x = std::cos(A) * std::cos(B) + (std::sin(B) * std::sin(A)) * std::cos(D);
    if (!std::isfinite(x)) return kDistanceFailure;

    double m = 0;
    if (x == 1) {
        m = 0;
    } else if (x == -1) {
        m = 40030218.0 / 2;
    } else {
        const double radicand = 1 - x * x;
        if (radicand < 0) return kDistanceFailure;
        const double root = std::sqrt(radicand);
        if (root == 0) return kDistanceFailure;
        const double t = std::atan(x / root);
        m = ((1.570796 - t) / 6.2831853) * 40030218;
    }
    const double km = m / 1000;
    return std::isfinite(km) ? km : kDistanceFailure;
}

}  // namespace localyx
