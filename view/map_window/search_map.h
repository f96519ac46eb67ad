#pragma once

#include <memory>

#include <cairo.h>

#include "app/search_answer.h"
#include "core/render/borders.h"
#include "core/render/frame.h"
#include "core/render/map.h"

namespace localyx {

/// The map of a search as the window made it, drawn by the renderer
/// localyx-query uses: the département borders, the searched square
/// (« zone de recherche »), the listed localities, the chosen town, and the
/// line to the second town with the distance result2 shows.
class SearchMap {
public:
    SearchMap(const SearchAnswer& answer, std::shared_ptr<const render::Borders> borders);

    /// The frame showing the whole search over a view of this size (pixels);
    /// metropolitan France before any search.
    render::Frame wholeFrame(double width, double height) const;

    /// Draws on `cr` in its user units (the view's pixels; the caller
    /// scales for the device).
    void draw(cairo_t* cr, const render::Frame& frame) const;

    const render::MapScene& scene() const { return m_scene; }

private:
    render::MapScene m_scene;
    std::shared_ptr<const render::Borders> m_borders;
};

}  // namespace localyx
