#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/render/projection.h"

namespace localyx::render {

/// The file of département borders, looked for where the region files are.
inline constexpr std::string_view kBordersFileName = "contours.txt";
/// A file above this size is refused rather than read (the real one is 0.5 MB).
inline constexpr std::uintmax_t kMaxBordersFileBytes = 16u * 1024u * 1024u;

enum class BorderKind { Outline, Region, Departement };

/// One border line, drawn once whichever side it belongs to.
struct BorderArc {
    BorderKind kind = BorderKind::Departement;
    int toleranceM = 100;         ///< how far it was simplified, metres (100 or 1000)
    Metres low, high;             ///< its bounding box, Lambert-93 metres
    std::vector<Metres> points;   ///< Lambert-93 metres, two at least
};

/// The borders, or why they could not be had. Load them once and share them:
/// drawing only reads them.
struct Borders {
    std::vector<BorderArc> arcs;
    std::filesystem::path path;  ///< where they were read (or last looked for)
    std::string error;           ///< French, empty when arcs were read
    bool ok() const { return error.empty(); }
};

/// Parses the text of tools/make_borders.py. A malformed line makes the
/// whole text an error naming the line (a map with half its borders would
/// mislead). Never throws.
Borders parseBorders(std::string_view text);

/// Reads kBordersFileName from the first of regionSearchDirs(programDir)
/// that holds it. Never throws, never blocks on a FIFO.
Borders loadBorders(const std::filesystem::path& programDir);

}  // namespace localyx::render
