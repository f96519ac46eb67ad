#include <gtest/gtest.h>

#include <ostream>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/form1.h"
#include "app/initial_state.h"
#include "tests/app/fake_view.h"
#include "tests/app/form_fixture.h"
#include "tests/query/query_fixture.h"
#include "tests/query/tool_runner.h"

// The command line must give the window's own answers: the same files go
// through the window's handlers (on the fake window) and through the program.

namespace localyx::testing {
namespace {

namespace fs = std::filesystem;

// A window just started, with region 1 chosen from the given folder.
struct Window {
    explicit Window(const fs::path& programDir) : form(view, platform, programDir) {
        form.Form_Load();
        pick(form, view, ComboId::ComboReg, 0);
    }
    FakeView view;
    FakePlatform platform;
    Form1 form;
};

std::vector<std::string> text8Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "every name in Text8 ends with CR LF";
    return lines;
}

struct RegionCase {
    const char* name;
    std::string_view bytes;
};
void PrintTo(const RegionCase& c, std::ostream* os) { *os << c.name; }

class WindowAgreement : public ::testing::TestWithParam<RegionCase> {
protected:
    WindowAgreement() : file(scratch.write("bin/Alsace.txt", GetParam().bytes)) {}
    fs::path programDir() const { return scratch.path() / "bin"; }
    ToolRun query(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--file", file.string()});
        return runTool(args);
    }

    ScratchDir scratch;
    fs::path file;
};

TEST_P(WindowAgreement, NeighboursAreText8ForEveryTownAndRadius) {
    const std::vector<std::string> towns = Window(programDir()).view.items(ComboId::Combo1);
    ASSERT_FALSE(towns.empty());
    EXPECT_EQ(query({"towns"}).out, [&] {
        std::string all;
        for (const std::string& t : towns) all += t + "\n";
        return all;
    }());

    // -1: no choice in ComboKms, the 5 km of start-up.
    for (int radiusItem = -1; radiusItem < static_cast<int>(kRadiusItems.size()); ++radiusItem) {
        for (std::size_t i = 0; i < towns.size(); ++i) {
            Window window(programDir());
            if (radiusItem >= 0) pick(window.form, window.view, ComboId::ComboKms, radiusItem);
            pick(window.form, window.view, ComboId::Combo1, static_cast<int>(i));
            const int km = window.form.variables().RadiusKm;
            SCOPED_TRACE(towns[i] + " at " + std::to_string(km) + " km");

            const ToolRun r = query({"neighbours", towns[i], std::to_string(km)});
            ASSERT_EQ(r.exitCode, 0) << r.err;
            EXPECT_EQ(linesOf(r.out), text8Lines(window.view.text(TextId::Text8)));
        }
    }
}

TEST_P(WindowAgreement, DistanceIsResult2ForEveryPair) {
    const std::vector<std::string> towns = Window(programDir()).view.items(ComboId::Combo1);
    for (std::size_t i = 0; i < towns.size(); ++i) {
        for (std::size_t j = 0; j < towns.size(); ++j) {
            if (i == j) continue;
            SCOPED_TRACE(towns[i] + " / " + towns[j]);
            Window window(programDir());
            pick(window.form, window.view, ComboId::Combo1, static_cast<int>(i));
            pick(window.form, window.view, ComboId::Combo2, static_cast<int>(j));
            const std::string caption = window.view.caption(LabelId::result2);

            const ToolRun r = query({"distance", towns[i], towns[j]});
            if (caption.empty()) {  // the window shows no distance
                EXPECT_EQ(r.exitCode, 1);
                EXPECT_EQ(r.out, "");
            } else {
                ASSERT_EQ(r.exitCode, 0) << r.err;
                EXPECT_EQ(std::string(kDistancePrefix) + linesOf(r.out).at(0) +
                              std::string(kDistanceSuffix),
                          caption);
            }
        }
    }
}

TEST_P(WindowAgreement, AddressesAreThoseTheWindowOpens) {
    const std::vector<std::string> towns = Window(programDir()).view.items(ComboId::Combo1);
    ASSERT_GE(towns.size(), 2u);
    Window window(programDir());
    pick(window.form, window.view, ComboId::Combo1, 0);
    window.form.CmdCarte_Click();
    pick(window.form, window.view, ComboId::Combo2, 1);
    window.form.CmdItineraire_Click();
    tickUntilIdle(window.form, window.view);
    ASSERT_EQ(window.platform.opened.size(), 2u);

    EXPECT_EQ(runTool({"map-url", towns[0]}).out, window.platform.opened[0] + "\n");
    EXPECT_EQ(runTool({"itinerary-url", towns[0], towns[1]}).out,
              window.platform.opened[1] + "\n");
}

INSTANTIATE_TEST_SUITE_P(Files, WindowAgreement,
                         ::testing::Values(RegionCase{"WindowTests", kAlsaceFile},
                                           RegionCase{"QueryTests", kQueryRegion},
                                           RegionCase{"NameFirst", kNameFirst},
                                           RegionCase{"MissingCoordinates", kMissingCoordinates}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace localyx::testing
