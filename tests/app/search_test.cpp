#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/web_address.h"
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

// Which towns are neighbours: the window agreement with localyx-query.
TEST_F(Search, RadiusIsFiveUntilChosenThenTheItemPlusOne) {
    pick(form, view, ComboId::Combo1, 0);
    for (const auto& [kmsIndex, radiusKm, count] : {std::tuple{-1, 5, "2"}, {0, 6, "3"}, {1, 11, "4"}, {4, 26, "4"}}) {
        SCOPED_TRACE(kmsIndex);
        if (kmsIndex >= 0) pick(form, view, ComboId::ComboKms, kmsIndex);
        EXPECT_EQ(form.variables().RadiusKm, radiusKm);
        EXPECT_EQ(view.caption(LabelId::LblNbrLoc), count);
    }
    EXPECT_EQ(view.text(TextId::Text8), "PRES-67002\r\nMOYEN-67003\r\nLOIN-67005\r\nSAINT-EXEMPLE-67006\r\n");
}

TEST_F(Search, NoNeighbourLeavesTheCountEmptyNotZero) {
    writeRegion("Corse", "42.0,9.0,AJACCIO-2A004\r\n42.7,9.45,ISOLE-2B001\r\n");
    chooseRegion(9);
    pick(form, view, ComboId::Combo1, 1);
    EXPECT_EQ(view.text(TextId::Text8), "");
    EXPECT_EQ(view.caption(LabelId::LblNbrLoc), "");
}

TEST_F(Search, SecondTown) {
    pick(form, view, ComboId::Combo2, 2);  // before any first town: no distance
    EXPECT_TRUE(view.enabled(ButtonId::CmdItineraire));
    EXPECT_EQ(view.caption(LabelId::result2), "");
    pick(form, view, ComboId::Combo1, 0);  // a first town clears the second
    EXPECT_EQ(view.comboListIndex(ComboId::Combo2), -1);
    EXPECT_EQ(view.comboText(ComboId::Combo2), kTownPrompt);
    EXPECT_FALSE(view.enabled(ButtonId::CmdItineraire));

    pick(form, view, ComboId::Combo2, 1);
    pick(form, view, ComboId::Combo2, 0);  // the same town twice
    EXPECT_TRUE(view.visible(LabelId::Labelinfo));
    EXPECT_EQ(view.caption(LabelId::Labelinfo), "Vous avez choisi la même localité");
    EXPECT_FALSE(view.visible(LabelId::result2));
    EXPECT_TRUE(view.enabled(ButtonId::CmdItineraire));  // as the earlier pair left it

    pick(form, view, ComboId::ComboKms, 1);  // a search clears the warning
    EXPECT_FALSE(view.visible(LabelId::Labelinfo));
    pick(form, view, ComboId::Combo2, 1);
    pick(form, view, ComboId::ComboKms, 2);  // a new radius keeps the pair
    EXPECT_TRUE(view.visible(LabelId::result2));
    EXPECT_EQ(view.caption(LabelId::result2), std::string(kDistancePrefix) + "3" + std::string(kDistanceSuffix));
}

using Addresses = std::vector<std::string>;

class Links : public FormTest {
protected:
    void SetUp() override {
        // Windows-1252, as the region files come: 0xC9 is "É".
        writeRegion("Alsace", "48.5,7.5,EXEMPLEVILLE-00001\r\n48.52,7.47,LE BOURG-00002\r\n"
                              "48.55,7.45,SAINT-EXEMPLE-00003\r\n48.51,7.52,L'ISLE-EXEMPLE-00004\r\n"
                              "48.53,7.53,\xC9" "CLUSE-00005\r\n");
        chooseRegion(1);
    }
};

// The road of a typical use, end to end, the itinerary walked tick by tick.
TEST_F(Links, Road) {
    pick(form, view, ComboId::Combo1, 0);
    form.CmdCarte_Click();
    pick(form, view, ComboId::Combo2, 4);
    // 3.9993 km by the program's own constants: cut down to 3.
    EXPECT_EQ(view.caption(LabelId::result2), "La distance entre ces 2 villes est de : 3  Kms");
    form.CmdCarte_Click();  // the map follows the town chosen last

    form.CmdItineraire_Click();
    tickUntilIdle(form, view);
    const std::string address = itineraryAddress("00001+EXEMPLEVILLE", "00005+ÉCLUSE");
    form.Timer1_Timer();  // a late tick changes nothing
    form.Timer2_Timer();
    EXPECT_FALSE(form.variables().InNamePart);

    pick(form, view, ComboId::ComboKms, 2);  // the search stores the first town anew
    form.CmdCarte_Click();
    EXPECT_EQ(platform.opened, (Addresses{mapAddress("EXEMPLEVILLE-00001"), mapAddress("ÉCLUSE-00005"), address,
                                          mapAddress("EXEMPLEVILLE-00001")}));
}

TEST_F(Links, TheWalkUsesTheTownsOfTheLastClick) {
    pick(form, view, ComboId::Combo1, 1);
    pick(form, view, ComboId::Combo2, 0);  // the first item of its list is a town like any other
    form.CmdItineraire_Click();
    tickUntilIdle(form, view, 7);
    pick(form, view, ComboId::Combo1, 2);  // SAINT-EXEMPLE-00003; disables the button, not the walk
    tickUntilIdle(form, view, 14);         // inside the destination walk
    pick(form, view, ComboId::Combo2, 4);  // ÉCLUSE-00005
    tickUntilIdle(form, view);
    EXPECT_EQ(platform.opened, Addresses{itineraryAddress("00002+LE BOURG", "00001+EXEMPLEVILLE")});

    // A click during either walk starts afresh with the towns chosen now.
    form.CmdItineraire_Click();
    tickUntilIdle(form, view, 3);
    pick(form, view, ComboId::Combo2, 3);  // L'ISLE-EXEMPLE-00004
    form.CmdItineraire_Click();
    EXPECT_EQ(view.text(TextId::TxtDepart), "");
    tickUntilIdle(form, view, (6 + 4) + 8);  // inside the destination walk
    ASSERT_TRUE(view.timerEnabled(TimerId::Timer2));
    pick(form, view, ComboId::Combo2, 4);
    form.CmdItineraire_Click();
    EXPECT_FALSE(view.timerEnabled(TimerId::Timer2));
    EXPECT_EQ(view.text(TextId::TxtArrivee), "");
    EXPECT_EQ(tickUntilIdle(form, view), (6 + 4) + (7 + 5));
    EXPECT_EQ(platform.opened.size(), 2u);
    EXPECT_EQ(platform.opened.back(), itineraryAddress("00003+SAINT", "00005+ÉCLUSE"));
}

// Without a town in each list; items too short for their code: see the
// itinerary agreement with localyx-query.
TEST_F(Links, NoWalkWithoutATownInEachList) {
    for (const auto& [start, dest] : {std::pair{-1, -1}, std::pair{0, -1}, std::pair{-1, 1}}) {
        view.select(ComboId::Combo1, start);
        view.select(ComboId::Combo2, dest);
        form.CmdItineraire_Click();
        EXPECT_FALSE(view.timerEnabled(TimerId::Timer1)) << start << " " << dest;
    }
}

// A damaged file's "name" of megabytes, walked a character a tick, would keep
// the timers busy for hours: an item over 1,000 characters opens at once.
TEST_F(Links, AnAbsurdlyLongNameOpensAtOnce) {
    for (const std::size_t length : {994u, 995u}) {  // with "-00002": 1,000 and 1,001 characters
        const std::string name(length, 'X');
        writeRegion("Alsace", "48.5,7.5,EXEMPLEVILLE-00001\r\n48.52,7.47," + name + "-00002\r\n");
        chooseRegion(1);
        pick(form, view, ComboId::Combo1, 1);  // the long item at both ends: either one decides
        pick(form, view, ComboId::Combo2, 1);
        form.CmdItineraire_Click();
        EXPECT_EQ(tickUntilIdle(form, view) == 0, length == 995u) << length;
        EXPECT_EQ(platform.opened.back(), itineraryAddress("00002+" + name, "00002+" + name));
        EXPECT_EQ(view.text(TextId::TxtDepart) + view.text(TextId::TxtArrivee), "00002+" + name + "00002+" + name);  // as walks leave them
    }
}

}  // namespace
}  // namespace localyx::testing
