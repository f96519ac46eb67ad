#pragma once

#include "core/render/projection.h"

namespace localyx::render {

/// A point on the page, in the cairo_t's user units (pixels for an image,
/// points for a PDF), y growing downwards.
struct PagePoint {
    double x = 0;
    double y = 0;
};

/// A rectangle on the page, same units.
struct PageRect {
    double x = 0, y = 0, width = 0, height = 0;
    double right() const { return x + width; }
    double bottom() const { return y + height; }
    bool overlaps(const PageRect& o) const {
        return x < o.right() && o.x < right() && y < o.bottom() && o.y < bottom();
    }
    bool contains(const PageRect& o) const {
        return o.x >= x && o.y >= y && o.right() <= right() && o.bottom() <= bottom();
    }
};

/// What part of Lambert-93 a map shows, and where on the page: the point
/// `centre` (metres) sits at the middle of `area`, and one page unit spans
/// `metresPerUnit` metres both ways. A plain value: copy it, change it.
struct Frame {
    PageRect area{0, 0, 800, 800};
    Metres centre{700000, 6600000};
    double metresPerUnit = 1000;  ///< metres per page unit, > 0

    /// Lambert-93 metres to page units, and back; a non-finite input gives
    /// a non-finite output.
    PagePoint toPage(Metres m) const;
    Metres toMetres(PagePoint p) const;

    /// The frame over `area` whose view holds the box [low, high] (metres)
    /// with `margin` page units to spare on each side. An empty or
    /// degenerate box is shown 1 km wide at least.
    static Frame fit(const PageRect& area, Metres low, Metres high, double margin = 0);

    /// Zooms by `factor` (> 1 closer, < 1 farther) keeping the metres under
    /// page point `fixed` where they are; a factor that is not a positive
    /// finite number changes nothing.
    void zoomAbout(PagePoint fixed, double factor);

    /// Moves the view so that what was at page point p is now at p + (dx, dy),
    /// page units.
    void pan(double dx, double dy);
};

}  // namespace localyx::render
