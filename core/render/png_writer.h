#pragma once

#include <cairo.h>

#include <ostream>
#include <string>

namespace localyx::render {

/// Writes an RGB24 or ARGB32 image surface as an 8-bit RGB PNG, with zlib's
/// fastest level: a map is mostly flat colour, so it costs little size, and
/// it takes a third of the time of cairo's own writer.
/// @return empty when written; otherwise a French reason
std::string writePng(cairo_surface_t* image, std::ostream& out);

}  // namespace localyx::render
