#include "core/render/projection.h"

#include <cmath>
#include <numbers>

namespace localyx::render {
namespace {

constexpr double kA = 6378137.0;            // GRS80 semi-major axis, m
constexpr double kF = 1 / 298.257222101;   // GRS80 flattening
constexpr double kLon0 = 3.0;
constexpr double kX0 = 700000.0, kY0 = 6600000.0;

double radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

struct Cone {
    double e, n, af, rho0;
    double m(double phi) const { return std::cos(phi) / std::sqrt(1 - std::pow(e * std::sin(phi), 2)); }
    double t(double phi) const {
        const double s = e * std::sin(phi);
        return std::tan(std::numbers::pi / 4 - phi / 2) / std::pow((1 - s) / (1 + s), e / 2);
    }
};

const Cone& cone() {
    static const Cone c = [] {
        Cone k{std::sqrt(2 * kF - kF * kF), 0, 0, 0};
        const double p1 = radians(49), p2 = radians(44), p0 = radians(46.5);
        k.n = (std::log(k.m(p1)) - std::log(k.m(p2))) / (std::log(k.t(p1)) - std::log(k.t(p2)));
        k.af = kA * k.m(p1) / (k.n * std::pow(k.t(p1), k.n));
        k.rho0 = k.af * std::pow(k.t(p0), k.n);
        return k;
    }();
    return c;
}

}  // namespace

Metres toLambert93(double latitude, double longitude) {
    const Cone& c = cone();
    if (!(std::abs(latitude) < 90.0)) return {NAN, NAN};
    const double rho = c.af * std::pow(c.t(radians(latitude)), c.n);
    const double theta = c.n * radians(longitude - kLon0);
    return {kX0 + rho * std::sin(theta), kY0 + c.rho0 - rho * std::cos(theta)};
}

double longitudeOf(Metres point) {
    const Cone& c = cone();
    return kLon0 + std::atan2(point.x - kX0, kY0 + c.rho0 - point.y) / c.n * 180.0 / std::numbers::pi;
}

double northAngle(double longitude) { return cone().n * radians(longitude - kLon0); }

}  // namespace localyx::render
