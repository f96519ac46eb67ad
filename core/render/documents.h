#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "core/render/borders.h"
#include "core/render/map.h"

namespace localyx::render {

enum class ImageFormat { Svg, Png, Pdf };

/// The largest image side accepted, pixels, and the default one.
inline constexpr int kMaxImageSide = 8000;
inline constexpr int kDefaultImageSide = 1600;
/// An A4 page, PostScript points.
inline constexpr double kA4Width = 595.2756;
inline constexpr double kA4Height = 841.8898;

/// Writes the scene as a whole document: PNG and SVG of width x height
/// pixels (1 to kMaxImageSide), PDF on one A4 portrait page whatever the
/// size. When `drawing` is given, it receives what drawMap placed.
/// @return empty when written; otherwise a French reason (size out of range,
///         the stream refused the bytes, cairo failed)
std::string writeMapDocument(std::ostream& out, ImageFormat format, const MapScene& scene, const Borders& borders,
                             int width = kDefaultImageSide, int height = kDefaultImageSide,
                             MapDrawing* drawing = nullptr);

/// One row of the route sheet: the start (number 0) or a stop.
struct RouteRow {
    int number = 0;                 ///< 0 for the start, then 1, 2...
    std::string name;               ///< the locality, e.g. "AJACCIO", or the client visited
    std::string detail;             ///< a line under the name, e.g. the client's commune; may be empty
    std::string postalCode;
    std::int64_t population = -1;   ///< -1: left blank
    double legKm = 0;               ///< from the row before, km
    double totalKm = 0;             ///< from the start, km
    std::string address;            ///< the leg's itinerary, as a browser takes it; empty: no QR code, no link
};

/// A printable sheet for a tour: header, map, table of the stops.
struct RouteSheet {
    std::string title = "Feuille de route";
    std::string date;               ///< as it is to be printed, e.g. "7 décembre 2026"
    std::string start;              ///< the start as the user knows it, e.g. "AJACCIO-20000"
    std::size_t stops = 0;          ///< stops besides the start
    double totalKm = 0;             ///< kilometres as the crow flies
    MapScene map;
    std::vector<RouteRow> rows;
};

/// Where the sheet's rows went.
struct RouteSheetLayout {
    int pages = 0;
    std::vector<int> pageOfRow;     ///< 1-based page of each row
};

/// Writes the sheet as a PDF, A4 portrait: on the first page the header and
/// the map, then the table, its header repeated on each page, no row split
/// across two, « page x / y » at the foot; per row with an address, a QR code
/// of it and the address as a link.
/// @return empty when written; otherwise a French reason
std::string writeRouteSheet(std::ostream& out, const RouteSheet& sheet, const Borders& borders,
                            RouteSheetLayout* layout = nullptr);

}  // namespace localyx::render
