// Speed of the France-wide commands: reading the table and its names, one
// town as people write it, one search around a town over the whole of it,
// and the visiting order: exact for 12 to 20 stops, and for 50 to 1,000 its
// distance from a lower bound on the best possible tour.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/around.h"
#include "core/locality_table.h"
#include "core/name_index.h"
#include "core/region_file.h"
#include "core/tour.h"
#include "core/town_resolver.h"

namespace {

// The bundled table when it is there; else 36,000 made-up localities, about
// as many as France has, spread over its extent.
const std::string& tableText() {
    static const std::string text = [] {
        std::string bytes;
        if (localyx::readWholeFile(LOCALYX_FRANCE_TABLE, localyx::kMaxLocalityTableBytes, bytes) ==
            localyx::RegionFileProblem::None) {
            return bytes;
        }
        std::mt19937 random(1);
        std::uniform_real_distribution<double> lat(42.3, 51.1), lon(-4.8, 8.2);
        bytes = "insee;nom;code_postal;departement;region;latitude;longitude;population\n";
        for (int i = 0; i < 36000; ++i) {
            bytes += std::to_string(10000 + i) + ";LIEU " + std::to_string(i) + ";" + std::to_string(10000 + i % 90000) +
                     ";" + std::to_string(1 + i % 95) + ";Bretagne;" + std::to_string(lat(random)) + ";" +
                     std::to_string(lon(random)) + ";" + std::to_string(i % 5000) + "\n";
        }
        return bytes;
    }();
    return text;
}

const std::vector<localyx::Locality>& table() {
    static const std::vector<localyx::Locality> rows = localyx::parseLocalityTable(tableText()).rows;
    return rows;
}

void BM_TableLoad(benchmark::State& state) {
    for (auto _ : state) {
        const auto loaded = localyx::parseLocalityTable(tableText());
        benchmark::DoNotOptimize(loaded.rows.data());
    }
    state.counters["rows"] = static_cast<double>(table().size());
}
BENCHMARK(BM_TableLoad)->Unit(benchmark::kMillisecond);

// The names file is read only beside the bundled table: made-up rows have none.
const std::string& namesText() {
    static const std::string text = [] {
        std::string bytes;
        (void)localyx::readWholeFile(LOCALYX_FRANCE_NAMES, localyx::kMaxLocalityTableBytes, bytes);
        return bytes;
    }();
    return text;
}

// What a France-wide command does before it can answer: the table, the
// names and the index over both.
void BM_TableAndNamesLoad(benchmark::State& state) {
    for (auto _ : state) {
        const auto loaded = localyx::parseLocalityTable(tableText());
        const localyx::NameIndex index(loaded.rows, localyx::parseTownNames(namesText()));
        const localyx::TownResolver resolver(index);
        benchmark::DoNotOptimize(&resolver);
    }
}
BENCHMARK(BM_TableAndNamesLoad)->Unit(benchmark::kMillisecond);

// Town texts of every kind, in turn; the unknown ones rank the suggestions.
void BM_ResolveTown(benchmark::State& state) {
    static const localyx::NameIndex index(table(), localyx::parseTownNames(namesText()));
    static const localyx::TownResolver resolver(index);
    const std::vector<std::string> texts =
        state.range(0) ? std::vector<std::string>{"Saint Malo de la lannde", "Rennnes", "Pontorsn-50170", "Xyzzy"}
                       : std::vector<std::string>{"RENNES-35200", "35238", "st malo", "35000 Rennes", "ANDELYS (LES)",
                                                  "Lyon 3ème", "Saint-Denis 93", "Saint-Denis", "75116",
                                                  "RENNES CEDEX 9"};
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(resolver.resolve(texts[i++ % texts.size()]).kind);
}
BENCHMARK(BM_ResolveTown)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// One search per iteration, the centre moving through the table.
void BM_Around(benchmark::State& state) {
    const auto& rows = table();
    std::size_t centre = 0;
    std::size_t found = 0;
    for (auto _ : state) {
        found += localyx::localitiesAround(rows, centre, static_cast<double>(state.range(0))).size();
        centre = (centre + 7919) % rows.size();
    }
    state.counters["found"] = benchmark::Counter(static_cast<double>(found), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_Around)->Arg(15)->Arg(100)->Unit(benchmark::kMillisecond);

// n localities drawn from the table (fixed seed), within `km` of the first
// one when `km` is given.
localyx::LegTable randomStops(std::size_t n, double km = 0) {
    const auto& rows = table();
    std::mt19937 random(static_cast<unsigned>(n));
    std::vector<std::size_t> picked;
    while (picked.size() < n) {
        const std::size_t p = random() % rows.size();
        if (km == 0 || picked.empty() || localyx::kmBetween(rows[picked[0]], rows[p]) <= km) picked.push_back(p);
    }
    localyx::LegTable legs(n);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = i + 1; j < n; ++j) legs.set(i, j, localyx::kmBetween(rows[picked[i]], rows[picked[j]]));
    }
    return legs;
}

// n points spread evenly over a square of 100 km, straight-line legs.
localyx::LegTable uniformStops(std::size_t n) {
    std::mt19937 random(static_cast<unsigned>(n) + 1000);
    std::uniform_real_distribution<double> at(0.0, 100.0);
    std::vector<double> x(n), y(n);
    for (std::size_t i = 0; i < n; ++i) x[i] = at(random), y[i] = at(random);
    localyx::LegTable legs(n);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = i + 1; j < n; ++j) legs.set(i, j, std::hypot(x[i] - x[j], y[i] - y[j]));
    }
    return legs;
}

// The Held-Karp bound: the best 1-tree (a spanning tree of stops 1..n-1 plus
// the two cheapest edges of stop 0) under node penalties moved by
// subgradient steps (Polyak's step towards the tour's length).
double oneTreeBound(const localyx::LegTable& legs, double upper) {
    const std::size_t n = legs.size();
    std::vector<double> pi(n, 0.0);
    double best = 0;
    double lambda = 2.0;
    int stalled = 0;
    for (int iteration = 0; iteration < 3000 && lambda > 1e-6; ++iteration) {
        const auto cost = [&](std::size_t i, std::size_t j) { return legs.at(i, j) + pi[i] + pi[j]; };
        std::vector<int> degree(n, 0);
        double tree = 0;
        // Prim over stops 1..n-1.
        std::vector<double> reach(n, std::numeric_limits<double>::infinity());
        std::vector<std::size_t> from(n, 1);
        std::vector<bool> inTree(n, false);
        reach[1] = 0;
        for (std::size_t step = 1; step < n; ++step) {
            std::size_t next = 0;
            for (std::size_t v = 1; v < n; ++v) {
                if (!inTree[v] && (next == 0 || reach[v] < reach[next])) next = v;
            }
            inTree[next] = true;
            if (step > 1) {
                tree += reach[next];
                ++degree[next];
                ++degree[from[next]];
            }
            for (std::size_t v = 1; v < n; ++v) {
                if (!inTree[v] && cost(next, v) < reach[v]) {
                    reach[v] = cost(next, v);
                    from[v] = next;
                }
            }
        }
        std::vector<std::size_t> byCost;
        for (std::size_t v = 1; v < n; ++v) byCost.push_back(v);
        std::partial_sort(byCost.begin(), byCost.begin() + 2, byCost.end(),
                          [&](std::size_t a, std::size_t b) { return cost(0, a) < cost(0, b); });
        tree += cost(0, byCost[0]) + cost(0, byCost[1]);
        degree[0] = 2;
        ++degree[byCost[0]];
        ++degree[byCost[1]];
        double penalties = 0;
        for (double p : pi) penalties += p;
        const double bound = tree - 2 * penalties;
        if (bound > best + 1e-9) {
            best = bound;
            stalled = 0;
        } else if (++stalled == 30) {
            lambda /= 2;
            stalled = 0;
        }
        double norm = 0;
        for (const int d : degree) norm += (d - 2) * (d - 2);
        if (norm == 0) break;  // the 1-tree is a tour: the bound is exact
        const double step = lambda * (upper - bound) / norm;
        for (std::size_t v = 0; v < n; ++v) pi[v] += step * (degree[v] - 2);
    }
    return best;
}

void reportTour(benchmark::State& state, const localyx::LegTable& legs) {
    localyx::TourPlan plan;
    for (auto _ : state) {
        plan = localyx::planTour(legs, true);
        benchmark::DoNotOptimize(plan.km);
    }
    state.counters["tour_km"] = plan.km;
    state.counters["exact"] = plan.exact;
    if (!plan.exact) {
        const double bound = oneTreeBound(legs, plan.km);
        state.counters["bound_km"] = bound;
        state.counters["gap_pct"] = 100.0 * (plan.km - bound) / bound;
    }
}

// Round trips among localities drawn from the whole table, then among points
// spread evenly; the gap is to the 1-tree bound.
void BM_Tour(benchmark::State& state) { reportTour(state, randomStops(static_cast<std::size_t>(state.range(0)))); }
BENCHMARK(BM_Tour)->Arg(50)->Arg(200)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_TourUniform(benchmark::State& state) { reportTour(state, uniformStops(static_cast<std::size_t>(state.range(0)))); }
BENCHMARK(BM_TourUniform)->Arg(50)->Arg(200)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);

// The exact order: the start plus 12 to kExactTourStops stops within 60 km.
void BM_TourExact(benchmark::State& state) {
    const auto stops = static_cast<std::size_t>(state.range(0));
    reportTour(state, randomStops(stops + 1, 60));
    state.counters["table_MB"] = static_cast<double>((std::size_t{1} << stops) * stops * sizeof(double)) / 1e6;
}
BENCHMARK(BM_TourExact)->DenseRange(16, localyx::kExactTourStops)->Arg(12)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
