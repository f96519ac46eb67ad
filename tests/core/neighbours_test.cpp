#include "core/neighbours.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/field_reader.h"

namespace {

using localyx::FieldReader;
using localyx::SearchDeltas;

std::vector<std::string> search(const std::string& file, const char* lat, const char* lon, int km,
                                SearchDeltas* carried = nullptr) {
    SearchDeltas deltas = carried ? *carried : SearchDeltas{};
    FieldReader reader(file);
    auto found = localyx::findNeighbours(reader, lat, lon, km, deltas);
    if (carried) *carried = deltas;
    return found;
}

TEST(Neighbours, WindowTestAroundATown) {
    // Town at 46, 2; radius 11 km: half-width 11/111 = 0.0990... degree.
    const std::string file =
        "46,2,TOWN-00000\r\n"
        "46.05,1.92,NORTH WEST-00001\r\n"   // 0.05 N, 0.08 W: inside
        "46.05,2.1,NORTH EAST FAR-00002\r\n"  // 0.1 E: outside
        "46.05,2,SAME LONGITUDE-00003\r\n"  // difference 0: never listed
        "46,2.05,SAME LATITUDE-00004\r\n"
        "46.09,2.013,TEN KM NORTH-00005\r\n"   // square window in degrees
        "46.009,2.13,TEN KM EAST-00006\r\n"
        "45.95,1.95,SOUTH WEST-00007\r\n";
    EXPECT_EQ(search(file, "46", "2", 11),
              (std::vector<std::string>{"NORTH WEST-00001", "TEN KM NORTH-00005", "SOUTH WEST-00007"}));
}

TEST(Neighbours, HalfWidthIsStrictAndFollowsTheRadius) {
    struct Case {
        int km;
        double deltaLat, deltaLon;
        bool listed;
    } cases[] = {
        {6, 0.05, 0.01, true},   // 6/111 = 0.054
        {5, 0.05, 0.01, false},  // 5/111 = 0.045
        {26, 0.2, 0.01, true},
        {21, 0.2, 0.01, false},
        {6, 6 / 111.0, 0.01, false},  // equal to the half-width: out
        {6, 6 / 111.0 - 1e-12, 0.01, true},
        {6, 0.01, 6 / 111.0, false},  // the same on the longitude
        {6, 0.01, 6 / 111.0 - 1e-12, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.km << " km, " << c.deltaLat << ", " << c.deltaLon);
        localyx::NeighbourRule rule("45", "3", c.km, {c.deltaLat, c.deltaLon});
        EXPECT_EQ(rule.feed("N-00001"), c.listed);
    }
}

TEST(Neighbours, DeltasCarryOverBetweenSearches) {
    // A file that begins with a name judges it by what the last search left.
    const std::string file = "LEADING NAME-00009\r\n45,3,T-00000\r\n45.02,3.03,N-00001\r\n";
    SearchDeltas deltas;
    EXPECT_EQ(search(file, "45", "3", 6, &deltas), (std::vector<std::string>{"N-00001"}));
    EXPECT_NEAR(deltas.deltaLat, 0.02, 1e-9);
    EXPECT_EQ(search(file, "45", "3", 6, &deltas),
              (std::vector<std::string>{"LEADING NAME-00009", "N-00001"}));
}

TEST(Neighbours, LatitudeNotAboveFortyLeavesDeltaLatAlone) {
    localyx::NeighbourRule rule("45", "3", 6, {0.01, 0.01});
    rule.feed("39");
    EXPECT_EQ(rule.deltas().deltaLat, 0.01);
    EXPECT_EQ(rule.deltas().deltaLon, 36.0);
}

}  // namespace
