#include "core/exports/around_files.h"

#include <algorithm>
#include <string>

#include "core/exports/map_formats.h"
#include "core/exports/text_cells.h"

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

std::string frenchDegrees(double value) {
    std::string text = degrees(value);
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

}  // namespace

SpreadsheetTable aroundSheet(const AroundAnswer& answer) {
    const std::string centre = answer.centreLabel.empty() ? answer.centre->item() : answer.centreLabel;
    SpreadsheetTable sheet{decimalComma(answer.radiusKm) + " km de " + centre,
                           {{"Localité"}, {"Code postal", CellType::Code}, {"Code INSEE", CellType::Code},
                            {"Département", CellType::Code}, {"Région"}, {"Population", CellType::Integer},
                            {"Latitude", CellType::Degrees}, {"Longitude", CellType::Degrees},
                            {"Distance (km)", CellType::Kilometres}, {"Nom officiel"}},
                           {}};
    for (std::size_t i = 0; i < answer.found.size(); ++i) {
        const Locality& l = *answer.found[i];
        sheet.rows.push_back({l.name, l.postalCode, l.insee, l.departement, regionCaption(l.region), population(l),
                              frenchDegrees(l.latitude), frenchDegrees(l.longitude), decimalComma(answer.kms[i]),
                              officialName(answer, i)});
    }
    return sheet;
}

void writeAround(std::ostream& out, AroundFormat format, const AroundAnswer& answer) {
    if (format == AroundFormat::Csv) {
        writeCsv(out, aroundSheet(answer));
        return;
    }
    if (format == AroundFormat::Xlsx) {
        if (!writeXlsx(out, aroundSheet(answer)).empty()) out.setstate(std::ios::failbit);
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
