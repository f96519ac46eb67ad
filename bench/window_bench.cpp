// Speed of the real window on the offscreen platform: the largest region
// loaded into the four lists through the window's logic, a search shown in
// the widgets, and the window built and shown.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <QApplication>
#include <QStyleFactory>
#include <QTest>

#include <memory>

#include "platform/font_fallback.h"
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
