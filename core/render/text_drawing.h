#pragma once

#include <cairo.h>
#include <pango/pangocairo.h>

#include <string_view>

#include "core/render/frame.h"

namespace localyx::render {

/// Liberation Sans texts on one cairo context, sized in its user units. One
/// pango layout is kept and reused: labels by the hundred stay cheap.
class TextDrawing {
public:
    explicit TextDrawing(cairo_t* cr);
    ~TextDrawing();
    TextDrawing(const TextDrawing&) = delete;
    TextDrawing& operator=(const TextDrawing&) = delete;

    /// Sets the text (made XML-safe), its size in user units and weight;
    /// width > 0 wraps it at that many units.
    void set(std::string_view text, double size, bool bold = false, double width = 0);
    /// The text's logical extent, user units, its top left at (0, 0).
    PageRect extent() const;
    /// Draws the text with its top left at (x, y); a white halo of `halo`
    /// units around the glyphs when halo > 0.
    void draw(double x, double y, double halo = 0, double r = 0.1, double g = 0.1, double b = 0.1);

private:
    cairo_t* m_cr;
    PangoLayout* m_layout;
    PangoFontDescription* m_font;
};

}  // namespace localyx::render
