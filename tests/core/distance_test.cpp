#include "core/distance.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using localyx::CalcDistance;
using localyx::kDistanceFailure;

struct Reference { double lon1, lat1, lon2, lat2, km; };

// Exact expectations: the formula and its constants are the product's, and
// a change of evaluation order or a fused multiply-add shows up here.
constexpr Reference kReferences[] = {
    {2, 45, 2, 45, 0},
    {2, 45, 2, 46, 111.1929681048815},
    {2, 45, 3, 45, 78.62419296704729},
    {2, 45, 2, 45.1, 11.117422999287163},
    {2.35, 48.85, 5.37, 43.30, 659.4938226408298},
    {-1.55, 47.22, 2.35, 48.85, 341.8952902680361},
    {0, 0, 90, 0, 10007.552428563755},
    {0.5, 90, 0.5, -90, 20015.109},
};

TEST(CalcDistance, MatchesReferenceTableBitForBit) {
    for (const auto& r : kReferences) {
        SCOPED_TRACE(testing::Message() << r.lon1 << "," << r.lat1 << " -> " << r.lon2 << "," << r.lat2);
        EXPECT_EQ(CalcDistance(r.lon1, r.lat1, r.lon2, r.lat2), r.km);
        // Swapping the points, or mirroring both longitudes, changes nothing.
        EXPECT_EQ(CalcDistance(r.lon2, r.lat2, r.lon1, r.lat1), r.km);
        EXPECT_EQ(CalcDistance(-r.lon1, r.lat1, -r.lon2, r.lat2), r.km);
    }
}

TEST(CalcDistance, IdenticalPointsRoundingEitherWay) {
    // x rounds just below 1: a tiny negative distance, which the caller
    // shows as 0; x just above 1: the square root fails.
    EXPECT_EQ(CalcDistance(2, 41.091, 2, 41.091), -0.0019477536633934443);
    EXPECT_EQ(CalcDistance(2, 41.196, 2, 41.196), kDistanceFailure);
}

TEST(CalcDistance, NonFiniteInputsFail) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double cases[][4] = {
        {nan, 45, 2, 45}, {2, nan, 2, 45}, {2, 45, nan, 45}, {2, 45, 2, nan},
        {inf, 45, 2, 45}, {2, -inf, 2, 45}, {1e308, 45, -1e308, 45},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CalcDistance(c[0], c[1], c[2], c[3]), kDistanceFailure);
    }
}

}  // namespace
