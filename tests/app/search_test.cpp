#include <gtest/gtest.h>

#include <string>

#include "app/initial_state.h"
#include "tests/app/form_fixture.h"

namespace localyx::testing {
namespace {

class Search : public FormTest {
protected:
    void SetUp() override {
        writeRegion("Alsace", kAlsaceFile);
        chooseRegion(1);
    }
};

TEST_F(Search, RadiusIsFiveUntilChosenThenTheItemPlusOne) {
    struct Case {
        int kmsIndex;  // -1: no choice yet
        int radiusKm;
        const char* text8;
    };
    const Case cases[] = {
        {-1, 5, "PRES-67002\r\nSAINT-EXEMPLE-67006\r\n"},
        {0, 6, "PRES-67002\r\nMOYEN-67003\r\nSAINT-EXEMPLE-67006\r\n"},
        {1, 11, "PRES-67002\r\nMOYEN-67003\r\nLOIN-67005\r\nSAINT-EXEMPLE-67006\r\n"},
        {4, 26, "PRES-67002\r\nMOYEN-67003\r\nLOIN-67005\r\nSAINT-EXEMPLE-67006\r\n"},
    };
    pick(form, view, ComboId::Combo1, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kmsIndex);
        if (c.kmsIndex >= 0) pick(form, view, ComboId::ComboKms, c.kmsIndex);
        EXPECT_EQ(form.variables().RadiusKm, c.radiusKm);
        EXPECT_DOUBLE_EQ(form.variables().RadiusDeg, c.radiusKm / 111.0);
        // Never the town itself, nor MEMELAT on exactly its latitude.
        EXPECT_EQ(view.text(TextId::Text8), c.text8);
        std::size_t lines = 0;
        for (std::size_t at = 0; (at = view.text(TextId::Text8).find("\r\n", at)) != std::string::npos; at += 2) {
            ++lines;
        }
        EXPECT_EQ(view.caption(LabelId::LblNbrLoc), std::to_string(lines));
        EXPECT_EQ(form.variables().NeighbourCount, static_cast<int>(lines));
    }
}

TEST_F(Search, AFirstTownIsStoredAndUnlocksTheMap) {
    pick(form, view, ComboId::Combo1, 1);
    EXPECT_EQ(form.variables().ChosenTown, "PRES-67002");
    EXPECT_EQ(form.variables().Town1Lat, "48.52");
    EXPECT_EQ(form.variables().Town1Lon, "7.47");
    EXPECT_EQ(form.variables().TownIndex, 1);
    EXPECT_TRUE(view.enabled(ButtonId::CmdCarte));
    EXPECT_FALSE(view.visible(LabelId::Labelinfo));
    EXPECT_EQ(view.mousePointer(), MousePointer::Default);
    EXPECT_EQ(form.variables().FileItem, "SAINT-EXEMPLE-67006");  // the last field read
}

TEST_F(Search, NoNeighbourLeavesTheCountEmptyNotZero) {
    writeRegion("Corse", "42.0,9.0,AJACCIO-2A004\r\n42.7,9.45,ISOLE-2B001\r\n");
    chooseRegion(9);
    pick(form, view, ComboId::Combo1, 1);
    EXPECT_EQ(view.text(TextId::Text8), "");
    EXPECT_EQ(view.caption(LabelId::LblNbrLoc), "");
    EXPECT_TRUE(view.enabled(ButtonId::CmdCarte));
}

TEST_F(Search, PointerIsTheHourglassWhileTheWindowRepaints) {
    MousePointer during = MousePointer::Default;
    std::string text8During = "unset";
    view.onPendingEvents = [&] {
        during = view.mousePointer();
        text8During = view.text(TextId::Text8);
    };
    pick(form, view, ComboId::Combo1, 0);
    EXPECT_EQ(during, MousePointer::Hourglass);
    EXPECT_EQ(text8During, "");
    EXPECT_EQ(view.mousePointer(), MousePointer::Default);
}

TEST_F(Search, WithoutATownWarnsAndKeepsTheRadius) {
    pick(form, view, ComboId::ComboKms, 2);  // "15", region loaded, no town yet
    EXPECT_EQ(form.variables().RadiusKm, 16);
    EXPECT_TRUE(view.visible(LabelId::Labelinfo));
    EXPECT_EQ(view.caption(LabelId::Labelinfo), kNoTownWarning);
    EXPECT_EQ(view.text(TextId::Text8), "");
    EXPECT_EQ(view.caption(LabelId::LblNbrLoc), "");
    EXPECT_FALSE(view.enabled(ButtonId::CmdCarte));
    EXPECT_EQ(form.variables().ChosenTown, "");
    EXPECT_EQ(view.mousePointer(), MousePointer::Default);

    pick(form, view, ComboId::Combo1, 0);
    EXPECT_EQ(form.variables().RadiusKm, 16);
    EXPECT_FALSE(view.visible(LabelId::Labelinfo));
}

TEST_F(Search, AFirstTownClearsTheSecondAndItsDistance) {
    pick(form, view, ComboId::Combo1, 0);
    pick(form, view, ComboId::Combo2, 1);
    ASSERT_TRUE(view.enabled(ButtonId::CmdItineraire));
    ASSERT_NE(view.caption(LabelId::result2), "");

    pick(form, view, ComboId::ComboKms, 1);  // a new radius keeps the pair
    EXPECT_TRUE(view.enabled(ButtonId::CmdItineraire));
    EXPECT_NE(view.caption(LabelId::result2), "");
    EXPECT_EQ(view.comboListIndex(ComboId::Combo2), 1);

    pick(form, view, ComboId::Combo1, 0);  // even the same town again
    EXPECT_EQ(view.comboListIndex(ComboId::Combo2), -1);
    EXPECT_EQ(view.comboText(ComboId::Combo2), kTownPrompt);
    EXPECT_EQ(view.caption(LabelId::result2), "");
    EXPECT_FALSE(view.enabled(ButtonId::CmdItineraire));
    EXPECT_FALSE(view.visible(LabelId::Labelinfo));
}

TEST_F(Search, AVanishedFileSaysSoWithTheNewTownKept) {
    pick(form, view, ComboId::Combo1, 0);
    removeRegion("Alsace");
    pick(form, view, ComboId::Combo1, 1);
    EXPECT_EQ(view.text(TextId::Text8),
              "Fichier introuvable : Alsace.txt — la liste des localités de la région Alsace "
              "n'a pas pu être lue.");
    EXPECT_EQ(view.caption(LabelId::LblNbrLoc), "");
    EXPECT_EQ(form.variables().ChosenTown, "PRES-67002");
    EXPECT_EQ(view.mousePointer(), MousePointer::Default);

    writeRegion("Alsace", kAlsaceFile);
    pick(form, view, ComboId::Combo1, 0);
    EXPECT_EQ(view.caption(LabelId::LblNbrLoc), "2");
}

TEST_F(Search, AHandlerReachedDuringTheSearchIsIgnored) {
    // Were they let in, the radius handler would search on its own and the
    // first search then append after its names and count on from its total;
    // the region handler would empty the lists under the first search.
    int nested = 0;
    view.onPendingEvents = [&] {
        if (++nested > 1) return;
        form.ComboKms_Click();
        form.Combo1_Click();
        form.ComboReg_Click();
    };
    pick(form, view, ComboId::Combo1, 0);
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(view.text(TextId::Text8), "PRES-67002\r\nSAINT-EXEMPLE-67006\r\n");
    EXPECT_EQ(view.caption(LabelId::LblNbrLoc), "2");
    EXPECT_EQ(form.variables().RadiusKm, 5);
    EXPECT_EQ(view.comboListCount(ComboId::Combo1), 6);
    EXPECT_EQ(view.comboListIndex(ComboId::Combo1), 0);

    view.onPendingEvents = nullptr;
    pick(form, view, ComboId::ComboKms, 0);  // the guard is lifted afterwards
    EXPECT_EQ(form.variables().RadiusKm, 6);
}

}  // namespace
}  // namespace localyx::testing
