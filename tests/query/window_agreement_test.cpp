#include <gtest/gtest.h>

#include <array>
#include <sstream>

#include "app/initial_state.h"
#include "core/text_encoding.h"
#include "tests/query/tool_runner.h"

// The same files through the window's handlers (on the fake window) and through the program: the same answers.

namespace localyx::testing {
namespace {


// A window just started from the folder, region 1 chosen, then each (list, item) picked.
struct Window {
    Window(const std::filesystem::path& programDir, std::initializer_list<std::pair<ComboId, std::size_t>> picks = {})
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
    const std::filesystem::path programDir = scratch.write("bin/Alsace.txt", GetParam()).parent_path();
    const std::vector<std::string> towns = Window(programDir).view.items(ComboId::Combo1);
    ASSERT_GE(towns.size(), 2u);
    EXPECT_EQ(linesOf(runTool({"towns", "1"}, programDir).out), towns);

    // -1: no choice in ComboKms, the 5 km of start-up.
    for (int radiusItem = -1; radiusItem < static_cast<int>(kRadiusItems.size()); ++radiusItem) {
        for (std::size_t i = 0; i < towns.size(); ++i) {
            Window window(programDir);
            if (radiusItem >= 0) pick(window.form, window.view, ComboId::ComboKms, radiusItem);
            pick(window.form, window.view, ComboId::Combo1, static_cast<int>(i));
            const int km = window.form.variables().RadiusKm;
            SCOPED_TRACE(towns[i] + " at " + std::to_string(km) + " km");
            // The window ends its lines with CR LF.
            std::string text8 = runTool({"neighbours", "1", towns[i], std::to_string(km)}, programDir).out;
            for (std::size_t at = 0; (at = text8.find('\n', at)) != std::string::npos; at += 2) text8.insert(at, "\r");
            EXPECT_EQ(text8, window.view.text(TextId::Text8));

            for (std::size_t j = 0; j < towns.size() && radiusItem == -1; ++j) {
                if (j == i) continue;
                SCOPED_TRACE("to " + towns[j]);  // in a window of its own: it keeps the last distance shown
                const std::string caption =
                    Window(programDir, {{ComboId::Combo1, i}, {ComboId::Combo2, j}}).view.caption(LabelId::result2);
                const ToolRun r = runTool({"distance", "1", towns[i], towns[j]}, programDir);
                EXPECT_EQ(r.exitCode, caption.empty() ? 1 : 0);  // the window may show no distance
                EXPECT_EQ(caption.empty() ? "" : std::string(kDistancePrefix) + r.out.substr(0, r.out.size() - 1) +
                                                     std::string(kDistanceSuffix), caption);
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

// `localyx-query itinerary-url` gives the window's answer for any pair of list
// items, odd ones included: the same address, or exit 1 where the window opens nothing.

TEST(ItineraryAgreement, OddItemsGiveTheWindowsAnswer) {
    const auto windowAnswer = [](const std::string& start, const std::string& dest) {
        FakeView view;
        FakePlatform platform;
        Form1 form(view, platform, {});
        view.addComboItems(ComboId::Combo1, {start});
        view.addComboItems(ComboId::Combo2, {dest});
        view.select(ComboId::Combo1, 0);
        view.select(ComboId::Combo2, 0);
        form.CmdItineraire_Click();
        int startTicks = 0;
        for (; view.timerEnabled(TimerId::Timer1) && startTicks < 1000; ++startTicks) form.Timer1_Timer();
        const int destTicks = tickUntilIdle(form, view, 1000);
        EXPECT_LT(destTicks, 1000) << "the walk never ends";
        if (platform.opened.empty()) return std::string();
        // A walk takes k + 4 ticks for the start and k + 5 for the destination, k
        // being the character position of the first "-", and ends past the item.
        const auto k = [](const std::string& item) { return int(utf8Length(item.substr(0, item.find('-')))) + 1; };
        EXPECT_EQ(startTicks, k(start) + 4);
        EXPECT_EQ(destTicks, k(dest) + 5);
        EXPECT_EQ(form.variables().DestPos, long(utf8Length(dest)) + 1);
        return platform.opened.at(0) + "\n";
    };
    // Names with and without "-", a leading "-", accents, an apostrophe, codes
    // down to nothing: some items are shorter than five characters.
    const std::string good = "EXEMPLEVILLE-00001";
    int opened = 0, refused = 0;
    for (const char* lead : {"", "-"}) {
        for (const char* name : {"L'ISLE", "ÉÎ", "SAINT-EXEMPLE", ""}) {
            for (const char* separator : {"-", " ", ""}) {
                for (const char* code : {"00001", "2A", ""}) {
                    const std::string item = std::string(lead) + name + separator + code;
                    for (const auto& [start, dest] : {std::pair{item, good}, {good, item}, {item, item}}) {
                        SCOPED_TRACE("\"" + start + "\" to \"" + dest + "\"");
                        const std::string answer = windowAnswer(start, dest);
                        std::ostringstream out, err;
                        const int status = query::runQuery({"itinerary-url", "--", start, dest}, out, err, {});
                        EXPECT_EQ(status, answer.empty() ? query::kExitFailure : query::kExitOk) << err.str();
                        EXPECT_EQ(out.str(), answer);
                        EXPECT_EQ(answer.empty(), err.str().find("n'ouvre pas d'itinéraire") != std::string::npos);
                        ++(answer.empty() ? refused : opened);
                    }
                }
            }
        }
    }
    EXPECT_GT(opened, 20);  // both outcomes are met
    EXPECT_GT(refused, 20);
}

}  // namespace
}  // namespace localyx::testing
