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

std::string officialName(const AroundAnswer& answer, std::size_t i) {
    return i < answer.officialNames.size() ? answer.officialNames[i] : std::string();
}

void writeCsv(std::ostream& out, const AroundAnswer& answer) {
    out << kUtf8Bom;
    writeCsvLine(out, {"Localité", "Code postal", "Code INSEE", "Département", "Région", "Population", "Latitude",
                       "Longitude", "Distance (km)", "Nom officiel"});
    for (std::size_t i = 0; i < answer.found.size(); ++i) {
        const Locality& l = *answer.found[i];
        std::string lat = degrees(l.latitude), lon = degrees(l.longitude);
        std::replace(lat.begin(), lat.end(), '.', ',');
        std::replace(lon.begin(), lon.end(), '.', ',');
        writeCsvLine(out, {l.name, l.postalCode, l.insee, l.departement, regionCaption(l.region), population(l), lat,
                           lon, decimalComma(answer.kms[i]), officialName(answer, i)});
    }
}

}  // namespace

void writeAround(std::ostream& out, AroundFormat format, const AroundAnswer& answer) {
    if (format == AroundFormat::Csv) {
        writeCsv(out, answer);
        return;
    }
    const Locality& from = *answer.centre;
    const std::string centre = answer.centreLabel.empty() ? from.item() : answer.centreLabel;
    const std::string title = "Localités à " + decimalComma(answer.radiusKm) + " km de " + centre;
    std::vector<MapPoint> points{
        {&from, centre, "Centre de la recherche ; " + inhabitants(from), "", true, answer.centreOfficialName}};
    std::vector<double> kms{0.0};
    for (std::size_t i = 0; i < answer.found.size(); ++i) {
        const Locality& l = *answer.found[i];
        points.push_back({&l, l.item(), decimalComma(answer.kms[i]) + " km ; " + inhabitants(l), "", false,
                          officialName(answer, i)});
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
