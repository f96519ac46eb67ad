#include "core/render/text_drawing.h"

#include <string>

#include "core/text_encoding.h"

namespace localyx::render {

TextDrawing::TextDrawing(cairo_t* cr)
    : m_cr(cr), m_layout(pango_cairo_create_layout(cr)),
      m_font(pango_font_description_from_string("Liberation Sans")) {
    // Hinting rounds glyphs to device pixels: sizes would then differ between
    // an image and a PDF of the same map.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(pango_layout_get_context(m_layout), options);
    cairo_font_options_destroy(options);
    pango_layout_context_changed(m_layout);
    // A wrapped address must read back as it is: no hyphen added at the breaks.
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_insert_hyphens_new(FALSE));
    pango_layout_set_attributes(m_layout, attributes);
    pango_attr_list_unref(attributes);
}

TextDrawing::~TextDrawing() {
    pango_font_description_free(m_font);
    g_object_unref(m_layout);
}

void TextDrawing::set(std::string_view text, double size, bool bold, double width) {
    const std::string safe = xmlSafe(text);
    pango_font_description_set_absolute_size(m_font, size * PANGO_SCALE);
    pango_font_description_set_weight(m_font, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_layout_set_font_description(m_layout, m_font);
    pango_layout_set_width(m_layout, width > 0 ? static_cast<int>(width * PANGO_SCALE) : -1);
    pango_layout_set_wrap(m_layout, PANGO_WRAP_WORD_CHAR);
    pango_layout_set_text(m_layout, safe.data(), static_cast<int>(safe.size()));
}

PageRect TextDrawing::extent() const {
    PangoRectangle logical;
    pango_layout_get_extents(m_layout, nullptr, &logical);
    return {0, 0, static_cast<double>(logical.width) / PANGO_SCALE, static_cast<double>(logical.height) / PANGO_SCALE};
}

void TextDrawing::draw(double x, double y, double halo, double r, double g, double b) {
    cairo_save(m_cr);
    cairo_move_to(m_cr, x, y);
    if (halo > 0) {
        pango_cairo_layout_path(m_cr, m_layout);
        cairo_set_source_rgb(m_cr, 1, 1, 1);
        cairo_set_line_width(m_cr, 2 * halo);
        cairo_set_line_join(m_cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(m_cr);
        cairo_move_to(m_cr, x, y);
    }
    cairo_set_source_rgb(m_cr, r, g, b);
    pango_cairo_show_layout(m_cr, m_layout);
    cairo_restore(m_cr);
}

}  // namespace localyx::render
