#include "app/search_answer.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string_view>

#include "core/distance.h"
#include "core/numeric.h"

namespace localyx {

Locality localityOfItem(const std::string& item, const std::string& regionBaseName) {
    Locality place;
    const std::size_t dash = item.rfind('-');
    place.name = dash == std::string::npos ? item : item.substr(0, dash);
    if (dash != std::string::npos) place.postalCode = item.substr(dash + 1);
    place.region = regionBaseName;
    return place;
}

SearchAnswer searchAnswer(const FormView& view, const Form1Variables& vars, const AnswerPicks& picks) {
    SearchAnswer answer;
    // The radius as the list shows it (" 5" searches 6 km, and says 5).
    answer.radiusKm = picks.radiusItem >= 0
                          ? static_cast<int>(std::lround(numericValue(view.comboItem(ComboId::ComboKms, picks.radiusItem))))
                          : vars.RadiusKm;
    answer.radiusDeg = vars.RadiusDeg;
    const int townIndex = picks.town;
    const std::string listed = view.text(TextId::Text8);
    if (townIndex < 0 || listed.empty()) return answer;

    const double lat1 = numericValue(vars.Town1Lat);
    const double lon1 = numericValue(vars.Town1Lon);
    Locality town = localityOfItem(view.comboItem(ComboId::Combo1, townIndex), vars.RegionFile);
    town.latitude = lat1;
    town.longitude = lon1;
    answer.town = town;

    // Text8 lists its names in file order, as Combo1 holds them: each line is
    // the next item of that text, which keeps twin names apart. A line that
    // is no item (a message about the file) places nothing.
    const int count = view.comboListCount(ComboId::Combo1);
    int next = 0;
    std::vector<Locality> found;
    std::string_view rest = listed;
    while (!rest.empty()) {
        const std::size_t end = rest.find("\r\n");
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
        for (int i = next; i < count; ++i) {
            const std::string item = view.comboItem(ComboId::Combo1, i);
            if (item != line) continue;
            Locality place = localityOfItem(item, vars.RegionFile);
            place.latitude = numericValue(view.comboItem(ComboId::Combo3, 2 * i));
            place.longitude = numericValue(view.comboItem(ComboId::Combo3, 2 * i + 1));
            found.push_back(std::move(place));
            next = i + 1;
            break;
        }
    }
    std::vector<double> kms;
    for (const Locality& place : found) {
        const double km = CalcDistance(lon1, lat1, place.longitude, place.latitude);
        kms.push_back(km > 0 ? km : 0);
    }
    std::vector<std::size_t> order(found.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&kms](std::size_t a, std::size_t b) { return kms[a] < kms[b]; });
    for (std::size_t i : order) {
        answer.found.push_back(std::move(found[i]));
        answer.kms.push_back(kms[i]);
    }

    const int secondIndex = picks.second;
    const double lat2 = numericValue(vars.Town2Lat);
    const double lon2 = numericValue(vars.Town2Lon);
    if (secondIndex >= 0 && secondIndex != townIndex && lat1 != 0 && lon1 != 0 && lat2 != 0 &&
        lon2 != 0) {
        Locality second = localityOfItem(view.comboItem(ComboId::Combo2, secondIndex), vars.RegionFile);
        second.latitude = lat2;
        second.longitude = lon2;
        answer.second = second;
        answer.secondKm = static_cast<long long>(std::floor(vars.DistanceKm));
    }
    return answer;
}

}  // namespace localyx
