#include "core/tour.h"

#include <algorithm>
#include <limits>

namespace localyx {
namespace {

// Moves must gain more than this to be taken, so rounding cannot cycle.
constexpr double kGain = 1e-9;

// The order as a path with both ends fixed: stop 0 at the front and, at the
// back, a virtual end that is stop 0 again for a round trip, and that costs
// nothing to reach for a one-way tour. Both moves then work alike either way.
class PathSearch {
public:
    PathSearch(const LegTable& legs, bool returns) : m_legs(legs), m_returns(returns) {}

    double d(std::size_t a, std::size_t b) const {
        const std::size_t end = m_legs.size();
        if (a == end || b == end) return m_returns ? m_legs.at(a == end ? 0 : a, b == end ? 0 : b) : 0.0;
        return m_legs.at(a, b);
    }

    std::vector<std::size_t> nearestNeighbour() const {
        const std::size_t n = m_legs.size();
        std::vector<std::size_t> path{0};
        std::vector<bool> used(n, false);  // stop 0 is never a candidate
        for (std::size_t step = 1; step < n; ++step) {
            std::size_t best = 0;
            double bestKm = std::numeric_limits<double>::infinity();
            for (std::size_t j = 1; j < n; ++j) {
                if (!used[j] && m_legs.at(path.back(), j) < bestKm) {
                    best = j;
                    bestKm = m_legs.at(path.back(), j);
                }
            }
            used[best] = true;
            path.push_back(best);
        }
        path.push_back(n);
        return path;
    }

    // Reverses a stretch when that shortens the path; one sweep.
    bool twoOpt(std::vector<std::size_t>& p) const {
        bool improved = false;
        const std::size_t last = p.size() - 2;
        for (std::size_t i = 1; i < last; ++i) {
            for (std::size_t j = i + 1; j <= last; ++j) {
                const double delta = d(p[i - 1], p[j]) + d(p[i], p[j + 1]) - d(p[i - 1], p[i]) -
                                     d(p[j], p[j + 1]);
                if (delta < -kGain) {
                    std::reverse(p.begin() + static_cast<std::ptrdiff_t>(i),
                                 p.begin() + static_cast<std::ptrdiff_t>(j) + 1);
                    improved = true;
                }
            }
        }
        return improved;
    }

    // Moves a run of one to three stops elsewhere, either way round; one sweep.
    bool orOpt(std::vector<std::size_t>& p) const {
        bool improved = false;
        for (std::size_t length = 1; length <= 3; ++length) {
            for (std::size_t i = 1; i + length <= p.size() - 1; ++i) {
                const std::size_t first = p[i];
                const std::size_t lastStop = p[i + length - 1];
                const std::size_t before = p[i - 1];
                const std::size_t after = p[i + length];
                const double removed = d(before, first) + d(lastStop, after) - d(before, after);
                double bestDelta = -kGain;
                std::size_t bestK = 0;
                bool bestReversed = false;
                for (std::size_t k = 0; k + 1 < p.size(); ++k) {
                    if (k + 1 >= i && k < i + length) continue;  // an edge of the run itself
                    const double cut = d(p[k], p[k + 1]);
                    const double forward = d(p[k], first) + d(lastStop, p[k + 1]) - cut - removed;
                    const double backward = d(p[k], lastStop) + d(first, p[k + 1]) - cut - removed;
                    if (forward < bestDelta) {
                        bestDelta = forward;
                        bestK = k;
                        bestReversed = false;
                    }
                    if (backward < bestDelta) {
                        bestDelta = backward;
                        bestK = k;
                        bestReversed = true;
                    }
                }
                if (bestDelta < -kGain) {
                    std::vector<std::size_t> run(p.begin() + static_cast<std::ptrdiff_t>(i),
                                                 p.begin() + static_cast<std::ptrdiff_t>(i + length));
                    if (bestReversed) std::reverse(run.begin(), run.end());
                    p.erase(p.begin() + static_cast<std::ptrdiff_t>(i),
                            p.begin() + static_cast<std::ptrdiff_t>(i + length));
                    const std::size_t at = bestK < i ? bestK + 1 : bestK + 1 - length;
                    p.insert(p.begin() + static_cast<std::ptrdiff_t>(at), run.begin(), run.end());
                    improved = true;
                }
            }
        }
        return improved;
    }

    // Every order of the stops, by dynamic programming over the sets visited.
    std::vector<std::size_t> exact() const {
        const std::size_t stops = m_legs.size() - 1;
        const std::size_t sets = std::size_t{1} << stops;
        constexpr double kNone = std::numeric_limits<double>::infinity();
        std::vector<double> best(sets * stops, kNone);
        std::vector<unsigned char> previous(sets * stops, 0);
        for (std::size_t j = 0; j < stops; ++j) best[(std::size_t{1} << j) * stops + j] = d(0, j + 1);
        for (std::size_t set = 1; set < sets; ++set) {
            for (std::size_t j = 0; j < stops; ++j) {
                const double here = best[set * stops + j];
                if (here == kNone) continue;
                for (std::size_t k = 0; k < stops; ++k) {
                    if (set & (std::size_t{1} << k)) continue;
                    const std::size_t next = set | (std::size_t{1} << k);
                    const double km = here + d(j + 1, k + 1);
                    if (km < best[next * stops + k]) {
                        best[next * stops + k] = km;
                        previous[next * stops + k] = static_cast<unsigned char>(j);
                    }
                }
            }
        }
        const std::size_t all = sets - 1;
        std::size_t last = 0;
        for (std::size_t j = 1; j < stops; ++j) {
            if (best[all * stops + j] + d(j + 1, stops + 1) < best[all * stops + last] + d(last + 1, stops + 1)) {
                last = j;
            }
        }
        std::vector<std::size_t> reversed;
        for (std::size_t set = all; set != 0;) {
            reversed.push_back(last + 1);
            const std::size_t before = previous[set * stops + last];
            set &= ~(std::size_t{1} << last);
            last = before;
        }
        std::vector<std::size_t> path{0};
        path.insert(path.end(), reversed.rbegin(), reversed.rend());
        return path;
    }

private:
    const LegTable& m_legs;
    bool m_returns;
};

}  // namespace

double tourLength(const LegTable& legs, const std::vector<std::size_t>& order, bool returns) {
    double km = 0;
    for (std::size_t i = 1; i < order.size(); ++i) km += legs.at(order[i - 1], order[i]);
    if (returns && order.size() > 1) km += legs.at(order.back(), order.front());
    return km;
}

TourPlan planTour(const LegTable& legs, bool returns) {
    TourPlan plan;
    if (legs.size() == 0) return plan;
    const PathSearch search(legs, returns);
    if (legs.size() - 1 <= kExactTourStops) {
        plan.order = legs.size() == 1 ? std::vector<std::size_t>{0} : search.exact();
    } else {
        std::vector<std::size_t> path = search.nearestNeighbour();
        // Both kinds of move every round, until neither finds a shorter path.
        for (bool improved = true; improved;) {
            improved = search.twoOpt(path);
            improved = search.orOpt(path) || improved;
        }
        plan.order.assign(path.begin(), path.end() - 1);
    }
    plan.km = tourLength(legs, plan.order, returns);
    return plan;
}

}  // namespace localyx
