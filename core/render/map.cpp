#include "core/render/map.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <numeric>

#include "core/render/text_drawing.h"

namespace localyx::render {
namespace {

constexpr double kPi = std::numbers::pi;
// The sphere of CalcDistance: a great circle of 40,030,218 m.
constexpr double kEarthRadiusM = 40030218.0 / (2 * kPi);

struct Colour {
    double r, g, b;
};
constexpr Colour kRed{0.80, 0.10, 0.10};
constexpr Colour kBlue{0.12, 0.32, 0.62};
constexpr Colour kGreen{0.10, 0.55, 0.20};
constexpr Colour kOrange{0.90, 0.50, 0.05};
constexpr Colour kInk{0.10, 0.10, 0.10};

void setColour(cairo_t* cr, Colour c, double alpha = 1) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

// Sizes grow with the area so that a printed page and a large image look alike.
double unitFor(const PageRect& area) { return std::clamp(std::min(area.width, area.height) / 800.0, 0.75, 6.0); }

bool finite(const Place& p) { return std::isfinite(p.latitude) && std::isfinite(p.longitude); }

// The points `km` away from the centre in every direction, on CalcDistance's sphere.
std::vector<Metres> circlePoints(const SearchCircle& c) {
    std::vector<Metres> points;
    const double lat1 = c.latitude * kPi / 180, lon1 = c.longitude * kPi / 180;
    const double delta = c.km * 1000.0 / kEarthRadiusM;
    constexpr int kSteps = 120;
    for (int i = 0; i <= kSteps; ++i) {
        const double bearing = 2 * kPi * i / kSteps;
        const double lat2 = std::asin(std::sin(lat1) * std::cos(delta) + std::cos(lat1) * std::sin(delta) * std::cos(bearing));
        const double lon2 = lon1 + std::atan2(std::sin(bearing) * std::sin(delta) * std::cos(lat1),
                                              std::cos(delta) - std::sin(lat1) * std::sin(lat2));
        points.push_back(toLambert93(lat2 * 180 / kPi, lon2 * 180 / kPi));
    }
    return points;
}

// The box's edges, bent as parallels and meridians are in Lambert-93.
std::vector<Metres> boxPoints(const SearchBox& b) {
    std::vector<Metres> points;
    constexpr int kSteps = 24;
    const double s = b.degrees;
    const std::array<std::array<double, 2>, 5> corners{{{-s, -s}, {-s, s}, {s, s}, {s, -s}, {-s, -s}}};
    for (std::size_t c = 0; c + 1 < corners.size(); ++c) {
        for (int i = 0; i < kSteps; ++i) {
            const double t = static_cast<double>(i) / kSteps;
            points.push_back(toLambert93(b.latitude + corners[c][0] + t * (corners[c + 1][0] - corners[c][0]),
                                         b.longitude + corners[c][1] + t * (corners[c + 1][1] - corners[c][1])));
        }
    }
    points.push_back(points.front());
    return points;
}

void tracePolyline(cairo_t* cr, const Frame& frame, const std::vector<Metres>& points) {
    for (std::size_t i = 0; i < points.size(); ++i) {
        const PagePoint p = frame.toPage(points[i]);
        if (i == 0) {
            cairo_move_to(cr, p.x, p.y);
        } else {
            cairo_line_to(cr, p.x, p.y);
        }
    }
}

void drawBorders(cairo_t* cr, const Frame& frame, const Borders& borders, double unit) {
    // The 1 km lines once a kilometre is under four units: the eye sees no difference.
    const int tolerance = frame.metresPerUnit * unit > 250 ? 1000 : 100;
    const Metres low = frame.toMetres({frame.area.x, frame.area.bottom()});
    const Metres high = frame.toMetres({frame.area.right(), frame.area.y});
    struct Pen {
        BorderKind kind;
        double width, grey;
    };
    const std::array<Pen, 3> pens{{{BorderKind::Departement, 0.6, 0.62},
                                   {BorderKind::Region, 1.1, 0.45},
                                   {BorderKind::Outline, 1.8, 0.20}}};
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (const Pen& pen : pens) {
        for (const BorderArc& arc : borders.arcs) {
            if (arc.kind != pen.kind || arc.toleranceM != tolerance) continue;
            if (arc.high.x < low.x || arc.low.x > high.x || arc.high.y < low.y || arc.low.y > high.y) continue;
            tracePolyline(cr, frame, arc.points);
        }
        cairo_set_line_width(cr, pen.width * unit);
        cairo_set_source_rgb(cr, pen.grey, pen.grey, pen.grey);
        cairo_stroke(cr);
    }
}

double dotRadius(const Place& p, double unit) {
    // Area in proportion to the population, with a floor so a hamlet still shows.
    const double pop = static_cast<double>(std::max<std::int64_t>(p.population, 0));
    return unit * std::clamp(std::sqrt(pop) / 30.0, 2.0, 7.0);
}

// dotUnit: the unit of plain localities' dots, smaller on a map of a whole
// region, where thousands of them would merge into one blot.
double markerRadius(const Place& p, double unit, double dotUnit) {
    switch (p.role) {
    case PlaceRole::Locality:
        return dotRadius(p, dotUnit);
    case PlaceRole::Stop:
        return 8 * unit;
    default:
        return 6 * unit;
    }
}

void drawMarker(cairo_t* cr, TextDrawing& text, const Place& p, PagePoint at, double unit, double dotUnit) {
    const double r = markerRadius(p, unit, dotUnit);
    cairo_new_path(cr);
    cairo_set_line_width(cr, unit);
    switch (p.role) {
    case PlaceRole::Locality:
        cairo_arc(cr, at.x, at.y, r, 0, 2 * kPi);
        setColour(cr, kBlue, 0.85);
        cairo_fill_preserve(cr);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_set_line_width(cr, 0.6 * unit);
        cairo_stroke(cr);
        break;
    case PlaceRole::Centre:
        cairo_arc(cr, at.x, at.y, r, 0, 2 * kPi);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_fill_preserve(cr);
        setColour(cr, kRed);
        cairo_set_line_width(cr, 2 * unit);
        cairo_stroke(cr);
        cairo_move_to(cr, at.x - 1.8 * r, at.y);
        cairo_line_to(cr, at.x + 1.8 * r, at.y);
        cairo_move_to(cr, at.x, at.y - 1.8 * r);
        cairo_line_to(cr, at.x, at.y + 1.8 * r);
        cairo_set_line_width(cr, 1.2 * unit);
        cairo_stroke(cr);
        break;
    case PlaceRole::Start:
        cairo_rectangle(cr, at.x - r, at.y - r, 2 * r, 2 * r);
        setColour(cr, kRed);
        cairo_fill_preserve(cr);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_stroke(cr);
        break;
    case PlaceRole::Stop: {
        cairo_arc(cr, at.x, at.y, r, 0, 2 * kPi);
        setColour(cr, kBlue);
        cairo_fill_preserve(cr);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_stroke(cr);
        text.set(std::to_string(p.stop), (p.stop >= 100 ? 6.5 : 9) * unit, true);
        const PageRect e = text.extent();
        text.draw(at.x - e.width / 2, at.y - e.height / 2, 0, 1, 1, 1);
        break;
    }
    case PlaceRole::SecondTown:
        cairo_move_to(cr, at.x, at.y - 1.3 * r);
        cairo_line_to(cr, at.x + r, at.y);
        cairo_line_to(cr, at.x, at.y + 1.3 * r);
        cairo_line_to(cr, at.x - r, at.y);
        cairo_close_path(cr);
        setColour(cr, kGreen);
        cairo_fill_preserve(cr);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_stroke(cr);
        break;
    case PlaceRole::Client:
        cairo_move_to(cr, at.x, at.y - 1.2 * r);
        cairo_line_to(cr, at.x + r, at.y + 0.8 * r);
        cairo_line_to(cr, at.x - r, at.y + 0.8 * r);
        cairo_close_path(cr);
        setColour(cr, kOrange);
        cairo_fill_preserve(cr);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_stroke(cr);
        break;
    }
}

void drawArrowHead(cairo_t* cr, PagePoint a, PagePoint b, double unit) {
    const double dx = b.x - a.x, dy = b.y - a.y, length = std::hypot(dx, dy);
    if (length < 30 * unit) return;  // no room beside the two discs
    const double ux = dx / length, uy = dy / length, size = 6 * unit;
    const PagePoint tip{a.x + dx * 0.55 + ux * size / 2, a.y + dy * 0.55 + uy * size / 2};
    cairo_move_to(cr, tip.x, tip.y);
    cairo_line_to(cr, tip.x - ux * size * 1.6 - uy * size, tip.y - uy * size * 1.6 + ux * size);
    cairo_line_to(cr, tip.x - ux * size * 1.6 + uy * size, tip.y - uy * size * 1.6 - ux * size);
    cairo_close_path(cr);
    cairo_fill(cr);
}

int priorityClass(PlaceRole role) {
    switch (role) {
    case PlaceRole::Centre:
    case PlaceRole::Start:
        return 0;
    case PlaceRole::Stop:
        return 1;
    case PlaceRole::SecondTown:
        return 2;
    case PlaceRole::Client:
        return 3;
    case PlaceRole::Locality:
        break;
    }
    return 4;
}

// Rectangles filed by the cells of a grid over the page, so that a label
// is checked against its neighbours only: a map of the whole country holds
// tens of thousands of dots.
class RectIndex {
public:
    RectIndex(const PageRect& page, double cell)
        : m_page(page), m_cell(cell), m_cols(cellsAlong(page.width)), m_rows(cellsAlong(page.height)),
          m_cells(m_cols * m_rows) {}

    std::size_t add(const PageRect& r) {
        m_rects.push_back(r);
        visit(r, [&](std::vector<std::size_t>& cell) { cell.push_back(m_rects.size() - 1); });
        return m_rects.size() - 1;
    }
    /// Whether a rectangle overlaps `box`, those `ignored` says to skip left out.
    template <class Ignored>
    bool overlaps(const PageRect& box, Ignored ignored) {
        bool found = false;
        visit(box, [&](std::vector<std::size_t>& cell) {
            for (std::size_t k = 0; k < cell.size() && !found; ++k) {
                found = !ignored(cell[k]) && m_rects[cell[k]].overlaps(box);
            }
        });
        return found;
    }

private:
    std::size_t cellsAlong(double length) const {
        return static_cast<std::size_t>(std::clamp(std::ceil(length / m_cell), 1.0, 4096.0));
    }
    std::size_t clampCell(double offset, std::size_t count) const {
        return static_cast<std::size_t>(std::clamp(std::floor(offset / m_cell), 0.0, static_cast<double>(count - 1)));
    }
    template <class F>
    void visit(const PageRect& r, F f) {
        const std::size_t c0 = clampCell(r.x - m_page.x, m_cols), c1 = clampCell(r.right() - m_page.x, m_cols);
        const std::size_t r0 = clampCell(r.y - m_page.y, m_rows), r1 = clampCell(r.bottom() - m_page.y, m_rows);
        for (std::size_t row = r0; row <= r1; ++row) {
            for (std::size_t col = c0; col <= c1; ++col) f(m_cells[row * m_cols + col]);
        }
    }

    PageRect m_page;
    double m_cell;
    std::size_t m_cols, m_rows;
    std::vector<std::vector<std::size_t>> m_cells;
    std::vector<PageRect> m_rects;
};

// Greedy: the most important label first, the first of eight places around
// its marker that is free, or none.
void placeLabels(TextDrawing& text, const Frame& frame, const MapScene& scene,
                 const std::vector<PagePoint>& at, double unit, double dotUnit, MapDrawing& drawing) {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < scene.places.size(); ++i) {
        if (finite(scene.places[i]) && !scene.places[i].label.empty()) order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const Place &pa = scene.places[a], &pb = scene.places[b];
        if (priorityClass(pa.role) != priorityClass(pb.role)) return priorityClass(pa.role) < priorityClass(pb.role);
        if (pa.role == PlaceRole::Stop) return pa.stop < pb.stop;
        return pa.population > pb.population;
    });
    // Markers are obstacles too, so that a label hides no place if it can help it.
    RectIndex taken(frame.area, 32 * unit);
    std::vector<std::size_t> markerOwner;  // per rectangle: its place, or none for furniture and labels
    for (const PageRect& r : drawing.furniture) {
        taken.add(r);
        markerOwner.push_back(static_cast<std::size_t>(-1));
    }
    for (std::size_t i = 0; i < scene.places.size(); ++i) {
        if (!finite(scene.places[i])) continue;
        const double r = markerRadius(scene.places[i], unit, dotUnit);
        taken.add({at[i].x - r, at[i].y - r, 2 * r, 2 * r});
        markerOwner.push_back(i);
    }
    // What a label may cover when nothing else is free: the dot of a plain
    // locality ranked after its own place, so that in a dense area the towns
    // are named rather than the villages at the edge.
    std::vector<std::size_t> rank(scene.places.size(), scene.places.size());
    for (std::size_t k = 0; k < order.size(); ++k) rank[order[k]] = k;
    const auto coverable = [&](std::size_t owner, std::size_t label) {
        return owner < scene.places.size() && scene.places[owner].role == PlaceRole::Locality &&
               rank[owner] > rank[label];
    };
    const PageRect page = frame.area;
    const double halo = 1.5 * unit, gap = 2 * unit;
    for (const std::size_t i : order) {
        const Place& p = scene.places[i];
        const bool bold = priorityClass(p.role) <= 2;
        text.set(p.label, (bold ? 12 : 10.5) * unit, bold);
        const PageRect e = text.extent();
        const double w = e.width + 2 * halo, h = e.height + 2 * halo;
        const double r = markerRadius(p, unit, dotUnit) + gap;
        const double d = r * 0.7071;
        const PagePoint c = at[i];
        // Right, then above right, below right, left...: the cartographer's usual order.
        const std::array<PagePoint, 8> corners{{
            {c.x + r, c.y - h / 2}, {c.x + d, c.y - d - h}, {c.x + d, c.y + d},
            {c.x - r - w, c.y - h / 2}, {c.x - d - w, c.y - d - h}, {c.x - d - w, c.y + d},
            {c.x - w / 2, c.y - r - h}, {c.x - w / 2, c.y + r},
        }};
        bool placed = false;
        // Off every dot first, then over lesser ones rather than unnamed.
        for (int pass = 0; pass < 2 && !placed; ++pass) {
            for (const PagePoint& corner : corners) {
                const PageRect box{corner.x, corner.y, w, h};
                if (!page.contains(box)) continue;
                const auto ignored = [&](std::size_t k) {
                    if (k >= markerOwner.size()) return false;  // a label
                    return markerOwner[k] == i || (pass == 1 && coverable(markerOwner[k], i));
                };
                if (taken.overlaps(box, ignored)) continue;
                taken.add(box);
                drawing.labels.push_back({i, box});
                text.draw(box.x + halo, box.y + halo, halo, kInk.r, kInk.g, kInk.b);
                placed = true;
                break;
            }
        }
        if (!placed) drawing.leftOut.push_back(i);
    }
}

// A round length for the scale bar: 1, 2 or 5 times a power of ten, km.
double roundKm(double km) {
    const double power = std::pow(10.0, std::floor(std::log10(km)));
    for (const double step : {5.0, 2.0, 1.0}) {
        if (step * power <= km) return step * power;
    }
    return power;
}

std::string kmText(double km) {
    std::string text = km >= 1 ? std::to_string(static_cast<long long>(std::lround(km)))
                               : "0," + std::to_string(static_cast<int>(std::lround(km * 10)));
    if (km < 0.1) text = "0,0" + std::to_string(static_cast<int>(std::lround(km * 100)));
    return text + " km";
}

void whiteBox(cairo_t* cr, const PageRect& box) {
    cairo_rectangle(cr, box.x, box.y, box.width, box.height);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.85);
    cairo_fill(cr);
}

// Title, legend, north arrow, scale bar and credits: measured first, so that
// labels keep off them, drawn last, over everything.
struct Furniture {
    PageRect title, legend, north, scale, credits;
};

Furniture measureFurniture(TextDrawing& text, const Frame& frame, const MapScene& scene, double unit) {
    const PageRect& a = frame.area;
    const double pad = 10 * unit;
    Furniture f;
    double y = a.y + pad;
    if (!scene.title.empty() || !scene.note.empty()) {
        const double maxWidth = a.width * 0.7;
        double w = 0, h = 0;
        if (!scene.title.empty()) {
            text.set(scene.title, 16 * unit, true, maxWidth);
            w = text.extent().width;
            h = text.extent().height;
        }
        if (!scene.note.empty()) {
            text.set(scene.note, 12 * unit, false, maxWidth);
            w = std::max(w, text.extent().width);
            h += text.extent().height;
        }
        f.title = {a.x + pad, y, w + 2 * pad / 2, h + pad};
        y = f.title.bottom() + pad / 2;
    }
    if (scene.box) {
        text.set("zone de recherche", 10 * unit);
        f.legend = {a.x + pad, y, text.extent().width + 26 * unit, text.extent().height + 8 * unit};
    }
    f.north = {a.right() - pad - 26 * unit, a.y + pad, 26 * unit, 48 * unit};
    text.set(std::string(kMapCredits), 8 * unit, false, a.width * 0.6);
    const PageRect c = text.extent();
    f.credits = {a.right() - pad - c.width - 8 * unit, a.bottom() - pad - c.height - 4 * unit, c.width + 8 * unit,
                 c.height + 4 * unit};
    f.scale = {a.x + pad, a.bottom() - pad - 30 * unit, a.width * 0.2 + 52 * unit, 30 * unit};
    return f;
}

void drawFurniture(cairo_t* cr, TextDrawing& text, const Frame& frame, const MapScene& scene, const Furniture& f,
                   double unit) {
    const double pad = 10 * unit;
    if (f.title.width > 0) {
        whiteBox(cr, f.title);
        double y = f.title.y + pad / 2;
        const double maxWidth = frame.area.width * 0.7;
        if (!scene.title.empty()) {
            text.set(scene.title, 16 * unit, true, maxWidth);
            text.draw(f.title.x + pad / 2, y);
            y += text.extent().height;
        }
        if (!scene.note.empty()) {
            text.set(scene.note, 12 * unit, false, maxWidth);
            text.draw(f.title.x + pad / 2, y, 0, kRed.r, kRed.g, kRed.b);
        }
    }
    if (f.legend.width > 0) {
        whiteBox(cr, f.legend);
        const double s = 12 * unit;
        cairo_rectangle(cr, f.legend.x + 4 * unit, f.legend.y + (f.legend.height - s) / 2, s, s);
        const double dash = 4 * unit;
        cairo_set_dash(cr, &dash, 1, 0);
        setColour(cr, kGreen);
        cairo_set_line_width(cr, 1.5 * unit);
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0);
        text.set("zone de recherche", 10 * unit);
        text.draw(f.legend.x + 20 * unit, f.legend.y + 4 * unit);
    }
    // North arrow, turned to true north (Lambert-93 meridians converge).
    {
        const double cx = f.north.x + f.north.width / 2, cy = f.north.y + 30 * unit;
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, -northAngle(longitudeOf(frame.centre)));
        const double s = 9 * unit;
        cairo_move_to(cr, 0, -2 * s);
        cairo_line_to(cr, s * 0.8, s * 0.8);
        cairo_line_to(cr, 0, 0);
        cairo_close_path(cr);
        setColour(cr, kInk);
        cairo_fill(cr);
        cairo_move_to(cr, 0, -2 * s);
        cairo_line_to(cr, -s * 0.8, s * 0.8);
        cairo_line_to(cr, 0, 0);
        cairo_close_path(cr);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_fill_preserve(cr);
        setColour(cr, kInk);
        cairo_set_line_width(cr, unit);
        cairo_stroke(cr);
        cairo_restore(cr);
        text.set("N", 12 * unit, true);
        text.draw(cx - text.extent().width / 2, f.north.y - 4 * unit, 1.5 * unit);
    }
    // Scale bar: a round number of kilometres about a fifth of the width.
    {
        const double km = roundKm(frame.area.width * 0.2 * frame.metresPerUnit / 1000.0);
        const double length = km * 1000.0 / frame.metresPerUnit;
        const double x = f.scale.x + 6 * unit, y = f.scale.bottom() - 8 * unit, h = 5 * unit;
        whiteBox(cr, {f.scale.x, f.scale.y, length + 12 * unit + 40 * unit, f.scale.height});
        cairo_rectangle(cr, x, y - h, length / 2, h);
        setColour(cr, kInk);
        cairo_fill(cr);
        cairo_rectangle(cr, x, y - h, length, h);
        cairo_set_line_width(cr, unit);
        cairo_stroke(cr);
        text.set(kmText(km), 10 * unit);
        text.draw(x, y - h - text.extent().height - 2 * unit);
    }
    whiteBox(cr, f.credits);
    text.set(std::string(kMapCredits), 8 * unit, false, frame.area.width * 0.6);
    text.draw(f.credits.x + 4 * unit, f.credits.y + 2 * unit, 0, 0.3, 0.3, 0.3);
}

}  // namespace

Frame fitScene(const MapScene& scene, const PageRect& area) {
    Metres low{INFINITY, INFINITY}, high{-INFINITY, -INFINITY};
    const auto take = [&](Metres m) {
        if (!std::isfinite(m.x) || !std::isfinite(m.y)) return;
        low = {std::min(low.x, m.x), std::min(low.y, m.y)};
        high = {std::max(high.x, m.x), std::max(high.y, m.y)};
    };
    for (const Place& p : scene.places) {
        if (finite(p)) take(toLambert93(p.latitude, p.longitude));
    }
    if (scene.circle) {
        for (const Metres& m : circlePoints(*scene.circle)) take(m);
    }
    if (scene.box) {
        for (const Metres& m : boxPoints(*scene.box)) take(m);
    }
    if (!(low.x <= high.x)) low = high = {700000, 6600000};
    // Room for the title at the top and the scale bar and credits below.
    const double unit = unitFor(area);
    return Frame::fit(area, low, high, 60 * unit);
}

MapDrawing drawMap(cairo_t* cr, const Frame& frame, const MapScene& scene, const Borders& borders) {
    MapDrawing drawing;
    const double unit = unitFor(frame.area);
    // Full size up to about 300 m a unit (a 100 km map), then shrinking.
    const double dotUnit = unit * std::clamp(std::sqrt(300.0 / (frame.metresPerUnit * unit)), 0.4, 1.0);
    cairo_save(cr);
    cairo_rectangle(cr, frame.area.x, frame.area.y, frame.area.width, frame.area.height);
    cairo_clip(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    TextDrawing text(cr);

    if (borders.ok()) drawBorders(cr, frame, borders, unit);

    if (scene.box) {
        tracePolyline(cr, frame, boxPoints(*scene.box));
        setColour(cr, kGreen, 0.06);
        cairo_fill_preserve(cr);
        const double dash = 6 * unit;
        cairo_set_dash(cr, &dash, 1, 0);
        setColour(cr, kGreen);
        cairo_set_line_width(cr, 1.5 * unit);
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0);
    }
    if (scene.circle) {
        tracePolyline(cr, frame, circlePoints(*scene.circle));
        setColour(cr, kRed, 0.05);
        cairo_fill_preserve(cr);
        setColour(cr, kRed, 0.8);
        cairo_set_line_width(cr, 1.8 * unit);
        cairo_stroke(cr);
    }

    std::vector<PagePoint> at(scene.places.size());
    for (std::size_t i = 0; i < scene.places.size(); ++i) {
        const Place& p = scene.places[i];
        at[i] = finite(p) ? frame.toPage(toLambert93(p.latitude, p.longitude)) : PagePoint{NAN, NAN};
    }
    const auto valid = [&](std::size_t i) { return i < at.size() && finite(scene.places[i]); };

    if (scene.path.size() >= 2) {
        for (std::size_t k = 0; k < scene.path.size(); ++k) {
            if (!valid(scene.path[k])) continue;
            const PagePoint p = at[scene.path[k]];
            if (k == 0) {
                cairo_move_to(cr, p.x, p.y);
            } else {
                cairo_line_to(cr, p.x, p.y);
            }
        }
        setColour(cr, kRed, 0.85);
        cairo_set_line_width(cr, 2.2 * unit);
        cairo_stroke(cr);
        for (std::size_t k = 1; k < scene.path.size(); ++k) {
            if (valid(scene.path[k - 1]) && valid(scene.path[k])) {
                drawArrowHead(cr, at[scene.path[k - 1]], at[scene.path[k]], unit);
            }
        }
    }
    if (scene.line && valid(scene.line->from) && valid(scene.line->to)) {
        const PagePoint a = at[scene.line->from], b = at[scene.line->to];
        cairo_move_to(cr, a.x, a.y);
        cairo_line_to(cr, b.x, b.y);
        setColour(cr, kGreen);
        cairo_set_line_width(cr, 2 * unit);
        cairo_stroke(cr);
    }

    // Localities from the largest, so that small dots stay visible on top;
    // then the special markers over them.
    std::vector<std::size_t> order(scene.places.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const bool la = scene.places[a].role == PlaceRole::Locality, lb = scene.places[b].role == PlaceRole::Locality;
        if (la != lb) return la;
        return la && scene.places[a].population > scene.places[b].population;
    });
    for (const std::size_t i : order) {
        if (valid(i)) drawMarker(cr, text, scene.places[i], at[i], unit, dotUnit);
    }

    const Furniture furniture = measureFurniture(text, frame, scene, unit);
    for (const PageRect& r : {furniture.title, furniture.legend, furniture.north, furniture.scale, furniture.credits}) {
        if (r.width > 0) drawing.furniture.push_back(r);
    }
    if (scene.line && valid(scene.line->from) && valid(scene.line->to) && !scene.line->text.empty()) {
        const PagePoint a = at[scene.line->from], b = at[scene.line->to];
        text.set(scene.line->text, 12 * unit, true);
        const PageRect e = text.extent();
        const PageRect box{(a.x + b.x) / 2 - e.width / 2, (a.y + b.y) / 2 - e.height / 2, e.width, e.height};
        text.draw(box.x, box.y, 2 * unit, kGreen.r, kGreen.g, kGreen.b);
        drawing.furniture.push_back(box);
    }
    placeLabels(text, frame, scene, at, unit, dotUnit, drawing);
    drawFurniture(cr, text, frame, scene, furniture, unit);
    cairo_restore(cr);
    return drawing;
}

}  // namespace localyx::render
