#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/locality_table.h"

namespace localyx {

/// One place of a map file.
struct MapPoint {
    const Locality* place;
    std::string name;         ///< shown on the map
    std::string description;  ///< French, may be empty
    std::string link;         ///< a web address, may be empty
    bool centre = false;      ///< the search centre or the start, styled apart
    std::string officialName; ///< "Saint-Malo", shown beside the name; may be empty
    /// GeoJSON properties in place of the locality's (a client's columns); text values.
    std::vector<std::pair<std::string, std::string>> properties = {};
};

/// The region's caption for its file base name ("Ile de France" for
/// "Iledefrance"), or the base name when the catalogue has none.
std::string regionCaption(std::string_view baseName);

/// Degrees with six decimals and a decimal point, as map files want them.
std::string degrees(double value);

/// An RFC 7946 FeatureCollection of Points, longitude first; each point's
/// properties are nom, nom_officiel (when known), code_postal, insee, departement, region, population
/// (null when unknown) and distance_km; the centre also has "role": "centre".
/// A point with its own properties has those, then distance_km.
void writeGeoJson(std::ostream& out, const std::vector<MapPoint>& points,
                  const std::vector<double>& kms);

/// A KML 2.2 document: a Placemark per point and, when `path` holds two
/// places or more, a LineString through them in order.
void writeKml(std::ostream& out, std::string_view title, const std::vector<MapPoint>& points,
              const std::vector<const Locality*>& path);

/// A GPX 1.1 document: a wpt per point, or with `route` one rte of rtept.
void writeGpx(std::ostream& out, std::string_view title, const std::vector<MapPoint>& points,
              bool route);

}  // namespace localyx
