// Speed of the real window on the offscreen platform: the largest region
// loaded into the four lists through the window's logic, a search shown in
// the widgets, and the window built and shown.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <QApplication>
#include <QStyleFactory>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/region_file.h"

#include "platform/font_fallback.h"
#include "view/choice_combo.h"
#include "view/form_session.h"

namespace {

constexpr int kMidiPyrenees = 16;  // catalogue number

void addPeakMemory(benchmark::State& state) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void chooseRegion(localyx::FormSession& session, int number) {
    session.window().setComboListIndex(localyx::ComboId::ComboReg, number - 1);
    session.form().ComboReg_Click();
}

void BM_LoadLargestRegionIntoWidgets(benchmark::State& state) {
    localyx::FormSession session(LOCALYX_REGION_DIR);
    for (auto _ : state) {
        chooseRegion(session, kMidiPyrenees);
        if (session.window().comboListCount(localyx::ComboId::Combo1) != 2944) {
            state.SkipWithError("largest region misloaded");
        }
    }
    addPeakMemory(state);
}
BENCHMARK(BM_LoadLargestRegionIntoWidgets)->Unit(benchmark::kMillisecond);

// A file just under the size cap, of ordinary lines (about 30 bytes a
// locality), loaded into the window: the longest a load can freeze it. Run
// it alone (--benchmark_filter=Cap) for its own peak memory.
void BM_LoadFileAtTheSizeCap(benchmark::State& state) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "localyx-bench-cap";
    std::filesystem::create_directories(dir);
    {
        std::ofstream out(dir / "Alsace.txt", std::ios::binary | std::ios::trunc);
        std::string line;
        for (std::uintmax_t written = 0, i = 0;; ++i, written += line.size()) {
            line = "48." + std::to_string(i % 100000) + ",7." + std::to_string(i % 99991) + ",LIEU" +
                   std::to_string(i) + "-67001\r\n";
            if (written + line.size() > localyx::kMaxRegionFileBytes) break;
            out << line;
        }
    }
    localyx::FormSession session(dir);
    for (auto _ : state) {
        chooseRegion(session, 1);
        if (session.window().comboListCount(localyx::ComboId::Combo1) < 1000) state.SkipWithError("file refused");
    }
    addPeakMemory(state);
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_LoadFileAtTheSizeCap)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SearchShownInWidgets(benchmark::State& state) {
    localyx::FormSession session(LOCALYX_REGION_DIR);
    chooseRegion(session, kMidiPyrenees);
    int town = 0;
    for (auto _ : state) {
        session.window().setComboListIndex(localyx::ComboId::Combo1, town);
        session.form().Combo1_Click();
        town = (town + 97) % 2944;
    }
    addPeakMemory(state);
}
BENCHMARK(BM_SearchShownInWidgets)->Unit(benchmark::kMillisecond);

void BM_WindowBuiltAndShown(benchmark::State& state) {
    for (auto _ : state) {
        auto session = std::make_unique<localyx::FormSession>(LOCALYX_REGION_DIR);
        session->show();
        if (!QTest::qWaitForWindowExposed(&session->window())) state.SkipWithError("window not shown");
        state.PauseTiming();
        session.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    addPeakMemory(state);
}
BENCHMARK(BM_WindowBuiltAndShown)->Unit(benchmark::kMillisecond)->Iterations(10);

/// Toulouse in Midi-Pyrénées, searched at 25 km: the region's densest map.
int chooseToulouse(localyx::FormSession& session) {
    chooseRegion(session, kMidiPyrenees);
    localyx::MainWindow& window = session.window();
    for (int i = 0; i < window.comboListCount(localyx::ComboId::Combo1); ++i) {
        if (window.comboItem(localyx::ComboId::Combo1, i) == "TOULOUSE-31300") return i;
    }
    return 0;
}

/// A choice as the user makes it, through the widget, so that the map hears of it.
void choose(localyx::FormSession& session, localyx::ComboId id, int index) {
    session.window().setComboListIndex(id, index);
    emit session.window().combo(id)->activated(index);
}

QWidget* mapCanvas(localyx::FormSession& session) {
    QWidget* map = session.mapExtensionIfLoaded() ? session.mapExtensionIfLoaded()->mapWindow() : nullptr;
    return map ? map->findChild<QWidget*>(QStringLiteral("MapCanvas")) : nullptr;
}

// « Voir sur la carte » to the map drawn, after a 25 km search; the first
// iteration also loads the module and the borders. The program's folder in
// the build tree holds the region files and the borders, as once installed.
void BM_MapOpened(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto session = std::make_unique<localyx::FormSession>(localyx::executableDir());
        session->show();
        choose(*session, localyx::ComboId::ComboKms, 4);
        choose(*session, localyx::ComboId::Combo1, chooseToulouse(*session));
        QCoreApplication::processEvents();
        state.ResumeTiming();
        session->window().showMapAction()->trigger();
        QWidget* canvas = mapCanvas(*session);
        if (!canvas || !QTest::qWaitForWindowExposed(canvas->window())) state.SkipWithError("map not shown");
        canvas->grab();
        state.PauseTiming();
        session.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MapOpened)->Unit(benchmark::kMillisecond)->Iterations(1)->Name("BM_MapOpened/first");
BENCHMARK(BM_MapOpened)->Unit(benchmark::kMillisecond)->Iterations(10);

// A new town chosen while the map is open: the search, the map's answer and
// the map drawn again.
void BM_MapRedrawnAfterAChoice(benchmark::State& state) {
    localyx::FormSession session(localyx::executableDir());
    session.show();
    choose(session, localyx::ComboId::ComboKms, 4);
    const int toulouse = chooseToulouse(session);
    choose(session, localyx::ComboId::Combo1, toulouse);
    session.window().showMapAction()->trigger();
    QWidget* canvas = mapCanvas(session);
    if (!canvas || !QTest::qWaitForWindowExposed(canvas->window())) state.SkipWithError("map not shown");
    int town = toulouse;
    for (auto _ : state) {
        town = town == toulouse ? toulouse + 1 : toulouse;
        choose(session, localyx::ComboId::Combo1, town);
        canvas->grab();
    }
}
BENCHMARK(BM_MapRedrawnAfterAChoice)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);
    localyx::installFontFallbacks();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
