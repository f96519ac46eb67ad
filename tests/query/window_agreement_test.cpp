#include <gtest/gtest.h>

#include <array>

#include "app/initial_state.h"
#include "tests/query/tool_runner.h"

// The same files through the window's handlers (on the fake window) and through the program: the same answers.

namespace localyx::testing {
namespace {

namespace fs = std::filesystem;

// A window just started from the folder, region 1 chosen, then each (list, item) picked.
struct Window {
    Window(const fs::path& programDir, std::initializer_list<std::pair<ComboId, std::size_t>> picks = {})
        : form(view, platform, programDir) {
        form.Form_Load();
        pick(form, view, ComboId::ComboReg, 0);
        for (const auto& [combo, item] : picks) pick(form, view, combo, static_cast<int>(item));
    }
    FakeView view;
    FakePlatform platform;
    Form1 form;
};

class WindowAgreement : public ::testing::TestWithParam<std::string_view> {};

TEST_P(WindowAgreement, EveryAnswerIsTheWindows) {
    const ScratchDir scratch;
    const fs::path programDir = scratch.write("bin/Alsace.txt", GetParam()).parent_path();
    const auto query = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"--file", (programDir / "Alsace.txt").string()});
        return runTool(args);
    };
    const std::vector<std::string> towns = Window(programDir).view.items(ComboId::Combo1);
    ASSERT_GE(towns.size(), 2u);
    EXPECT_EQ(linesOf(query({"towns"}).out), towns);

    // -1: no choice in ComboKms, the 5 km of start-up.
    for (int radiusItem = -1; radiusItem < static_cast<int>(kRadiusItems.size()); ++radiusItem) {
        for (std::size_t i = 0; i < towns.size(); ++i) {
            Window window(programDir);
            if (radiusItem >= 0) pick(window.form, window.view, ComboId::ComboKms, radiusItem);
            pick(window.form, window.view, ComboId::Combo1, static_cast<int>(i));
            const int km = window.form.variables().RadiusKm;
            SCOPED_TRACE(towns[i] + " at " + std::to_string(km) + " km");
            std::string text8 = query({"neighbours", towns[i], std::to_string(km)}).out;  // CR LF in the window
            for (std::size_t at = 0; (at = text8.find('\n', at)) != std::string::npos; at += 2) text8.insert(at, "\r");
            EXPECT_EQ(text8, window.view.text(TextId::Text8));

            for (std::size_t j = 0; j < towns.size() && radiusItem == -1; ++j) {
                if (j == i) continue;
                SCOPED_TRACE("to " + towns[j]);
                // A window of its own: it keeps the last distance shown.
                const std::string caption =
                    Window(programDir, {{ComboId::Combo1, i}, {ComboId::Combo2, j}}).view.caption(LabelId::result2);
                const ToolRun r = query({"distance", towns[i], towns[j]});
                EXPECT_EQ(r.exitCode, caption.empty() ? 1 : 0);  // the window may show no distance
                if (!caption.empty()) {
                    EXPECT_EQ(std::string(kDistancePrefix) + r.out.substr(0, r.out.size() - 1) +
                                  std::string(kDistanceSuffix), caption);
                }
            }
        }
    }

    Window window(programDir, {{ComboId::Combo1, 0}, {ComboId::Combo2, 1}});
    window.form.CmdCarte_Click();
    window.form.CmdItineraire_Click();
    tickUntilIdle(window.form, window.view);
    ASSERT_EQ(window.platform.opened.size(), 2u);
    EXPECT_EQ(runTool({"map-url", "--", towns[1]}).out, window.platform.opened[0] + "\n");  // the last town picked
    EXPECT_EQ(runTool({"itinerary-url", "--", towns[0], towns[1]}).out, window.platform.opened[1] + "\n");
}

INSTANTIATE_TEST_SUITE_P(Files, WindowAgreement,
                         ::testing::Values(std::string_view(kQueryRegion), kNameFirst, kMissingCoordinates),
                         [](const auto& info) { return std::string(std::array{"Localities", "NameFirst",
                                                                              "MissingCoordinates"}[info.index]); });

}  // namespace
}  // namespace localyx::testing
