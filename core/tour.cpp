#include "core/tour.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <deque>
#include <limits>
#include <memory>

namespace localyx {
namespace {

// Moves must gain more than this to be taken, so rounding cannot cycle.
constexpr double kGain = 1e-9;

// Nearest stops each stop looks at for a move in the iterated search.
constexpr std::size_t kNear = 10;

// The longest run a kick swaps: kicks stay local, so the search mends them fast.
constexpr std::size_t kKickRun = 30;

// The order as a path with both ends fixed: stop 0 at the front and, at the
// back, a virtual end that is stop 0 again for a round trip, and that costs
// nothing to reach for a one-way tour. Every move then works alike either way.
class PathSearch {
public:
    PathSearch(const LegTable& legs, bool returns) : m_nodes(legs.size() + 1), m_km(m_nodes * m_nodes, 0.0) {
        const std::size_t end = legs.size();
        for (std::size_t a = 0; a < end; ++a) {
            for (std::size_t b = 0; b < end; ++b) m_km[a * m_nodes + b] = legs.at(a, b);
            if (returns) m_km[a * m_nodes + end] = m_km[end * m_nodes + a] = legs.at(a, 0);
        }
    }

    std::size_t nodes() const { return m_nodes; }
    double d(std::size_t a, std::size_t b) const { return m_km[a * m_nodes + b]; }

    std::vector<std::size_t> nearestNeighbour() const {
        const std::size_t end = m_nodes - 1;
        std::vector<std::size_t> path{0};
        std::vector<bool> used(end, false);  // stop 0 is never a candidate
        for (std::size_t step = 1; step < end; ++step) {
            std::size_t best = 0;
            double bestKm = std::numeric_limits<double>::infinity();
            for (std::size_t j = 1; j < end; ++j) {
                if (!used[j] && d(path.back(), j) < bestKm) {
                    best = j;
                    bestKm = d(path.back(), j);
                }
            }
            used[best] = true;
            path.push_back(best);
        }
        path.push_back(end);
        return path;
    }

    // Reverses a stretch when that shortens the path; one sweep over every pair.
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

    // Held-Karp: best[set * stops + j] is the shortest path from the start
    // through the stops of `set` ending at j (stop j + 1), for j in the set.
    // Subsets come before their supersets in numeric order, and each row is
    // read whole, so the table is walked in order.
    std::vector<std::size_t> exact() const {
        const std::size_t stops = m_nodes - 2;
        const std::size_t end = m_nodes - 1;
        const std::size_t sets = std::size_t{1} << stops;
        // Every entry read was written before: no need to fill the table.
        const auto best = std::make_unique_for_overwrite<double[]>(sets * stops);
        // The best stop before j in `set`: the same sums in the same order on
        // the way back, so the path is read back without a table of choices.
        const auto step = [&](std::size_t set, std::size_t j, std::size_t& from) {
            const std::size_t rest = set & ~(std::size_t{1} << j);
            if (rest == 0) return d(0, j + 1);
            double km = std::numeric_limits<double>::infinity();
            const double* row = best.get() + rest * stops;
            for (std::size_t left = rest; left != 0; left &= left - 1) {
                const auto k = static_cast<std::size_t>(std::countr_zero(left));
                const double via = row[k] + d(k + 1, j + 1);
                if (via < km) {
                    km = via;
                    from = k;
                }
            }
            return km;
        };
        std::size_t from = 0;
        for (std::size_t set = 1; set < sets; ++set) {
            for (std::size_t left = set; left != 0; left &= left - 1) {
                const auto j = static_cast<std::size_t>(std::countr_zero(left));
                best[set * stops + j] = step(set, j, from);
            }
        }
        std::size_t set = sets - 1;
        std::size_t last = 0;
        for (std::size_t j = 1; j < stops; ++j) {
            if (best[set * stops + j] + d(j + 1, end) < best[set * stops + last] + d(last + 1, end)) last = j;
        }
        std::vector<std::size_t> path(m_nodes - 1);
        for (std::size_t at = stops; at > 0; --at) {
            path[at] = last + 1;
            step(set, last, from);
            set &= ~(std::size_t{1} << last);
            last = from;
        }
        path[0] = 0;
        return path;
    }

private:
    std::size_t m_nodes;  // the stops and the virtual end
    std::vector<double> m_km;
};

// Iterated local search: 2-opt and Or-opt moves between near stops, with a
// queue of stops still worth a look; then kicks that swap two short runs,
// each kept only when the mended path is no longer than before.
class IteratedSearch {
public:
    IteratedSearch(const PathSearch& search, std::vector<std::size_t> path)
        : m_s(search), m_p(std::move(path)), m_pos(m_p.size()), m_last(m_p.size() - 1),
          m_near(m_p.size() * kNear), m_queued(m_p.size(), false) {
        for (std::size_t i = 0; i <= m_last; ++i) m_pos[m_p[i]] = i;
        std::vector<std::size_t> others;
        for (std::size_t a = 0; a <= m_last; ++a) {
            others.clear();
            for (std::size_t b = 0; b <= m_last; ++b) {
                if (b != a) others.push_back(b);
            }
            const std::size_t k = std::min(kNear, others.size());
            const auto nearer = [&](std::size_t x, std::size_t y) {
                return m_s.d(a, x) != m_s.d(a, y) ? m_s.d(a, x) < m_s.d(a, y) : x < y;
            };
            std::partial_sort(others.begin(), others.begin() + static_cast<std::ptrdiff_t>(k), others.end(), nearer);
            std::fill_n(m_near.begin() + static_cast<std::ptrdiff_t>(a * kNear), kNear, others[0]);
            std::copy_n(others.begin(), k, m_near.begin() + static_cast<std::ptrdiff_t>(a * kNear));
        }
        for (std::size_t a = 0; a <= m_last; ++a) push(m_p[a]);
        improve();
        m_best = m_p;
    }

    // Kicks with a fixed seed: the same path always comes out.
    void kick(std::size_t count) {
        std::uint64_t state = 0x9E3779B97F4A7C15u;
        const auto random = [&state](std::size_t below) {
            state = state * 6364136223846793005u + 1442695040888963407u;  // Knuth's MMIX generator
            return static_cast<std::size_t>((state >> 33) % below);
        };
        if (m_last < 4) return;
        for (std::size_t round = 0; round < count; ++round) {
            m_lo = m_last;
            m_hi = 0;
            // A C B D for A B C D: runs B and C swap places.
            const std::size_t x = random(m_last - 2);
            const std::size_t y = x + 1 + random(std::min(kKickRun, m_last - 2 - x));
            const std::size_t z = y + 1 + random(std::min(kKickRun, m_last - 1 - y));
            const std::size_t a = m_p[x], b = m_p[x + 1], c = m_p[y], e = m_p[y + 1], f = m_p[z], g = m_p[z + 1];
            m_gain = d(a, b) + d(c, e) + d(f, g) - d(a, e) - d(f, b) - d(c, g);
            rotate(x + 1, y + 1, z + 1);
            for (const std::size_t node : {a, b, c, e, f, g}) push(node);
            improve();
            if (m_gain >= 0) {
                std::copy(m_p.begin() + pos(m_lo), m_p.begin() + pos(m_hi + 1), m_best.begin() + pos(m_lo));
            } else {
                for (std::size_t i = m_lo; i <= m_hi; ++i) m_pos[m_p[i] = m_best[i]] = i;
            }
        }
    }

    const std::vector<std::size_t>& path() const { return m_best; }

private:
    double d(std::size_t a, std::size_t b) const { return m_s.d(a, b); }
    static std::ptrdiff_t pos(std::size_t i) { return static_cast<std::ptrdiff_t>(i); }

    void push(std::size_t node) {
        if (!m_queued[node]) {
            m_queued[node] = true;
            m_queue.push_back(node);
        }
    }

    void touched(std::size_t lo, std::size_t hi) {
        m_lo = std::min(m_lo, lo);
        m_hi = std::max(m_hi, hi);
    }

    void reverse(std::size_t lo, std::size_t hi) {
        std::reverse(m_p.begin() + pos(lo), m_p.begin() + pos(hi + 1));
        for (std::size_t i = lo; i <= hi; ++i) m_pos[m_p[i]] = i;
        touched(lo, hi);
    }

    // std::rotate over positions [lo, end): `middle` comes first.
    void rotate(std::size_t lo, std::size_t middle, std::size_t end) {
        std::rotate(m_p.begin() + pos(lo), m_p.begin() + pos(middle), m_p.begin() + pos(end));
        for (std::size_t i = lo; i < end; ++i) m_pos[m_p[i]] = i;
        touched(lo, end - 1);
    }

    void improve() {
        while (!m_queue.empty()) {
            const std::size_t a = m_queue.front();
            m_queue.pop_front();
            m_queued[a] = false;
            if (twoOpt(a) || orOpt(a)) push(a);
        }
    }

    // A reversal that replaces the edge from `a` to its neighbour on one side
    // with an edge from `a` to a near stop.
    bool twoOpt(std::size_t a) {
        const std::size_t i = m_pos[a];
        for (const bool forward : {true, false}) {
            if (forward ? i == m_last : i == 0) continue;
            const std::size_t b = m_p[forward ? i + 1 : i - 1];
            const double ab = d(a, b);
            for (std::size_t n = 0; n < kNear; ++n) {
                const std::size_t c = m_near[a * kNear + n];
                const double firstGain = ab - d(a, c);
                if (firstGain <= kGain) break;
                const std::size_t j = m_pos[c];
                if (forward ? j == m_last : j == 0) continue;
                const std::size_t e = m_p[forward ? j + 1 : j - 1];  // c's neighbour on the same side
                if (c == b || e == a) continue;
                const double gain = firstGain + d(c, e) - d(b, e);
                if (gain <= kGain) continue;
                if (forward) {
                    j > i ? reverse(i + 1, j) : reverse(j + 1, i);
                } else {
                    j > i ? reverse(i, j - 1) : reverse(j, i - 1);
                }
                m_gain += gain;
                for (const std::size_t node : {a, b, c, e}) push(node);
                return true;
            }
        }
        return false;
    }

    // Moves a run of one to three stops, `a` at one end, next to a near stop.
    bool orOpt(std::size_t a) {
        const std::size_t i = m_pos[a];
        for (std::size_t length = 1; length <= 3; ++length) {
            for (const bool aFirst : {true, false}) {
                if (length == 1 && !aFirst) continue;
                if (!aFirst && i < length) continue;
                const std::size_t s = aFirst ? i : i + 1 - length;
                const std::size_t t = s + length - 1;
                if (s == 0 || t >= m_last) continue;  // the ends stay where they are
                const std::size_t other = m_p[aFirst ? t : s];
                const std::size_t before = m_p[s - 1], after = m_p[t + 1];
                const double removed = d(before, m_p[s]) + d(m_p[t], after) - d(before, after);
                if (removed <= kGain) continue;
                for (std::size_t n = 0; n < kNear; ++n) {
                    const std::size_t c = m_near[a * kNear + n];
                    if (d(a, c) >= removed) break;
                    const std::size_t j = m_pos[c];
                    if (j >= s && j <= t) continue;
                    // The edge after c, then the edge before it.
                    for (const std::size_t k : {j, j - 1}) {
                        if (k == j ? j == m_last : j == 0) continue;
                        if (k + 1 >= s && k <= t) continue;  // an edge at the run
                        const std::size_t x = m_p[k], y = m_p[k + 1];
                        const std::size_t next = c == x ? a : other;  // the run's end that follows x
                        const double added = d(x, next) + d(next == a ? other : a, y) - d(x, y);
                        const double gain = removed - added;
                        if (gain <= kGain) continue;
                        std::size_t lo = 0;
                        if (k > t) {
                            rotate(s, t + 1, k + 1);
                            lo = k + 1 - length;
                        } else {
                            rotate(k + 1, s, t + 1);
                            lo = k + 1;
                        }
                        if (m_p[lo] != next) reverse(lo, lo + length - 1);
                        m_gain += gain;
                        for (const std::size_t node : {a, other, before, after, x, y}) push(node);
                        return true;
                    }
                }
            }
        }
        return false;
    }

    const PathSearch& m_s;
    std::vector<std::size_t> m_p, m_pos, m_best;
    std::size_t m_last;
    std::vector<std::size_t> m_near;
    std::vector<bool> m_queued;
    std::deque<std::size_t> m_queue;
    double m_gain = 0;  // shortening since the last kept path, km
    std::size_t m_lo = 0, m_hi = 0;  // positions changed since then
};

// Kicks for n stops, counted rather than timed so that a busy machine gives
// the same order: 0.05 s of search at 200 stops, 0.3 s at 1,000 (budgets
// 0.1 s and 1 s); twenty times as many shortened no tour of 50 or 200.
std::size_t kicksFor(std::size_t n) { return 100 * n; }

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
        plan.exact = true;
    } else {
        IteratedSearch iterated(search, search.nearestNeighbour());
        iterated.kick(kicksFor(legs.size()));
        std::vector<std::size_t> path = iterated.path();
        // The near stops may miss a move: every pair is tried at the end.
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
