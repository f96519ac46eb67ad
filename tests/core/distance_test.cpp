// The distance between two places and the neighbour rule of the window.

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "core/distance.h"
#include "core/field_reader.h"
#include "core/neighbours.h"

namespace localyx {
namespace {

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
        SCOPED_TRACE(::testing::Message() << r.lon1 << "," << r.lat1 << " -> " << r.lon2 << "," << r.lat2);
        EXPECT_EQ(CalcDistance(r.lon1, r.lat1, r.lon2, r.lat2), r.km);
        // Swapping the points, or mirroring both longitudes, changes nothing.
        EXPECT_EQ(CalcDistance(r.lon2, r.lat2, r.lon1, r.lat1), r.km);
        EXPECT_EQ(CalcDistance(-r.lon1, r.lat1, -r.lon2, r.lat2), r.km);
    }
    // Identical points: x rounds just below 1, a tiny negative distance that
    // the caller shows as 0; or just above 1, and the square root fails.
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
    for (const auto& c : cases) EXPECT_EQ(CalcDistance(c[0], c[1], c[2], c[3]), kDistanceFailure);
}

std::vector<std::string> search(const std::string& file, const char* lat, const char* lon, int km,
                                SearchDeltas& deltas) {
    FieldReader reader(file);
    return findNeighbours(reader, lat, lon, km, deltas);
}

TEST(Neighbours, HalfWidthIsStrictAndFollowsTheRadius) {
    struct Case { int km; double deltaLat, deltaLon; bool listed; } cases[] = {
        {6, 0.05, 0.01, true},   // 6/111 = 0.054
        {5, 0.05, 0.01, false},  // 5/111 = 0.045
        {26, 0.2, 0.01, true},
        {21, 0.2, 0.01, false},
        {6, 6 / 111.0, 0.01, false},  // equal to the half-width: out
        {6, 6 / 111.0 - 1e-12, 0.01, true},
        {6, 0.01, 6 / 111.0, false},  // the same on the longitude
        {6, 0.01, 6 / 111.0 - 1e-12, true},
        {6, 0, 0.01, false},  // the same latitude or longitude as the town: never listed
        {6, 0.01, 0, false},
    };
    for (const auto& c : cases) {
        NeighbourRule rule("45", "3", c.km, {c.deltaLat, c.deltaLon});
        EXPECT_EQ(rule.feed("N-00001"), c.listed) << c.km << " km, " << c.deltaLat << ", " << c.deltaLon;
    }
}

TEST(Neighbours, DeltasCarryOverBetweenSearches) {
    // A file that begins with a name judges it by what the last search left.
    const std::string file = "LEADING NAME-00009\r\n45,3,T-00000\r\n45.02,3.03,N-00001\r\n";
    SearchDeltas deltas;
    EXPECT_EQ(search(file, "45", "3", 6, deltas), (std::vector<std::string>{"N-00001"}));
    EXPECT_NEAR(deltas.deltaLat, 0.02, 1e-9);
    EXPECT_EQ(search(file, "45", "3", 6, deltas), (std::vector<std::string>{"LEADING NAME-00009", "N-00001"}));

    // A latitude not above 40 is taken for a longitude and leaves deltaLat alone.
    NeighbourRule rule("45", "3", 6, {0.01, 0.01});
    rule.feed("39");
    EXPECT_EQ(rule.deltas().deltaLat, 0.01);
    EXPECT_EQ(rule.deltas().deltaLon, 36.0);
}

}  // namespace
}  // namespace localyx
