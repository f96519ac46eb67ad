#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/initial_state.h"
#include "app/region_file_message.h"
#include "tests/app/form_fixture.h"

namespace localyx::testing {
namespace {

using Items = std::vector<std::string>;

class RegionLoad : public FormTest {};

TEST_F(RegionLoad, FillsTheFourListsInFileOrderWithTheTextsAsWritten) {
    writeRegion("Alsace", "48.50,-1.25,EXEMPLEVILLE-00001\r\n"
                          "48.25,-1.5,\"VILLE, SUR MER-00002\"\r\n");
    chooseRegion(1);
    const Items names = {"EXEMPLEVILLE-00001", "VILLE, SUR MER-00002"};
    const Items coords = {"48.50", "-1.25", "48.25", "-1.5"};
    EXPECT_EQ(view.items(ComboId::Combo1), names);
    EXPECT_EQ(view.items(ComboId::Combo2), names);
    EXPECT_EQ(view.items(ComboId::Combo3), coords);
    EXPECT_EQ(view.items(ComboId::Combo4), coords);
    EXPECT_EQ(view.caption(LabelId::LblRegions), "Alsace");
    EXPECT_EQ(form.variables().RegionFile, "Alsace");
    EXPECT_EQ(view.comboText(ComboId::Combo1), kTownPrompt);
    EXPECT_EQ(view.comboText(ComboId::Combo2), kTownPrompt);
    EXPECT_EQ(view.comboListIndex(ComboId::Combo1), -1);
    EXPECT_EQ(view.comboListIndex(ComboId::Combo2), -1);
    EXPECT_EQ(view.text(TextId::Text8), "");
}

TEST_F(RegionLoad, CaptionAndFileAreTheCataloguesNotTheDisplayItems) {
    struct Case {
        int number;
        const char* caption;
        const char* baseName;
    };
    for (const Case& c : {Case{21, "Provence-Alpes-Côtes d'Azur", "Provence"},
                          Case{12, "Île de France", "Iledefrance"},
                          Case{17, "Nord-Pas-De-Calais", "NordPasdeCalais"}}) {
        SCOPED_TRACE(c.number);
        writeRegion(c.baseName, std::string("43.5,5.5,LIEU-") + c.baseName + "\r\n");
        chooseRegion(c.number);
        EXPECT_EQ(view.caption(LabelId::LblRegions), c.caption);
        EXPECT_EQ(view.items(ComboId::Combo1), Items{std::string("LIEU-") + c.baseName});
    }
}

TEST_F(RegionLoad, EmptiesTheViewAndLetsItRepaintBeforeTheFileIsRead) {
    writeRegion("Alsace", kAlsaceFile);
    chooseRegion(1);
    pick(form, view, ComboId::Combo1, 0);
    pick(form, view, ComboId::Combo2, 2);
    ASSERT_NE(view.caption(LabelId::result2), "");
    ASSERT_NE(view.text(TextId::Text8), "");

    writeRegion("Corse", "42.0,9.0,AJACCIO-2A004\r\n");
    bool checked = false;
    view.onPendingEvents = [&] {
        checked = true;
        EXPECT_EQ(view.caption(LabelId::LblRegions), "Corse");
        EXPECT_EQ(view.text(TextId::Text8), "");
        EXPECT_EQ(view.caption(LabelId::result2), "");
        EXPECT_EQ(view.caption(LabelId::LblNbrLoc), "");
        for (ComboId id : {ComboId::Combo1, ComboId::Combo2, ComboId::Combo3, ComboId::Combo4}) {
            EXPECT_EQ(view.comboListCount(id), 0);
        }
        EXPECT_NE(view.comboText(ComboId::Combo1), kTownPrompt);  // the prompts come after
    };
    chooseRegion(9);
    EXPECT_TRUE(checked);
    EXPECT_EQ(view.items(ComboId::Combo1), Items{"AJACCIO-2A004"});
}

TEST_F(RegionLoad, ReloadHoldsOneCopyAndKeepsRadiusButtonsAndTowns) {
    writeRegion("Alsace", kAlsaceFile);
    chooseRegion(1);
    pick(form, view, ComboId::ComboKms, 3);  // "20"
    pick(form, view, ComboId::Combo1, 0);
    pick(form, view, ComboId::Combo2, 1);
    const Form1Variables before = form.variables();

    chooseRegion(1);
    EXPECT_EQ(view.comboListCount(ComboId::Combo1), 6);
    EXPECT_EQ(view.comboListCount(ComboId::Combo3), 12);
    EXPECT_EQ(view.comboListIndex(ComboId::Combo1), -1);
    EXPECT_EQ(view.comboText(ComboId::Combo1), kTownPrompt);
    EXPECT_EQ(view.comboText(ComboId::ComboKms), "20");
    EXPECT_EQ(form.variables().RadiusKm, 21);
    EXPECT_TRUE(view.enabled(ButtonId::CmdCarte));
    EXPECT_TRUE(view.enabled(ButtonId::CmdItineraire));
    EXPECT_EQ(form.variables().ChosenTown, before.ChosenTown);
    EXPECT_EQ(form.variables().Town1Lat, before.Town1Lat);
    EXPECT_EQ(view.text(TextId::Text8), "");
    EXPECT_EQ(view.caption(LabelId::LblNbrLoc), "");
    EXPECT_EQ(view.caption(LabelId::result2), "");
}

TEST_F(RegionLoad, EmptyFileLeavesEmptyListsWithPrompts) {
    writeRegion("Alsace", "");
    chooseRegion(1);
    EXPECT_EQ(view.comboListCount(ComboId::Combo1), 0);
    EXPECT_EQ(view.comboListCount(ComboId::Combo3), 0);
    EXPECT_EQ(view.comboText(ComboId::Combo2), kTownPrompt);
    EXPECT_EQ(view.text(TextId::Text8), "");
}

TEST_F(RegionLoad, MisplacedFieldsShiftTheCoordinatesAsTheyFall) {
    // A longitude of 0 is taken for a name; a name starting with a digit for a coordinate.
    writeRegion("Alsace", "48.5,0,ZERO-00001\r\n48.6,7.5,2 PONTS-00002\r\n");
    chooseRegion(1);
    EXPECT_EQ(view.items(ComboId::Combo1), (Items{"0", "ZERO-00001"}));
    EXPECT_EQ(view.items(ComboId::Combo3), (Items{"48.5", "48.6", "7.5", "2 PONTS-00002"}));
}

TEST_F(RegionLoad, MissingOrUnreadableFileSaysSoAndTheNextRegionLoads) {
    chooseRegion(1);
    EXPECT_EQ(view.text(TextId::Text8),
              "Fichier introuvable : Alsace.txt — la liste des localités de la région Alsace "
              "n'a pas pu être lue.");
    EXPECT_EQ(view.caption(LabelId::LblRegions), "Alsace");
    EXPECT_EQ(form.variables().RegionFile, "Alsace");
    EXPECT_EQ(view.comboText(ComboId::Combo1), kTownPrompt);
    EXPECT_EQ(view.comboListCount(ComboId::Combo1), 0);
    EXPECT_EQ(view.mousePointer(), MousePointer::Default);

    // Something that bears the file's name but is no file.
    std::filesystem::create_directory(programDir / "Franchecomte.txt");
    chooseRegion(10);
    EXPECT_EQ(view.text(TextId::Text8),
              "Fichier illisible : Franchecomte.txt — la liste des localités de la région "
              "Franche-Comté n'a pas pu être lue.");

    writeRegion("Corse", "42.0,9.0,AJACCIO-2A004\r\n");
    chooseRegion(9);
    EXPECT_EQ(view.text(TextId::Text8), "");
    EXPECT_EQ(view.items(ComboId::Combo1), Items{"AJACCIO-2A004"});
}

TEST_F(RegionLoad, AChoiceReachedDuringTheLoadIsIgnored) {
    writeRegion("Alsace", kAlsaceFile);
    writeRegion("Corse", "42.0,9.0,AJACCIO-2A004\r\n");
    int nested = 0;
    view.onPendingEvents = [&] {
        if (++nested > 1) return;
        chooseRegion(9);
        pick(form, view, ComboId::ComboKms, 4);
        view.select(ComboId::Combo1, 0);  // nothing loaded yet: the list is empty
        form.Combo1_Click();
    };
    chooseRegion(1);
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(view.caption(LabelId::LblRegions), "Alsace");
    EXPECT_EQ(view.comboListCount(ComboId::Combo1), 6);
    EXPECT_EQ(form.variables().RadiusKm, 5);
    EXPECT_FALSE(view.visible(LabelId::Labelinfo));

    view.onPendingEvents = nullptr;
    chooseRegion(9);  // and once the load is over, the next one runs
    EXPECT_EQ(view.items(ComboId::Combo1), Items{"AJACCIO-2A004"});
}

TEST_F(RegionLoad, MoreThanSixteenThousandLocalitiesLoadAndSearch) {
    // A grid of 200 rows by 100 columns, 0.01 degree apart.
    constexpr int kRows = 200, kColumns = 100, kCount = kRows * kColumns;
    std::string file;
    for (int i = 0; i < kCount; ++i) {
        const int row = i / kColumns, column = i % kColumns;
        const int lat = 4500 + row, lon = 200 + column;  // hundredths of a degree
        file += std::to_string(lat / 100) + '.' + std::to_string(100 + lat % 100).substr(1) + ',';
        file += std::to_string(lon / 100) + '.' + std::to_string(100 + lon % 100).substr(1) + ',';
        file += "LIEU" + std::to_string(i) + "-99999\r\n";
    }
    writeRegion("Auvergne", file);
    chooseRegion(3);
    ASSERT_EQ(view.comboListCount(ComboId::Combo1), kCount);
    ASSERT_EQ(view.comboListCount(ComboId::Combo4), 2 * kCount);

    const int last = kCount - 1;  // 46.99, 2.99: neighbours only south-west
    pick(form, view, ComboId::Combo1, last);
    EXPECT_EQ(form.variables().Town1Lat, "46.99");
    EXPECT_EQ(form.variables().Town1Lon, "2.99");
    EXPECT_EQ(view.caption(LabelId::LblNbrLoc), "16");  // 4 rows by 4 columns within 5 km
    const std::string found = view.text(TextId::Text8);
    EXPECT_EQ(found.substr(0, 17), "LIEU19595-99999\r\n");  // row 195, column 95
    EXPECT_EQ(found.substr(found.size() - 17), "LIEU19898-99999\r\n");

    pick(form, view, ComboId::Combo2, last - kColumns);  // one row south: 0.01 degree
    EXPECT_EQ(form.variables().Town2Lat, "46.98");
    EXPECT_EQ(view.caption(LabelId::result2), "La distance entre ces 2 villes est de : 1  Kms");
}

}  // namespace
}  // namespace localyx::testing

namespace localyx::testing {
namespace {

TEST(RegionFileMessage, NamesTheFileAndTheRegionForEachProblem) {
    struct Case {
        RegionFileProblem problem;
        const char* expected;
    };
    const Case cases[] = {
        {RegionFileProblem::None, ""},
        {RegionFileProblem::NotFound,
         "Fichier introuvable : Rhonealpes.txt — la liste des localités de la région Rhône-Alpes n'a pas pu être lue."},
        {RegionFileProblem::Unreadable,
         "Fichier illisible : Rhonealpes.txt — la liste des localités de la région Rhône-Alpes n'a pas pu être lue."},
        {RegionFileProblem::TooLarge,
         "Fichier trop volumineux : Rhonealpes.txt — la liste des localités de la région Rhône-Alpes n'a pas pu être "
         "lue."},
    };
    for (const Case& c : cases) {
        RegionFileText file;
        file.problem = c.problem;
        file.fileName = "Rhonealpes.txt";
        EXPECT_EQ(regionFileMessage(file, "Rhône-Alpes"), c.expected);
    }
}

}  // namespace
}  // namespace localyx::testing
