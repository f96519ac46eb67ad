#include "view/map_window/list_file.h"

#include <array>
#include <sstream>

#include <QFileDialog>

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
    auto* dialog = new QFileDialog(parent, QStringLiteral("Enregistrer la liste"));
    dialog->setObjectName(QStringLiteral("SaveListDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // Qt's own dialog, in French like the rest of the program.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    QStringList filters;
    for (const Filter& f : kFilters) filters << QString::fromUtf8(f.text);
    dialog->setNameFilters(filters);
    dialog->setDefaultSuffix(QStringLiteral("csv"));
    dialog->setDirectory(firstSaveFolder());
    dialog->selectFile(fileStem(answer) + QStringLiteral(".csv"));
    QObject::connect(dialog, &QFileDialog::filterSelected, dialog, [dialog](const QString& chosen) {
        for (const Filter& f : kFilters) {
            if (chosen != QString::fromUtf8(f.text)) continue;
            dialog->setDefaultSuffix(QString::fromLatin1(f.suffix));
            const QString typed = QFileInfo(dialog->selectedFiles().value(0)).completeBaseName();
            if (!typed.isEmpty()) dialog->selectFile(typed + QLatin1Char('.') + QString::fromLatin1(f.suffix));
        }
    });
    QObject::connect(dialog, &QFileDialog::fileSelected, dialog, [dialog, answer](const QString& path) {
        AroundFormat format = AroundFormat::Csv;
        for (const Filter& f : kFilters) {
            if (dialog->selectedNameFilter() == QString::fromUtf8(f.text)) format = f.format;
        }
        const QString failure = saveListFile(path, format, answer);
        if (!failure.isEmpty()) showSaveFailure(dialog->parentWidget(), failure);
    });
    dialog->open();
}

}  // namespace localyx
