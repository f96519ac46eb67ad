#pragma once

#include <cstddef>
#include <vector>

namespace localyx {

/// Kilometres between every two stops, stop 0 being the start.
class LegTable {
public:
    /// n stops, all legs 0 until set.
    explicit LegTable(std::size_t n) : m_n(n), m_km(n * n, 0.0) {}
    std::size_t size() const { return m_n; }
    double at(std::size_t i, std::size_t j) const { return m_km[i * m_n + j]; }
    /// Sets the leg both ways, kilometres.
    void set(std::size_t i, std::size_t j, double km) { m_km[i * m_n + j] = m_km[j * m_n + i] = km; }

private:
    std::size_t m_n;
    std::vector<double> m_km;
};

/// Stops besides the start up to which the order is proven shortest; beyond,
/// it is found by local search.
inline constexpr std::size_t kExactTourStops = 20;

/// A visiting order: stop 0 first, then every other stop once.
struct TourPlan {
    std::vector<std::size_t> order;
    double km = 0;       ///< total, the way back to stop 0 included when the tour returns
    bool exact = false;  ///< no other order is shorter
};

/// The order that starts at stop 0, visits every other stop once and, when
/// `returns`, comes back to stop 0, with the smallest total of legs: exact up
/// to kExactTourStops stops besides the start (dynamic programming over the
/// sets visited: a table of 2^k x k doubles for k stops, 168 MB and 0.2 s at
/// 20); beyond, an iterated local search of 2-opt and Or-opt moves whose
/// number of kicks grows with the stops (0.05 s at 200 stops, 0.3 s at
/// 1,000), ending where no 2-opt or Or-opt move shortens the tour. The same
/// table always gives the same order.
/// @return the plan; just {0} for a table of one stop, empty for none
TourPlan planTour(const LegTable& legs, bool returns);

/// The total of the legs of an order (back to its first stop when `returns`), km.
double tourLength(const LegTable& legs, const std::vector<std::size_t>& order, bool returns);

}  // namespace localyx
