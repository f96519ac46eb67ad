#include "map_window/search_map.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include <pango/pangocairo.h>

#include "core/distance.h"

namespace localyx {

namespace {

constexpr double kEarthRadiusM = 6371000.0;
constexpr double kPi = 3.14159265358979323846;
constexpr double kMargin = 24;  ///< pixels kept free around the whole search

struct Box {
    double x0, y0, x1, y1;
    bool meets(const Box& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};

/// Pixels of the view from the plane, y down.
struct ViewTransform {
    MapFrame frame;
    double width, height;
    SearchMap::Point operator()(SearchMap::Point p) const {
        return {width / 2 + (p.x - frame.centreX) / frame.metresPerPixel,
                height / 2 - (p.y - frame.centreY) / frame.metresPerPixel};
    }
};

void setColour(cairo_t* cr, unsigned rgb, double alpha = 1) {
    cairo_set_source_rgba(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0,
                          alpha);
}

/// Labels in one font, placed without overlap, each with a white halo.
class Labeller {
public:
    Labeller(cairo_t* cr, double width, double height) : m_cr(cr), m_width(width), m_height(height) {
        m_layout = pango_cairo_create_layout(cr);
    }
    ~Labeller() { g_object_unref(m_layout); }
    Labeller(const Labeller&) = delete;
    Labeller& operator=(const Labeller&) = delete;

    void setFont(const char* description) {
        PangoFontDescription* font = pango_font_description_from_string(description);
        pango_layout_set_font_description(m_layout, font);
        pango_font_description_free(font);
    }
    /// Keeps an area free of labels (a dot, the legend).
    void reserve(const Box& box) { m_taken.push_back(box); }

    /// Tries eight places around the point, the right first; a label that fits
    /// nowhere is left out. @return whether it was drawn
    bool place(const std::string& text, SearchMap::Point at, double gap, unsigned colour) {
        pango_layout_set_text(m_layout, text.c_str(), static_cast<int>(text.size()));
        int w = 0, h = 0;
        pango_layout_get_pixel_size(m_layout, &w, &h);
        const double tw = w, th = h;
        const std::array<std::pair<double, double>, 8> spots{{{gap, -th / 2},
                                                              {-gap - tw, -th / 2},
                                                              {-tw / 2, -gap - th},
                                                              {-tw / 2, gap},
                                                              {gap * 0.7, -gap * 0.7 - th},
                                                              {gap * 0.7, gap * 0.7},
                                                              {-gap * 0.7 - tw, -gap * 0.7 - th},
                                                              {-gap * 0.7 - tw, gap * 0.7}}};
        for (const auto& [dx, dy] : spots) {
            const Box box{at.x + dx, at.y + dy, at.x + dx + tw, at.y + dy + th};
            if (box.x0 < 2 || box.y0 < 2 || box.x1 > m_width - 2 || box.y1 > m_height - 2) continue;
            if (std::any_of(m_taken.begin(), m_taken.end(), [&box](const Box& t) { return t.meets(box); })) continue;
            m_taken.push_back(box);
            draw(box.x0, box.y0, colour);
            return true;
        }
        return false;
    }

    /// Draws where told, whatever lies there.
    void put(const std::string& text, double x, double y, unsigned colour) {
        pango_layout_set_text(m_layout, text.c_str(), static_cast<int>(text.size()));
        draw(x, y, colour);
    }
    std::pair<double, double> size(const std::string& text) {
        pango_layout_set_text(m_layout, text.c_str(), static_cast<int>(text.size()));
        int w = 0, h = 0;
        pango_layout_get_pixel_size(m_layout, &w, &h);
        return {w, h};
    }

private:
    void draw(double x, double y, unsigned colour) {
        cairo_move_to(m_cr, x, y);
        pango_cairo_layout_path(m_cr, m_layout);
        cairo_set_source_rgba(m_cr, 1, 1, 1, 0.9);
        cairo_set_line_width(m_cr, 3);
        cairo_set_line_join(m_cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(m_cr);
        cairo_move_to(m_cr, x, y);
        setColour(m_cr, colour);
        pango_cairo_show_layout(m_cr, m_layout);
    }

    cairo_t* m_cr;
    double m_width, m_height;
    PangoLayout* m_layout = nullptr;
    std::vector<Box> m_taken;
};

void disc(cairo_t* cr, SearchMap::Point at, double radius, unsigned fill) {
    cairo_arc(cr, at.x, at.y, radius, 0, 2 * kPi);
    setColour(cr, fill);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
}

/// The largest of 1, 2, 5 × 10^n km that fits in `most` km.
double roundKm(double most) {
    double step = std::pow(10.0, std::floor(std::log10(std::max(most, 1e-3))));
    for (const double f : {5.0, 2.0, 1.0}) {
        if (f * step <= most) return f * step;
    }
    return step;
}

std::string kmText(double km) {
    if (km >= 1) return std::to_string(static_cast<long long>(std::lround(km))) + " km";
    return std::to_string(static_cast<long long>(std::lround(km * 1000))) + " m";
}

constexpr unsigned kPaper = 0xF7F5EF;
constexpr unsigned kZone = 0x2F6FB5;
constexpr unsigned kLocality = 0x1F3A68;
constexpr unsigned kTown = 0xD0202A;
constexpr unsigned kSecond = 0x1E7B34;
constexpr unsigned kInk = 0x202020;

}  // namespace

SearchMap::SearchMap(SearchAnswer answer) : m_answer(std::move(answer)) {
    if (m_answer.town) {
        m_originLat = m_answer.town->latitude;
        m_originLon = m_answer.town->longitude;
    }
}

SearchMap::Point SearchMap::plane(double latitude, double longitude) const {
    // Equirectangular about the town: true to a few metres over a search.
    const double toRad = kPi / 180;
    return {kEarthRadiusM * (longitude - m_originLon) * toRad * std::cos(m_originLat * toRad),
            kEarthRadiusM * (latitude - m_originLat) * toRad};
}

MapFrame SearchMap::wholeFrame(double width, double height) const {
    if (!m_answer.town || width <= 2 * kMargin || height <= 2 * kMargin) return {};
    const Locality& town = *m_answer.town;
    const double r = std::max(m_answer.radiusDeg, 0.001);
    std::vector<Point> shown{plane(town.latitude - r, town.longitude - r),
                             plane(town.latitude + r, town.longitude + r)};
    for (const Locality& l : m_answer.found) shown.push_back(plane(l.latitude, l.longitude));
    if (m_answer.second) shown.push_back(plane(m_answer.second->latitude, m_answer.second->longitude));
    double x0 = shown[0].x, x1 = x0, y0 = shown[0].y, y1 = y0;
    for (const Point& p : shown) {
        x0 = std::min(x0, p.x), x1 = std::max(x1, p.x), y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
    }
    const double scale = std::max((x1 - x0) / (width - 2 * kMargin), (y1 - y0) / (height - 2 * kMargin));
    return {(x0 + x1) / 2, (y0 + y1) / 2, std::max(scale, 0.5)};
}

void SearchMap::draw(cairo_t* cr, double width, double height, const MapFrame& frame) const {
    cairo_save(cr);
    setColour(cr, kPaper);
    cairo_rectangle(cr, 0, 0, width, height);
    cairo_fill(cr);
    Labeller labels(cr, width, height);
    labels.setFont("Liberation Sans 9");

    if (!m_answer.town || frame.metresPerPixel <= 0) {
        const auto [w, h] = labels.size("aucune localité");
        labels.put("aucune localité", (width - w) / 2, (height - h) / 2, 0x707070);
        cairo_restore(cr);
        return;
    }
    const ViewTransform view{frame, width, height};
    const Locality& town = *m_answer.town;
    const auto at = [&](const Locality& l) { return view(plane(l.latitude, l.longitude)); };

    // The square the list was built from, in degrees: a rectangle on the map.
    const double r = m_answer.radiusDeg;
    cairo_new_path(cr);
    for (const auto& [dLat, dLon] : {std::pair{-r, -r}, {-r, r}, {r, r}, {r, -r}}) {
        const Point corner = view(plane(town.latitude + dLat, town.longitude + dLon));
        cairo_line_to(cr, corner.x, corner.y);
    }
    cairo_close_path(cr);
    setColour(cr, kZone, 0.08);
    cairo_fill_preserve(cr);
    setColour(cr, kZone, 0.9);
    cairo_set_line_width(cr, 1.5);
    const double dash[] = {6, 4};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);

    const Point centre = at(town);
    std::optional<Point> second;
    if (m_answer.second) {
        second = at(*m_answer.second);
        setColour(cr, kTown);
        cairo_set_line_width(cr, 2);
        cairo_move_to(cr, centre.x, centre.y);
        cairo_line_to(cr, second->x, second->y);
        cairo_stroke(cr);
    }

    for (const Locality& l : m_answer.found) {
        const Point p = at(l);
        cairo_arc(cr, p.x, p.y, 3, 0, 2 * kPi);
        setColour(cr, kLocality);
        cairo_fill(cr);
        labels.reserve({p.x - 3, p.y - 3, p.x + 3, p.y + 3});
    }
    disc(cr, centre, 6, kTown);
    labels.reserve({centre.x - 6, centre.y - 6, centre.x + 6, centre.y + 6});
    if (second) {
        disc(cr, *second, 5, kSecond);
        labels.reserve({second->x - 5, second->y - 5, second->x + 5, second->y + 5});
    }

    // The legend and the scale bar take their corners before the labels.
    labels.setFont("Liberation Sans 9");
    const std::string legend = "zone de recherche";
    const auto [lw, lh] = labels.size(legend);
    const Box legendBox{8, height - lh - 16, 8 + 22 + lw + 12, height - 8};
    cairo_rectangle(cr, legendBox.x0, legendBox.y0, legendBox.x1 - legendBox.x0, legendBox.y1 - legendBox.y0);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.85);
    cairo_fill_preserve(cr);
    setColour(cr, 0xB0B0B0);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_rectangle(cr, legendBox.x0 + 6, legendBox.y0 + 4 + lh / 2 - 6, 16, 12);
    setColour(cr, kZone, 0.08);
    cairo_fill_preserve(cr);
    setColour(cr, kZone, 0.9);
    cairo_set_line_width(cr, 1.5);
    cairo_set_dash(cr, dash, 2, 0);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    labels.put(legend, legendBox.x0 + 28, legendBox.y0 + 4, kInk);
    labels.reserve(legendBox);

    const double barKm = roundKm(width / 4 * frame.metresPerPixel / 1000);
    const double barPx = barKm * 1000 / frame.metresPerPixel;
    const std::string barText = kmText(barKm);
    const auto [bw, bh] = labels.size(barText);
    const double bx = width - 12 - barPx, by = height - 12;
    setColour(cr, kInk);
    cairo_set_line_width(cr, 2);
    cairo_move_to(cr, bx, by - 5);
    cairo_line_to(cr, bx, by);
    cairo_line_to(cr, bx + barPx, by);
    cairo_line_to(cr, bx + barPx, by - 5);
    cairo_stroke(cr);
    labels.put(barText, bx + (barPx - bw) / 2, by - 4 - bh, kInk);
    labels.reserve({bx - 2, by - 6 - bh, bx + barPx + 2, by + 2});

    // Labels by importance: the town, the second town and the distance, then
    // the localities nearest first.
    labels.setFont("Liberation Sans Bold 10");
    labels.place(town.name, centre, 8, kTown);
    if (second) {
        labels.place(m_answer.second->name, *second, 7, kSecond);
        const Point middle{(centre.x + second->x) / 2, (centre.y + second->y) / 2};
        labels.place(std::to_string(m_answer.secondKm) + " km", middle, 4, kTown);
    }
    labels.setFont("Liberation Sans 8.5");
    for (const Locality& l : m_answer.found) labels.place(l.name, at(l), 5, kLocality);
    if (m_answer.found.empty()) {
        const auto [w, h] = labels.size("aucune localité");
        labels.put("aucune localité", (width - w) / 2, 12, 0x707070);
    }
    cairo_restore(cr);
}

}  // namespace localyx
