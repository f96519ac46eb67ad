#include "view/map_window/map_window.h"

#include <array>

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "view/map_window/map_canvas.h"
#include "view/map_window/saved_file.h"

namespace localyx {

namespace {

struct ImageFilter {
    const char* text;
    const char* suffix;
    MapCanvas::ImageFormat format;
};
const std::array<ImageFilter, 3> kImageFilters{{{"Image PNG (*.png)", "png", MapCanvas::ImageFormat::Png},
                                                {"Image SVG (*.svg)", "svg", MapCanvas::ImageFormat::Svg},
                                                {"Document PDF (*.pdf)", "pdf", MapCanvas::ImageFormat::Pdf}}};

}  // namespace

MapWindow::MapWindow(std::shared_ptr<const render::Borders> borders)
    : QDialog(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                           Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("MapWindow"));
    setAccessibleName(QStringLiteral("Carte"));
    setAccessibleDescription(QStringLiteral("Carte des localités listées autour de la localité de départ"));
    setSizeGripEnabled(true);

    m_canvas = new MapCanvas(std::move(borders), this);
    m_canvas->setObjectName(QStringLiteral("MapCanvas"));
    m_canvas->setAccessibleName(QStringLiteral("Carte des localités"));

    auto* hint = new QLabel(QStringLiteral("Molette : zoom · glisser : déplacer · 0 ou double-clic : vue d'ensemble"),
                            this);
    hint->setObjectName(QStringLiteral("MapHint"));
    hint->setWordWrap(true);

    m_saveImage = new QPushButton(QStringLiteral("Enregistrer l'image…"), this);
    m_saveImage->setObjectName(QStringLiteral("SaveImage"));
    m_saveImage->setAccessibleName(QStringLiteral("Enregistrer l'image"));
    m_saveImage->setAccessibleDescription(QStringLiteral("Enregistre la carte telle qu'elle est vue, en PNG, SVG ou PDF"));
    m_close = new QPushButton(QStringLiteral("Fermer"), this);
    m_close->setObjectName(QStringLiteral("CloseMap"));
    m_close->setAccessibleName(QStringLiteral("Fermer"));
    m_close->setAccessibleDescription(QStringLiteral("Ferme la carte"));
    m_close->setDefault(true);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(m_saveImage, QDialogButtonBox::ActionRole);
    buttons->addButton(m_close, QDialogButtonBox::RejectRole);
    connect(m_saveImage, &QPushButton::clicked, this, &MapWindow::askAndSaveImage);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(m_canvas, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(hint, 1);
    bottom->addWidget(buttons);
    layout->addLayout(bottom);
    m_canvas->setFocus();
    setWindowTitle(titleOf({}));
}

QString MapWindow::titleOf(const SearchAnswer& answer) {
    if (!answer.town) return QStringLiteral("Carte");
    return QStringLiteral("Carte — localités à %1 km de %2")
        .arg(answer.radiusKm)
        .arg(QString::fromStdString(answer.town->name));
}

void MapWindow::setAnswer(const SearchAnswer& answer) {
    setWindowTitle(titleOf(answer));
    m_canvas->setAnswer(answer);
    // What a screen reader says of the map: what it shows, then how to move it.
    QString shown = QStringLiteral("aucune localité");
    if (answer.town) {
        const auto count = static_cast<int>(answer.found.size());
        shown = count == 0   ? QStringLiteral("aucune localité dans la zone de recherche")
                : count == 1 ? QStringLiteral("1 localité dans la zone de recherche")
                             : QStringLiteral("%1 localités dans la zone de recherche").arg(count);
        if (answer.second) {
            shown += QStringLiteral(" ; %1 à %2 km")
                         .arg(QString::fromStdString(answer.second->name))
                         .arg(answer.secondKm);
        }
    }
    m_canvas->setAccessibleDescription(shown + QStringLiteral(". Molette ou + et − : zoom ; glisser ou flèches : "
                                                              "déplacer ; 0 ou double-clic : vue d'ensemble"));
}

void MapWindow::askAndSaveImage() {
    std::vector<SaveFilter> filters;
    for (const ImageFilter& f : kImageFilters) {
        filters.emplace_back(QString::fromUtf8(f.text), QString::fromLatin1(f.suffix));
    }
    askSavePath(this, QStringLiteral("Enregistrer l'image"), QStringLiteral("SaveImageDialog"), filters,
                windowTitle().replace(QLatin1Char('/'), QLatin1Char('_')),
                [this](const QString& path, std::size_t filter) {
                    const QString failure = writeWhole(path, m_canvas->image(kImageFilters[filter].format));
                    if (!failure.isEmpty()) showSaveFailure(this, failure);
                });
}

}  // namespace localyx
