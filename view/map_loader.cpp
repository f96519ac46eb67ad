#include "view/map_loader.h"

#include <QFile>
#include <QFileInfo>
#include <QLibrary>

#include "core/region_file.h"

namespace localyx {

std::unique_ptr<MapExtension> loadMapExtension(QWidget& mainWindow, const MapExtension::AnswerSource& answer,
                                               const std::filesystem::path& programDir, QString& failure) {
    const QString moduleDir = QFile::decodeName(executableDir().c_str());
    QString why;
    for (const QString& dir : {moduleDir, moduleDir + QStringLiteral("/" LOCALYX_MODULE_RELDIR)}) {
        const QString path = dir + QLatin1Char('/') + QLatin1String(kMapModuleName);
        if (!QFileInfo::exists(path)) continue;
        // Never unloaded: the windows it made may outlive any handle of ours.
        QLibrary module(path);
        const auto make = reinterpret_cast<MakeMapExtension>(module.resolve(kMapExtensionEntry));
        if (make) return std::unique_ptr<MapExtension>(make(&mainWindow, &answer, &programDir));
        why = module.errorString();
    }
    failure = QStringLiteral("La carte n'est pas disponible : le module %1 est introuvable ou illisible.")
                  .arg(QLatin1String(kMapModuleName));
    if (!why.isEmpty()) failure += QLatin1Char('\n') + why;
    return nullptr;
}

}  // namespace localyx
