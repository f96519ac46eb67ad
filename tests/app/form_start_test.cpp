#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/app/form_fixture.h"

namespace localyx::testing {
namespace {

using FormStart = FormTest;

TEST_F(FormStart, PromptsKeepTheirExactBlanks) {
    EXPECT_EQ(kComboRegPrompt, std::string(23, ' ') + "Choisir une région");
    EXPECT_EQ(kCombo1Prompt, std::string(22, ' ') + "Choisir une  localité");
    EXPECT_EQ(kCombo2Prompt, std::string(22, ' ') + "Choisir une localité");
    EXPECT_EQ(kTownPrompt, " Choisir une  localité");
}

// The drags of the left button are the window tests'; the depths of all
// three lists and the middle button are checked here only.
TEST_F(FormStart, LoadSetsTheDepthsAndOnlyTheLeftButtonDrags) {
    const std::vector<std::pair<ComboId, int>> depths = {{ComboId::Combo1, 510}, {ComboId::Combo2, 490},
                                                         {ComboId::ComboReg, 530}};
    EXPECT_EQ(platform.dropDownHeights, depths);
    for (int button : {2, 4}) {
        form.Form_MouseDown(button);
        form.Label1_MouseDown(button);
        form.LblRegions_MouseDown(button);
    }
    EXPECT_TRUE(platform.calls.empty());
}

}  // namespace
}  // namespace localyx::testing
