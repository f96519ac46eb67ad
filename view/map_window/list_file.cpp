#include "view/map_window/list_file.h"

#include <array>
#include <sstream>

#include "view/map_window/saved_file.h"

namespace localyx {

namespace {

struct Filter {
    const char* text;
    const char* suffix;
    AroundFormat format;
};
const std::array<Filter, 4> kFilters{{{"Tableur CSV (*.csv)", "csv", AroundFormat::Csv},
                                      {"GeoJSON (*.geojson)", "geojson", AroundFormat::GeoJson},
                                      {"KML (*.kml)", "kml", AroundFormat::Kml},
                                      {"GPX (*.gpx)", "gpx", AroundFormat::Gpx}}};

/// A file name from a town name: what a file system takes badly goes.
QString fileStem(const SearchAnswer& answer) {
    QString town = answer.town ? QString::fromStdString(answer.town->name) : QStringLiteral("localites");
    for (QChar& c : town) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control) c = QLatin1Char('_');
    }
    return QStringLiteral("Localités à %1 km de %2").arg(answer.radiusKm).arg(town);
}

}  // namespace

QString saveListFile(const QString& path, AroundFormat format, const SearchAnswer& answer) {
    if (!answer.town) return QStringLiteral("Aucune localité n'est listée.");
    AroundAnswer around{&*answer.town, static_cast<double>(answer.radiusKm), {}, answer.kms, {}, {}, {}};
    for (const Locality& l : answer.found) around.found.push_back(&l);
    std::ostringstream out;
    writeAround(out, format, around);
    const std::string text = out.str();
    return writeWhole(path, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

void askAndSaveList(QWidget* parent, const SearchAnswer& answer) {
    std::vector<SaveFilter> filters;
    for (const Filter& f : kFilters) filters.emplace_back(QString::fromUtf8(f.text), QString::fromLatin1(f.suffix));
    askSavePath(parent, QStringLiteral("Enregistrer la liste"), QStringLiteral("SaveListDialog"), filters,
                fileStem(answer), [parent, answer](const QString& path, std::size_t filter) {
                    const QString failure = saveListFile(path, kFilters[filter].format, answer);
                    if (!failure.isEmpty()) showSaveFailure(parent, failure);
                });
}

}  // namespace localyx
