// Speed of the maps: a 30 km map of a dense area in PNG 1600 x 1600, the
// route sheet of a 12-stop tour (PDF) and its map in SVG, with their sizes.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/around.h"
#include "core/locality_table.h"
#include "core/tour.h"
#include "core/render/documents.h"

namespace {

using namespace localyx;

const std::vector<Locality>& table() {
    static const std::vector<Locality> rows = readLocalityTableAt(LOCALYX_FRANCE_TABLE).rows;
    return rows;
}

const render::Borders& borders() {
    static const render::Borders loaded = render::loadBorders(LOCALYX_DATA_DIR);
    return loaded;
}

std::size_t row(const std::string& insee) {
    for (std::size_t i = 0; i < table().size(); ++i) {
        if (table()[i].insee == insee) return i;
    }
    return 0;
}

render::Place place(const Locality& l, render::PlaceRole role, int stop = 0) {
    return {l.latitude, l.longitude, l.name, l.population, role, stop};
}

render::MapScene aroundScene(const std::string& insee, double km) {
    const std::size_t centre = row(insee);
    const Locality& c = table()[centre];
    render::MapScene scene;
    scene.title = "Localités à " + std::to_string(static_cast<int>(km)) + " km de " + c.item();
    scene.circle = render::SearchCircle{c.latitude, c.longitude, km};
    scene.places.push_back(place(c, render::PlaceRole::Centre));
    for (const Nearby& n : localitiesAround(table(), centre, km)) {
        scene.places.push_back(place(table()[n.row], render::PlaceRole::Locality));
    }
    return scene;
}

// Ajaccio and twelve Corsican towns, in the shortest order, back to the start.
render::RouteSheet corsica() {
    const std::vector<std::string> codes{"2A004", "2B033", "2A247", "2B096", "2B050", "2B123", "2A249",
                                         "2A272", "2A041", "2B134", "2B298", "2A326", "2B049"};
    LegTable legs(codes.size());
    for (std::size_t i = 0; i < codes.size(); ++i) {
        for (std::size_t j = i + 1; j < codes.size(); ++j) legs.set(i, j, kmBetween(table()[row(codes[i])], table()[row(codes[j])]));
    }
    std::vector<std::size_t> order = planTour(legs, true).order;
    order.push_back(0);
    render::RouteSheet sheet;
    sheet.date = "7 décembre 2026";
    sheet.start = table()[row(codes[0])].item();
    sheet.stops = codes.size() - 1;
    double total = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const Locality& l = table()[row(codes[order[i]])];
        const double leg = i ? legs.at(order[i - 1], order[i]) : 0;
        total += leg;
        if (i + 1 < order.size()) {
            sheet.map.places.push_back(place(l, i ? render::PlaceRole::Stop : render::PlaceRole::Start, static_cast<int>(i)));
        }
        sheet.map.path.push_back(i + 1 < order.size() ? i : 0);
        sheet.rows.push_back({static_cast<int>(i), l.name, "", l.postalCode, l.population, leg, total,
                              i ? "http://www.viamichelin.fr/viamichelin/fra/dyn/controller/ItiWGPerformPage?ie=utf-8"
                                  "&reinit=1&strStartCityCountry=1424&strStartAddress=&strStartMerged=20000+AJACCIO"
                                  "&strDestCityCountry=1424&strDestAddress=&strDestMerged=20200+BASTIA%20"
                                  "&image2.x=0&image2.y=0#" + std::to_string(i)
                                : ""});
    }
    sheet.totalKm = total;
    return sheet;
}

void mapBench(benchmark::State& state, const std::string& insee, render::ImageFormat format) {
    const render::MapScene scene = aroundScene(insee, 30);
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::ostringstream out;
        render::writeMapDocument(out, format, scene, borders());
        bytes = out.str().size();
    }
    state.counters["localities"] = static_cast<double>(scene.places.size() - 1);
    state.counters["kB"] = static_cast<double>(bytes) / 1000.0;
}

void BM_Lyon30kmPng(benchmark::State& state) { mapBench(state, "69381", render::ImageFormat::Png); }
BENCHMARK(BM_Lyon30kmPng)->Unit(benchmark::kMillisecond);
void BM_Paris30kmPng(benchmark::State& state) { mapBench(state, "75101", render::ImageFormat::Png); }
BENCHMARK(BM_Paris30kmPng)->Unit(benchmark::kMillisecond);

// The drawing alone, without the PNG encoding: what the window pays per frame.
void BM_Lyon30kmDrawOnly(benchmark::State& state) {
    const render::MapScene scene = aroundScene("69381", 30);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1600, 1600);
    const render::PageRect area{0, 0, 1600, 1600};
    for (auto _ : state) {
        cairo_t* cr = cairo_create(surface);
        benchmark::DoNotOptimize(render::drawMap(cr, render::fitScene(scene, area), scene, borders()).labels.size());
        cairo_destroy(cr);
    }
    cairo_surface_destroy(surface);
}
BENCHMARK(BM_Lyon30kmDrawOnly)->Unit(benchmark::kMillisecond);

void BM_RouteSheet12Stops(benchmark::State& state) {
    const render::RouteSheet sheet = corsica();
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::ostringstream out;
        render::writeRouteSheet(out, sheet, borders());
        bytes = out.str().size();
    }
    state.counters["kB"] = static_cast<double>(bytes) / 1000.0;
}
BENCHMARK(BM_RouteSheet12Stops)->Unit(benchmark::kMillisecond);

void BM_Tour12StopsSvg(benchmark::State& state) {
    render::MapScene scene = corsica().map;
    scene.title = "Tournée depuis AJACCIO-20167";
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::ostringstream out;
        render::writeMapDocument(out, render::ImageFormat::Svg, scene, borders());
        bytes = out.str().size();
    }
    state.counters["kB"] = static_cast<double>(bytes) / 1000.0;
}
BENCHMARK(BM_Tour12StopsSvg)->Unit(benchmark::kMillisecond);

void BM_BordersLoad(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(render::loadBorders(LOCALYX_DATA_DIR).arcs.size());
}
BENCHMARK(BM_BordersLoad)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
