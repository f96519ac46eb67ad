#include <gtest/gtest.h>

#include <string>

#include "app/form1.h"
#include "app/initial_state.h"
#include "core/region_catalogue.h"
#include "tests/app/fake_view.h"

namespace localyx::testing {
namespace {

std::string blanks(std::size_t n) { return std::string(n, ' '); }

TEST(InitialState, PromptsKeepTheirExactBlanks) {
    EXPECT_EQ(kComboRegPrompt, blanks(23) + "Choisir une région");
    EXPECT_EQ(kCombo1Prompt, blanks(22) + "Choisir une  localité");
    EXPECT_EQ(kCombo2Prompt, blanks(22) + "Choisir une localité");
    EXPECT_EQ(kTownPrompt, " Choisir une  localité");
    EXPECT_NE(kCombo1Prompt, kTownPrompt);
}

TEST(InitialState, FakeViewStartsAsTheWindowDoes) {
    FakeView view;
    EXPECT_EQ(view.comboText(ComboId::ComboReg), kComboRegPrompt);
    EXPECT_EQ(view.comboListIndex(ComboId::ComboReg), -1);
    ASSERT_EQ(view.comboListCount(ComboId::ComboReg), kRegionCount);
    EXPECT_EQ(view.comboItem(ComboId::ComboReg, 0), " Alsace  67, 68");
    EXPECT_EQ(view.comboText(ComboId::Combo1), kCombo1Prompt);
    EXPECT_EQ(view.comboText(ComboId::Combo2), kCombo2Prompt);
    for (ComboId id : {ComboId::Combo1, ComboId::Combo2, ComboId::Combo3, ComboId::Combo4}) {
        EXPECT_EQ(view.comboListCount(id), 0);
        EXPECT_EQ(view.comboListIndex(id), -1);
    }
    EXPECT_EQ(view.comboText(ComboId::ComboKms), " 5");
    EXPECT_EQ(view.comboListIndex(ComboId::ComboKms), -1);
    EXPECT_EQ(view.items(ComboId::ComboKms), (std::vector<std::string>{" 5", "10", "15", "20", "25"}));
    EXPECT_FALSE(view.enabled(ButtonId::CmdCarte));
    EXPECT_FALSE(view.enabled(ButtonId::CmdItineraire));
    EXPECT_FALSE(view.visible(LabelId::Labelinfo));
    for (LabelId id : {LabelId::result2, LabelId::LblNbrLoc, LabelId::LblRegions}) EXPECT_EQ(view.caption(id), "");
    EXPECT_EQ(view.text(TextId::Text8), "");
    EXPECT_FALSE(view.timerEnabled(TimerId::Timer1));
    EXPECT_FALSE(view.timerEnabled(TimerId::Timer2));
}

TEST(FormLoad, SetsTheThreeDropDownDepthsThenTheStartingRadius) {
    FakeView view;
    FakePlatform platform;
    Form1 form(view, platform, ".");
    EXPECT_EQ(form.variables().RadiusKm, 0);
    form.Form_Load();
    const std::vector<std::pair<ComboId, int>> expected = {
        {ComboId::Combo1, 510}, {ComboId::Combo2, 490}, {ComboId::ComboReg, 530}};
    EXPECT_EQ(platform.dropDownHeights, expected);
    EXPECT_EQ(form.variables().RadiusKm, 5);
}

TEST(WindowBehaviour, OnlyALeftPressOnADragSurfaceRaisesAndDrags) {
    FakeView view;
    FakePlatform platform;
    Form1 form(view, platform, ".");
    for (int button : {2, 4}) {
        form.Form_MouseDown(button);
        form.Label1_MouseDown(button);
        form.LblRegions_MouseDown(button);
    }
    EXPECT_EQ(platform.topmostCalls, 0);
    EXPECT_EQ(platform.dragCalls, 0);

    form.Form_MouseDown(1);
    form.Label1_MouseDown(1);
    form.LblRegions_MouseDown(1);
    EXPECT_EQ(platform.topmostCalls, 3);
    EXPECT_EQ(platform.dragCalls, 3);
}

TEST(WindowBehaviour, ButtonsOfTheTopCorners) {
    FakeView view;
    FakePlatform platform;
    Form1 form(view, platform, ".");
    form.CmdaBOUT_Click();
    form.CmdaBOUT_Click();
    EXPECT_EQ(platform.showAboutCalls, 2);  // the platform only brings an open box forward
    form.CmdMinimise_Click();
    EXPECT_EQ(platform.minimiseCalls, 1);
    EXPECT_EQ(platform.hideAboutCalls, 1);
    EXPECT_EQ(platform.quitCalls, 0);
    form.CmdQuit_Click();
    EXPECT_EQ(platform.quitCalls, 1);
}

}  // namespace
}  // namespace localyx::testing
