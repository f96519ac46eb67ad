#include "core/around.h"

#include <algorithm>
#include <cmath>

#include "core/distance.h"

namespace localyx {

double kmBetween(const Locality& a, const Locality& b) {
    const double km = CalcDistance(a.longitude, a.latitude, b.longitude, b.latitude);
    return km > 0 ? km : 0.0;
}

std::vector<Nearby> localitiesAround(const std::vector<Locality>& rows, std::size_t centre,
                                     double radiusKm, std::int64_t populationMin) {
    if (centre >= rows.size()) return {};
    return localitiesAround(rows, rows[centre], centre, radiusKm, populationMin);
}

std::vector<Nearby> localitiesAround(const std::vector<Locality>& rows, const Locality& from, std::size_t centre,
                                     double radiusKm, std::int64_t populationMin) {
    std::vector<Nearby> found;
    if (!(radiusKm >= 0) || !std::isfinite(radiusKm)) return found;
    // A degree of latitude is 111.19 km on the program's sphere: rows farther
    // in latitude alone cannot be inside, and skipping them spares the
    // trigonometry for nearly the whole table. The margin keeps the cut safe.
    const double latitudeBand = (radiusKm + 0.5) / 111.0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Locality& row = rows[i];
        if (i == centre || std::fabs(row.latitude - from.latitude) > latitudeBand) continue;
        if (populationMin > 0 && row.population < populationMin) continue;
        const double km = CalcDistance(from.longitude, from.latitude, row.longitude, row.latitude);
        if (km == kDistanceFailure || !(km <= radiusKm)) continue;
        found.push_back({i, km > 0 ? km : 0.0});
    }
    std::sort(found.begin(), found.end(), [&](const Nearby& a, const Nearby& b) {
        if (a.km != b.km) return a.km < b.km;
        const std::string x = rows[a.row].item();
        const std::string y = rows[b.row].item();
        return x != y ? x < y : a.row < b.row;
    });
    return found;
}

}  // namespace localyx
