#pragma once

#include <cairo.h>

#include <string_view>

namespace localyx::render {

/// Draws `text` (UTF-8 bytes) as a QR code, error correction L (7 %, the
/// smallest code: it is printed, not worn), its top left
/// at (x, y), `module` user units a square, black on white, no quiet zone;
/// nothing when the text is too long for a QR code (qrModules gives the side).
void drawQrCode(cairo_t* cr, std::string_view text, double x, double y, double module);

/// The side, in modules, of the QR code drawQrCode would draw; 0 when none.
int qrModules(std::string_view text);

}  // namespace localyx::render
