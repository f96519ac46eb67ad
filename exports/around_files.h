#pragma once

#include <ostream>
#include <vector>

#include "core/locality_table.h"

namespace localyx {

/// The localities found around a town, as the files of a search write them.
struct AroundAnswer {
    const Locality* centre = nullptr;
    double radiusKm = 0;                  ///< the radius asked for, km
    std::vector<const Locality*> found;   ///< nearest first, the centre not among them
    std::vector<double> kms;              ///< each found locality's distance to the centre, km
};

enum class AroundFormat { Csv, GeoJson, Kml, Gpx };

/// Writes the answer in one format: a spreadsheet CSV (UTF-8 with its mark,
/// ";" separated, decimal commas) of the found localities, or a GeoJSON, KML
/// or GPX file of the centre and the found localities. The stream's state
/// tells whether it was written.
void writeAround(std::ostream& out, AroundFormat format, const AroundAnswer& answer);

}  // namespace localyx
