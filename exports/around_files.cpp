#include "exports/around_files.h"

#include <algorithm>
#include <string>

#include "exports/map_formats.h"
#include "exports/text_cells.h"

namespace localyx {

namespace {

std::string population(const Locality& l) { return l.population >= 0 ? std::to_string(l.population) : ""; }

std::string inhabitants(const Locality& l) {
    if (l.population < 0) return "population inconnue";
    return std::to_string(l.population) + (l.population > 1 ? " habitants" : " habitant");
}

void writeCsv(std::ostream& out, const AroundAnswer& answer) {
    out << kUtf8Bom;
    writeCsvLine(out, {"Localité", "Code postal", "Code INSEE", "Département", "Région", "Population", "Latitude",
                       "Longitude", "Distance (km)"});
    for (std::size_t i = 0; i < answer.found.size(); ++i) {
        const Locality& l = *answer.found[i];
        std::string lat = degrees(l.latitude), lon = degrees(l.longitude);
        std::replace(lat.begin(), lat.end(), '.', ',');
        std::replace(lon.begin(), lon.end(), '.', ',');
        writeCsvLine(out, {l.name, l.postalCode, l.insee, l.departement, regionCaption(l.region), population(l), lat,
                           lon, decimalComma(answer.kms[i])});
    }
}

}  // namespace

void writeAround(std::ostream& out, AroundFormat format, const AroundAnswer& answer) {
    if (format == AroundFormat::Csv) {
        writeCsv(out, answer);
        return;
    }
    const Locality& from = *answer.centre;
    const std::string title = "Localités à " + decimalComma(answer.radiusKm) + " km de " + from.item();
    std::vector<MapPoint> points{{&from, from.item(), "Centre de la recherche ; " + inhabitants(from), "", true}};
    std::vector<double> kms{0.0};
    for (std::size_t i = 0; i < answer.found.size(); ++i) {
        const Locality& l = *answer.found[i];
        points.push_back({&l, l.item(), decimalComma(answer.kms[i]) + " km ; " + inhabitants(l), "", false});
        kms.push_back(answer.kms[i]);
    }
    if (format == AroundFormat::GeoJson) {
        writeGeoJson(out, points, kms);
    } else if (format == AroundFormat::Kml) {
        writeKml(out, title, points, {});
    } else {
        writeGpx(out, title, points, false);
    }
}

}  // namespace localyx
