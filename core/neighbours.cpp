#include "core/neighbours.h"

#include <cmath>

#include "core/field_reader.h"
#include "core/numeric.h"

namespace localyx {

NeighbourRule::NeighbourRule(std::string_view townLatText, std::string_view townLonText,
                             int radiusKm, SearchDeltas deltas)
    : m_townLat(numericValue(townLatText)),
      m_townLon(numericValue(townLonText)),
      m_radiusDeg(radiusKm / kKmPerDegree),
      m_deltas(deltas) {}

bool NeighbourRule::feed(std::string_view field) {
    const double v = numericValue(field);
    // Latitudes of France are all above 40 and longitudes all below, so the
    // value alone says which coordinate a field is.
    if (v > 40) m_deltas.deltaLat = std::fabs(v - m_townLat);
    if (v != 0) {
        // A latitude lands here too; the longitude that follows overwrites it.
        m_deltas.deltaLon = std::fabs(v - m_townLon);
        return false;
    }
    // Strict tests keep the town itself, and any locality sharing its
    // latitude or longitude exactly, out of the list.
    return m_deltas.deltaLat != 0 && m_deltas.deltaLat < m_radiusDeg &&
           m_deltas.deltaLon != 0 && m_deltas.deltaLon < m_radiusDeg;
}

std::vector<std::string> findNeighbours(FieldReader& reader, std::string_view townLatText,
                                        std::string_view townLonText, int radiusKm,
                                        SearchDeltas& deltas) {
    NeighbourRule rule(townLatText, townLonText, radiusKm, deltas);
    std::vector<std::string> found;
    while (!reader.atEnd()) {
        std::string field = reader.next();
        if (rule.feed(field)) found.push_back(std::move(field));
    }
    deltas = rule.deltas();
    return found;
}

}  // namespace localyx
