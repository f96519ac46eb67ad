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

/// Stops beyond which the order is found by local search, not exhaustively.
inline constexpr std::size_t kExactTourStops = 12;

/// A visiting order: stop 0 first, then every other stop once.
struct TourPlan {
    std::vector<std::size_t> order;
    double km = 0;  ///< total, the way back to stop 0 included when the tour returns
};

/// The order that starts at stop 0, visits every other stop once and, when
/// `returns`, comes back to stop 0, with the smallest total of legs: exact up
/// to kExactTourStops stops besides the start; beyond, the nearest-neighbour
/// tour improved by 2-opt and Or-opt moves until none shortens it.
/// @return the plan; just {0} for a table of one stop, empty for none
TourPlan planTour(const LegTable& legs, bool returns);

/// The total of the legs of an order (back to its first stop when `returns`), km.
double tourLength(const LegTable& legs, const std::vector<std::size_t>& order, bool returns);

}  // namespace localyx
