#include "core/render/frame.h"

#include <algorithm>
#include <cmath>

namespace localyx::render {

PagePoint Frame::toPage(Metres m) const {
    return {area.x + area.width / 2 + (m.x - centre.x) / metresPerUnit,
            area.y + area.height / 2 - (m.y - centre.y) / metresPerUnit};
}

Metres Frame::toMetres(PagePoint p) const {
    return {centre.x + (p.x - area.x - area.width / 2) * metresPerUnit,
            centre.y - (p.y - area.y - area.height / 2) * metresPerUnit};
}

Frame Frame::fit(const PageRect& area, Metres low, Metres high, double margin) {
    Frame frame;
    frame.area = area;
    frame.centre = {(low.x + high.x) / 2, (low.y + high.y) / 2};
    const double w = std::max(area.width - 2 * margin, 1.0), h = std::max(area.height - 2 * margin, 1.0);
    const double span = std::max({(high.x - low.x) / w, (high.y - low.y) / h, 1000.0 / w});
    frame.metresPerUnit = std::isfinite(span) && span > 0 ? span : 1000.0;
    return frame;
}

void Frame::zoomAbout(PagePoint fixed, double factor) {
    if (!(factor > 0) || !std::isfinite(factor)) return;
    const Metres under = toMetres(fixed);
    metresPerUnit /= factor;
    const Metres moved = toMetres(fixed);
    centre.x += under.x - moved.x;
    centre.y += under.y - moved.y;
}

void Frame::pan(double dx, double dy) {
    centre.x -= dx * metresPerUnit;
    centre.y += dy * metresPerUnit;
}

}  // namespace localyx::render
