#include "view/map_window/search_map.h"

#include <string>
#include <utility>

#include "core/render/projection.h"

namespace localyx {

namespace {

std::string countText(std::size_t count) {
    if (count == 0) return "aucune localité";
    return count == 1 ? "1 localité" : std::to_string(count) + " localités";
}

}  // namespace

SearchMap::SearchMap(const SearchAnswer& answer, std::shared_ptr<const render::Borders> borders)
    : m_borders(std::move(borders)) {
    // A map without its borders still serves, but says why they are missing.
    const std::string missing =
        m_borders->ok() ? "" : " ; limites des départements absentes (" + m_borders->error + ")";
    if (!answer.town) {
        m_scene.note = "aucune localité" + missing;
        return;
    }
    const Locality& town = *answer.town;
    m_scene.title = "Localités à " + std::to_string(answer.radiusKm) + " km de " + town.name;
    m_scene.note = countText(answer.found.size()) + missing;
    // The square the list was built from, not a circle: both differences
    // below the radius in degrees.
    m_scene.box = render::SearchBox{town.latitude, town.longitude, answer.radiusDeg};
    m_scene.places.push_back({town.latitude, town.longitude, town.name, -1, render::PlaceRole::Centre});
    for (const Locality& l : answer.found) {
        m_scene.places.push_back({l.latitude, l.longitude, l.name, -1, render::PlaceRole::Locality});
    }
    if (answer.second) {
        const Locality& second = *answer.second;
        m_scene.places.push_back({second.latitude, second.longitude, second.name, -1, render::PlaceRole::SecondTown});
        m_scene.line = render::DistanceLine{0, m_scene.places.size() - 1, std::to_string(answer.secondKm) + " km"};
    }
}

render::Frame SearchMap::wholeFrame(double width, double height) const {
    const render::PageRect area{0, 0, width, height};
    if (m_scene.places.empty()) {
        // Metropolitan France, Corsica included.
        return render::Frame::fit(area, render::Metres{95000, 6040000}, render::Metres{1250000, 7120000}, 10);
    }
    return render::fitScene(m_scene, area);
}

void SearchMap::draw(cairo_t* cr, const render::Frame& frame) const {
    render::drawMap(cr, frame, m_scene, *m_borders);
}

}  // namespace localyx
