#pragma once

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/render/borders.h"
#include "core/render/frame.h"

namespace localyx::render {

/// What a place is on the map: it sets its marker and its label's priority.
enum class PlaceRole {
    Locality,    ///< a dot whose area grows with the population
    Centre,      ///< the search centre: a red ring and cross
    Start,       ///< the start of a tour: a red square
    Stop,        ///< a tour stop: a disc holding its number
    SecondTown,  ///< the window's second town: a green diamond
    Client,      ///< a client of a client file: an orange triangle
};

/// One place to draw. Plain data: the caller fills it from any table.
struct Place {
    double latitude = 0;   ///< decimal degrees, north positive
    double longitude = 0;  ///< decimal degrees, east positive
    std::string label;     ///< UTF-8; drawn as given, characters XML forbids replaced by U+FFFD
    std::int64_t population = -1;  ///< inhabitants, -1 when unknown (smallest dot)
    PlaceRole role = PlaceRole::Locality;
    int stop = 0;          ///< for a Stop, its number in the visit (1 up)
};

/// The true circle of points `km` kilometres from its centre (the distance
/// CalcDistance measures, on the sphere), drawn as such.
struct SearchCircle {
    double latitude = 0, longitude = 0;  ///< decimal degrees
    double km = 0;                       ///< kilometres, > 0
};

/// The window's search zone: the box |Δlat| < degrees and |Δlon| < degrees
/// around a point, drawn as that box with « zone de recherche » in a legend.
struct SearchBox {
    double latitude = 0, longitude = 0;  ///< decimal degrees
    double degrees = 0;                  ///< half side, decimal degrees
    /// The window's box for a radius in km: degrees = km / 111.
    static SearchBox aroundKm(double latitude, double longitude, double km) {
        return {latitude, longitude, km / 111.0};
    }
};

/// A straight line between two places, labelled at its middle.
struct DistanceLine {
    std::size_t from = 0, to = 0;  ///< indices into MapScene::places
    std::string text;              ///< e.g. "12,3 km"
};

/// Everything a map shows besides the borders.
struct MapScene {
    std::string title;             ///< top left; none when empty
    std::string note;              ///< a line under the title, e.g. « aucune localité »
    std::vector<Place> places;
    std::optional<SearchCircle> circle;
    std::optional<SearchBox> box;
    std::optional<DistanceLine> line;
    std::vector<std::size_t> path; ///< a tour, indices into places in visiting order, drawn with arrows
};

/// The credits every map carries.
inline constexpr std::string_view kMapCredits =
    "Contours : IGN – Admin Express COG 2018 (Licence Ouverte) · Communes : INSEE COG 2026";

/// A label drawn, and where (page units, halo included).
struct PlacedLabel {
    std::size_t place = 0;  ///< index into MapScene::places
    PageRect box;
};

/// What drawMap did, for the window's hit-testing and for checks.
struct MapDrawing {
    std::vector<PlacedLabel> labels;   ///< in placing order
    std::vector<std::size_t> leftOut;  ///< places whose label fitted nowhere (their marker is drawn)
    std::vector<PageRect> furniture;   ///< title, legend, north arrow, scale bar, credits
};

/// A frame over `area` showing the circle, the box and every place, with a
/// margin; 1 km wide at least. Places with non-finite coordinates are ignored.
Frame fitScene(const MapScene& scene, const PageRect& area);

/// Draws the map into any cairo context (image, PDF, SVG, recording), clipped
/// to frame.area, in the context's current user units; sizes (lines, text)
/// scale with the area (a 800 x 800 area gets labels of 10.5 units, a
/// smaller one no less than 8). The context's state is restored afterwards.
/// Borders that failed to load (!borders.ok()) are simply not drawn. Uses
/// Liberation Sans through pango. Never throws; a cairo error stays in the
/// context (cairo_status).
MapDrawing drawMap(cairo_t* cr, const Frame& frame, const MapScene& scene, const Borders& borders);

}  // namespace localyx::render
