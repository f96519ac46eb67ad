#pragma once

#include <filesystem>
#include <functional>

#include "app/search_answer.h"

class QWidget;

namespace localyx {

/// The map and the list files as the main window sees them. They live in a
/// module of their own (cairo, pango and the file writers), loaded the first
/// time they are asked for, so that the window starts without them.
class MapExtension {
public:
    using AnswerSource = std::function<SearchAnswer()>;

    virtual ~MapExtension() = default;

    /// « Voir sur la carte »: opens the map, or brings it forward, restored.
    virtual void showMap() = 0;
    /// « Enregistrer la liste… ».
    virtual void saveList() = 0;
    /// The main window's answer changed: an open map follows it.
    virtual void answerChanged() = 0;
    /// The map window, shown or not; nullptr before the first showMap.
    virtual QWidget* mapWindow() const = 0;
};

/// The module's one entry point, looked up by this name.
inline constexpr const char* kMapExtensionEntry = "localyx_make_map_extension";
/// @param programDir  where the region files are, and the borders beside them
using MakeMapExtension = MapExtension* (*)(QWidget* mainWindow, const MapExtension::AnswerSource* answer,
                                          const std::filesystem::path* programDir);

}  // namespace localyx
