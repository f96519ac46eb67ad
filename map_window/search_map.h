#pragma once

#include <cairo.h>

#include "app/search_answer.h"

namespace localyx {

/// Which part of the map a view shows: its centre in the map's plane and its
/// scale. Plane units are metres, x east and y north.
struct MapFrame {
    double centreX = 0;
    double centreY = 0;
    double metresPerPixel = 0;  ///< 0: nothing to show
};

/// The map of a search as the window made it: the searched square (« zone de
/// recherche »), the listed localities and their labels, the chosen town,
/// and the line to the second town with its distance.
class SearchMap {
public:
    explicit SearchMap(SearchAnswer answer);

    const SearchAnswer& answer() const { return m_answer; }

    /// The frame that shows the whole search on a view of this size (pixels).
    MapFrame wholeFrame(double width, double height) const;

    /// Draws on `cr` over a width × height area in its user units (pixels of
    /// the view; the caller scales for the device).
    void draw(cairo_t* cr, double width, double height, const MapFrame& frame) const;

    struct Point {
        double x = 0;
        double y = 0;
    };
    /// A place's position in the map's plane, metres.
    Point plane(double latitude, double longitude) const;

private:
    SearchAnswer m_answer;
    double m_originLat = 0;
    double m_originLon = 0;
};

}  // namespace localyx
