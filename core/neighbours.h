#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace localyx {

class FieldReader;

/// Kilometres per degree, for latitude and longitude alike.
inline constexpr double kKmPerDegree = 111.0;

/// The two differences the search carries from one field to the next, and
/// from one search to the next (they are not reset when a search starts).
struct SearchDeltas {
    double deltaLat = 0.0;  ///< |last latitude read - town latitude|, degrees
    double deltaLon = 0.0;  ///< |last coordinate read - town longitude|, degrees
};

/// The membership rule, one field at a time. A field whose value is above 40
/// is a latitude; any non-zero value updates the longitude difference; a name
/// (value 0) is a neighbour when both differences are non-zero and strictly
/// below the half-width. The town itself, sharing its own coordinates, is
/// therefore never listed.
class NeighbourRule {
public:
    /// @param townLatText, townLonText  the town's coordinate texts
    /// @param radiusKm  half-width of the square window, in km
    NeighbourRule(std::string_view townLatText, std::string_view townLonText, int radiusKm,
                  SearchDeltas deltas);

    /// Feeds one field; true when it is a name that lies in the window.
    bool feed(std::string_view field);

    double radiusDeg() const { return m_radiusDeg; }
    const SearchDeltas& deltas() const { return m_deltas; }

private:
    double m_townLat;
    double m_townLon;
    double m_radiusDeg;
    SearchDeltas m_deltas;
};

/// Walks every field left in the reader with the rule above.
/// @param deltas  in: the differences left by the previous search (zero for
///                the first); out: the differences after this walk.
/// @return the names found, in file order.
std::vector<std::string> findNeighbours(FieldReader& reader, std::string_view townLatText,
                                        std::string_view townLonText, int radiusKm,
                                        SearchDeltas& deltas);

}  // namespace localyx
