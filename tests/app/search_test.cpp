#include <gtest/gtest.h>

#include <string>
#include <tuple>

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
    EXPECT_EQ(form.variables().ChosenTown, "MOYEN-67003");
    pick(form, view, ComboId::Combo1, 0);  // a first town clears the second
    EXPECT_EQ(view.comboListIndex(ComboId::Combo2), -1);
    EXPECT_EQ(view.comboText(ComboId::Combo2), kTownPrompt);
    EXPECT_FALSE(view.enabled(ButtonId::CmdItineraire));

    pick(form, view, ComboId::Combo2, 1);
    pick(form, view, ComboId::Combo2, 0);  // the same town twice
    EXPECT_TRUE(view.visible(LabelId::Labelinfo));
    EXPECT_EQ(view.caption(LabelId::Labelinfo), kSameTownWarning);
    EXPECT_FALSE(view.visible(LabelId::result2));
    EXPECT_TRUE(view.enabled(ButtonId::CmdItineraire));   // as the earlier pair left it
    EXPECT_EQ(form.variables().ChosenTown, "PRES-67002");  // not a new second town

    pick(form, view, ComboId::ComboKms, 1);  // a search clears the warning
    EXPECT_FALSE(view.visible(LabelId::Labelinfo));
    pick(form, view, ComboId::Combo2, 1);
    pick(form, view, ComboId::ComboKms, 2);  // a new radius keeps the pair
    EXPECT_TRUE(view.visible(LabelId::result2));
    EXPECT_EQ(view.caption(LabelId::result2), std::string(kDistancePrefix) + "3" + std::string(kDistanceSuffix));
}

}  // namespace
}  // namespace localyx::testing
