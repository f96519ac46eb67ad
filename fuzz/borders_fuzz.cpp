// Any bytes as the maps' border file: the parser, then a small map drawn
// with whatever it read.
#include <cairo.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "core/render/map.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const localyx::render::Borders borders = localyx::render::parseBorders(bytes);
    FUZZ_CHECK(borders.ok() != borders.arcs.empty());
    for (const localyx::render::BorderArc& arc : borders.arcs) {
        FUZZ_CHECK(arc.points.size() >= 2 && arc.low.x <= arc.high.x && arc.low.y <= arc.high.y);
    }
    if (borders.ok()) {
        localyx::render::MapScene scene;
        scene.places.push_back({48.5, -1.5, "PONTORSON", 4000, localyx::render::PlaceRole::Centre});
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 64, 64);
        cairo_t* cr = cairo_create(surface);
        const localyx::render::PageRect area{0, 0, 64, 64};
        // The whole country in view, so that every arc is drawn.
        localyx::render::Frame frame = localyx::render::Frame::fit(area, {0, 6000000}, {1300000, 7200000});
        localyx::render::drawMap(cr, frame, scene, borders);
        FUZZ_CHECK(cairo_status(cr) == CAIRO_STATUS_SUCCESS);
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
    return 0;
}
