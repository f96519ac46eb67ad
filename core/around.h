#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/locality_table.h"

namespace localyx {

/// A locality of the table and its distance from the centre.
struct Nearby {
    std::size_t row;  ///< index into the table's rows
    double km;        ///< CalcDistance from the centre, kilometres, never negative
};

/// Every row whose CalcDistance from rows[centre] is at most radiusKm (a true
/// circle, whatever the region), the centre row itself left out, nearest
/// first, equal distances in item order. With populationMin > 0, rows of
/// fewer inhabitants, or of an unknown population, are left out too.
/// @param radiusKm kilometres; a negative or non-finite radius finds nothing
/// @return the rows found; empty when centre is out of range
std::vector<Nearby> localitiesAround(const std::vector<Locality>& rows, std::size_t centre,
                                     double radiusKm, std::int64_t populationMin = 0);

/// The same search around a point that need not be a row (Paris, Lyon or
/// Marseille as a whole): every row within radiusKm of `centre` but the row
/// `skip` (none when it is out of range), nearest first.
std::vector<Nearby> localitiesAround(const std::vector<Locality>& rows, const Locality& centre, std::size_t skip,
                                     double radiusKm, std::int64_t populationMin = 0);

/// CalcDistance between two localities, kilometres; a failure or the tiny
/// negative result of identical points reads 0.
double kmBetween(const Locality& a, const Locality& b);

}  // namespace localyx
