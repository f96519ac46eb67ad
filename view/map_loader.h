#pragma once

#include <memory>

#include <QString>

#include "view/map_window/map_extension.h"

namespace localyx {

/// The map module's file name, beside the program in the build tree.
inline constexpr const char* kMapModuleName = "localyx_map.so";

/// Loads the map module and makes its extension for the main window.
/// @param failure  set to a French sentence when it returns nullptr
std::unique_ptr<MapExtension> loadMapExtension(QWidget& mainWindow, const MapExtension::AnswerSource& answer,
                                               const std::filesystem::path& programDir, QString& failure);

}  // namespace localyx
