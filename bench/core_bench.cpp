// Speed of the toolkit-free work on real data: loading the largest region,
// searching around each of its towns, the distance and the web addresses.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/distance.h"
#include "core/field_reader.h"
#include "core/neighbours.h"
#include "core/region_file.h"
#include "core/region_loader.h"
#include "core/web_address.h"

namespace {

const localyx::RegionFileText& largestRegion() {
    static const auto text = localyx::readRegionFileAt(std::filesystem::path(LOCALYX_REGION_DIR) / "MidiPyrenees.txt");
    return text;
}

// 100,000 made-up localities on a grid over France, to show no size limit.
const std::string& syntheticRegion() {
    static const std::string text = [] {
        std::string s;
        s.reserve(100000 * 40);
        for (int i = 0; i < 100000; ++i) {
            const int row = i / 400;
            const int col = i % 400;
            s += std::to_string(42.0 + row * 0.03) + "," + std::to_string(-4.0 + col * 0.03) + ",LIEU " +
                 std::to_string(i) + "-" + std::to_string(10000 + i % 90000) + "\r\n";
        }
        return s;
    }();
    return text;
}

void addPeakMemory(benchmark::State& state) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_ReadAndClassifyLargestRegion(benchmark::State& state) {
    const std::filesystem::path path = std::filesystem::path(LOCALYX_REGION_DIR) / "MidiPyrenees.txt";
    for (auto _ : state) {
        auto text = localyx::readRegionFileAt(path);
        localyx::FieldReader reader(std::move(text.text));
        auto lists = localyx::loadRegionLists(reader);
        benchmark::DoNotOptimize(lists);
    }
    addPeakMemory(state);
}
BENCHMARK(BM_ReadAndClassifyLargestRegion)->Unit(benchmark::kMillisecond);

// One search per town of the region; the reported time is per search.
void BM_SearchEveryTown(benchmark::State& state) {
    const int radiusKm = static_cast<int>(state.range(0));
    localyx::FieldReader loader(largestRegion().text);
    const auto lists = localyx::loadRegionLists(loader);
    std::size_t town = 0;
    for (auto _ : state) {
        localyx::SearchDeltas deltas;
        localyx::FieldReader reader(largestRegion().text);
        auto found = localyx::findNeighbours(reader, lists.coordinates[2 * town], lists.coordinates[2 * town + 1],
                                             radiusKm, deltas);
        benchmark::DoNotOptimize(found);
        town = (town + 1) % lists.names.size();
    }
    addPeakMemory(state);
}
BENCHMARK(BM_SearchEveryTown)->Arg(6)->Arg(26)->Unit(benchmark::kMillisecond);

void BM_SyntheticLoadAndSearch(benchmark::State& state) {
    for (auto _ : state) {
        localyx::FieldReader loader(syntheticRegion());
        const auto lists = localyx::loadRegionLists(loader);
        localyx::SearchDeltas deltas;
        localyx::FieldReader reader(syntheticRegion());
        auto found = localyx::findNeighbours(reader, lists.coordinates[100000], lists.coordinates[100001], 26, deltas);
        if (lists.names.size() != 100000 || found.empty()) state.SkipWithError("synthetic region misread");
        benchmark::DoNotOptimize(found);
    }
    addPeakMemory(state);
}
BENCHMARK(BM_SyntheticLoadAndSearch)->Unit(benchmark::kMillisecond);

void BM_CalcDistance(benchmark::State& state) {
    double lat = 43.6;
    for (auto _ : state) {
        benchmark::DoNotOptimize(localyx::CalcDistance(1.44, lat, 2.35, 48.85));
        lat += 1e-9;
    }
}
BENCHMARK(BM_CalcDistance);

void BM_ReworkAndAddresses(benchmark::State& state) {
    const std::string start = "SAINT JEAN DE LUZ-64500";
    const std::string dest = "L'ISLE JOURDAIN-32600";
    for (auto _ : state) {
        auto map = localyx::toBrowserUrl(localyx::mapAddress(start));
        auto iti = localyx::toBrowserUrl(
            localyx::itineraryAddress(localyx::reworkItem(start), localyx::reworkItem(dest)));
        benchmark::DoNotOptimize(map);
        benchmark::DoNotOptimize(iti);
    }
}
BENCHMARK(BM_ReworkAndAddresses);

}  // namespace

BENCHMARK_MAIN();
