#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/region_file_message.h"
#include "tests/app/form_fixture.h"

namespace localyx::testing {
namespace {

using Items = std::vector<std::string>;
using FormStart = FormTest;
using RegionLoad = FormTest;

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

TEST_F(RegionLoad, FillsTheFourListsAsWrittenAndAReloadKeepsOneCopy) {
    writeRegion("Alsace", "48.50,7.5,EXEMPLEVILLE-00001\r\n48.52,7.47,\"VILLE, SUR MER-00002\"\r\n");
    chooseRegion(1);
    const Items names = {"EXEMPLEVILLE-00001", "VILLE, SUR MER-00002"}, coords = {"48.50", "7.5", "48.52", "7.47"};
    EXPECT_EQ(view.items(ComboId::Combo2), names);
    EXPECT_EQ(view.items(ComboId::Combo3), coords);
    EXPECT_EQ(view.caption(LabelId::LblRegions), "Alsace");

    pick(form, view, ComboId::ComboKms, 3);  // "20" before any town: a warning
    EXPECT_EQ(view.caption(LabelId::Labelinfo), "Vous n'avez choisi aucune localité");
    EXPECT_TRUE(view.visible(LabelId::Labelinfo));
    EXPECT_FALSE(view.enabled(ButtonId::CmdCarte));
    pick(form, view, ComboId::Combo1, 0);
    EXPECT_FALSE(view.visible(LabelId::Labelinfo));
    pick(form, view, ComboId::Combo2, 1);

    // A reload empties the lists and the town choices, and keeps the radius and the buttons.
    chooseRegion(1);
    EXPECT_EQ(view.items(ComboId::Combo1), names);
    EXPECT_EQ(view.items(ComboId::Combo4), coords);
    for (ComboId id : {ComboId::Combo1, ComboId::Combo2}) {
        EXPECT_EQ(view.comboListIndex(id), -1);
        EXPECT_EQ(view.comboText(id), kTownPrompt);
    }
    EXPECT_EQ(form.variables().RadiusKm, 21);
    EXPECT_TRUE(view.enabled(ButtonId::CmdCarte) && view.enabled(ButtonId::CmdItineraire));
    EXPECT_EQ(view.text(TextId::Text8), "");
}

TEST_F(RegionLoad, AMissingFileSaysSoAtLoadAndAtSearch) {
    const std::string message =
        "Fichier introuvable : Alsace.txt — la liste des localités de la région Alsace n'a pas pu être lue.";
    chooseRegion(1);
    EXPECT_EQ(view.text(TextId::Text8), message);
    EXPECT_EQ(view.comboText(ComboId::Combo1), kTownPrompt);

    writeRegion("Alsace", kAlsaceFile);
    chooseRegion(1);
    ASSERT_EQ(view.comboListCount(ComboId::Combo1), 6);
    std::filesystem::remove(programDir / "Alsace.txt");  // gone before the search reads it again
    pick(form, view, ComboId::Combo1, 1);
    EXPECT_EQ(view.text(TextId::Text8), message);
    EXPECT_EQ(form.variables().ChosenTown, "PRES-67002");
    EXPECT_EQ(view.mousePointer(), MousePointer::Default);
}

TEST(RegionFileMessage, NamesTheFileAndTheRegionForEachProblem) {
    const std::string tail =
        " : Rhonealpes.txt — la liste des localités de la région Rhône-Alpes n'a pas pu être lue.";
    for (const auto& [problem, head] : {std::pair{RegionFileProblem::Unreadable, "Fichier illisible"},
                                        {RegionFileProblem::TooLarge, "Fichier trop volumineux (plus de 8 Mo)"}}) {
        RegionFileText file;
        file.problem = problem;
        file.fileName = "Rhonealpes.txt";
        EXPECT_EQ(regionFileMessage(file, "Rhône-Alpes"), head + tail);
    }
}

// Loads and searches let the window repaint; a click slipping through then
// must not start a second load or search inside the first.
TEST_F(RegionLoad, RepaintsWithoutHandlingClicksDuringALoadOrASearch) {
    writeRegion("Alsace", kAlsaceFile);
    writeRegion("Corse", "42.0,9.0,AJACCIO-2A004\r\n");
    chooseRegion(1);
    pick(form, view, ComboId::Combo1, 0);
    pick(form, view, ComboId::Combo2, 2);
    int rounds = 0;
    view.onPendingEvents = [&] {
        if (++rounds > 1) return;
        EXPECT_EQ(view.caption(LabelId::result2), "");  // emptied before the repaint
        EXPECT_EQ(view.comboListCount(ComboId::Combo3), 0);
        chooseRegion(1);
        pick(form, view, ComboId::ComboKms, 4);
    };
    chooseRegion(9);
    EXPECT_EQ(view.items(ComboId::Combo1), Items{"AJACCIO-2A004"});
    EXPECT_EQ(form.variables().RadiusKm, 5);

    chooseRegion(1);  // the load is over: the next one runs
    view.onPendingEvents = [&] {  // a search: the window shows the hourglass
        if (++rounds > 3) return;
        EXPECT_EQ(view.mousePointer(), MousePointer::Hourglass);
        form.ComboKms_Click();
        form.Combo1_Click();
        form.ComboReg_Click();
    };
    pick(form, view, ComboId::Combo1, 0);
    EXPECT_EQ(rounds, 3);
    EXPECT_EQ(view.caption(LabelId::LblNbrLoc), "2");  // 5 km, counted once
    EXPECT_EQ(view.comboListIndex(ComboId::Combo1), 0);  // no reload under the search
    EXPECT_EQ(view.mousePointer(), MousePointer::Default);
}

}  // namespace
}  // namespace localyx::testing
