#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/form1.h"
#include "app/initial_state.h"
#include "tests/app/form_fixture.h"

namespace localyx::testing {
namespace {

class FormStart : public FormTest {};

TEST_F(FormStart, PromptsKeepTheirExactBlanks) {
    EXPECT_EQ(kComboRegPrompt, std::string(23, ' ') + "Choisir une région");
    EXPECT_EQ(kCombo1Prompt, std::string(22, ' ') + "Choisir une  localité");
    EXPECT_EQ(kCombo2Prompt, std::string(22, ' ') + "Choisir une localité");
    EXPECT_EQ(kTownPrompt, " Choisir une  localité");
}

// Form_Load, the drag surfaces (left button only) and the corner buttons.
TEST_F(FormStart, WindowHandlersAskThePlatform) {
    const std::vector<std::pair<ComboId, int>> depths = {{ComboId::Combo1, 510}, {ComboId::Combo2, 490},
                                                         {ComboId::ComboReg, 530}};
    EXPECT_EQ(platform.dropDownHeights, depths);
    EXPECT_EQ(form.variables().RadiusKm, 5);

    for (int button : {2, 4, 1}) {
        form.Form_MouseDown(button);
        form.Label1_MouseDown(button);
        form.LblRegions_MouseDown(button);
    }
    form.CmdaBOUT_Click();
    form.CmdMinimise_Click();
    form.CmdQuit_Click();
    const std::vector<std::string> calls = {"topmost", "drag",      "topmost",  "drag",      "topmost",
                                            "drag",    "showAbout", "minimise", "hideAbout", "quit"};
    EXPECT_EQ(platform.calls, calls);
}

}  // namespace
}  // namespace localyx::testing
