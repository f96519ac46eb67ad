#pragma once

#include <cairo.h>

#include <string>

namespace localyx::render {

/// cairo's write callback onto the std::ostream given as closure.
cairo_status_t writeToStream(void* closure, const unsigned char* data, unsigned int length);

/// A French reason for a cairo status; empty for success.
std::string cairoProblem(cairo_status_t status);

}  // namespace localyx::render
