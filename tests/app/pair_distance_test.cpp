#include <gtest/gtest.h>

#include <charconv>
#include <string>

#include "app/initial_state.h"
#include "core/distance.h"
#include "core/numeric.h"
#include "tests/app/form_fixture.h"

namespace localyx::testing {
namespace {

std::string shortest(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string distanceCaption(const std::string& km) {
    return std::string(kDistancePrefix) + km + std::string(kDistanceSuffix);
}

class PairDistance : public FormTest {};

TEST_F(PairDistance, SameTownTwiceWarnsAndKeepsTheButton) {
    writeRegion("Alsace", kAlsaceFile);
    chooseRegion(1);
    pick(form, view, ComboId::Combo1, 0);
    pick(form, view, ComboId::Combo2, 1);
    ASSERT_TRUE(view.enabled(ButtonId::CmdItineraire));

    view.select(ComboId::Combo2, 0);
    form.Combo2_Click();
    EXPECT_TRUE(view.visible(LabelId::Labelinfo));
    EXPECT_EQ(view.caption(LabelId::Labelinfo), kSameTownWarning);
    EXPECT_FALSE(view.visible(LabelId::result2));
    EXPECT_TRUE(view.enabled(ButtonId::CmdItineraire));  // left as the earlier pair set it
    EXPECT_EQ(form.variables().ChosenTown, "PRES-67002");  // not a new second town

    pick(form, view, ComboId::Combo2, 1);
    EXPECT_FALSE(view.visible(LabelId::Labelinfo));
    EXPECT_TRUE(view.visible(LabelId::result2));
}

TEST_F(PairDistance, WholeKilometresCutDown) {
    // A second town placed north of the first so that the distance falls in
    // [659.985, 659.995]: it must show 659, not 660.
    const double lat1 = 43.0, lon = 2.0;
    double low = 0, high = 7;
    double lat2 = 0, km = 0;
    for (int i = 0; i < 200; ++i) {
        const double mid = (low + high) / 2;
        lat2 = numericValue(shortest(lat1 + mid));
        km = CalcDistance(lon, lat1, lon, lat2);
        if (km > 659.99) {
            high = mid;
        } else {
            low = mid;
        }
        if (km >= 659.985 && km <= 659.995) break;
    }
    ASSERT_GE(km, 659.985);
    ASSERT_LE(km, 659.995);

    writeRegion("Alsace", "43.0,2.0,UN-00001\r\n" + shortest(lat2) + ",2.0,DEUX-00002\r\n" +
                              "43.0005,2.0005,TOUT PRES-00003\r\n43.0,2.0,JUMEAU-00004\r\n");
    chooseRegion(1);
    pick(form, view, ComboId::Combo1, 0);
    struct Case {
        int second;
        const char* km;
    };
    for (const Case& c : {Case{1, "659"}, Case{2, "0"}, Case{3, "0"}}) {
        SCOPED_TRACE(c.second);
        pick(form, view, ComboId::Combo2, c.second);
        EXPECT_EQ(view.caption(LabelId::result2), distanceCaption(c.km));
        EXPECT_TRUE(view.enabled(ButtonId::CmdItineraire));
        EXPECT_FALSE(view.visible(LabelId::Labelinfo));
    }
    EXPECT_EQ(form.variables().DistanceKm, 0);  // JUMEAU: same point, tiny negative made 0
}

TEST_F(PairDistance, SecondTownBeforeAnyFirstTownShowsNoNewDistance) {
    writeRegion("Alsace", kAlsaceFile);
    chooseRegion(1);
    pick(form, view, ComboId::Combo2, 2);
    EXPECT_TRUE(view.enabled(ButtonId::CmdItineraire));
    EXPECT_TRUE(view.visible(LabelId::result2));
    EXPECT_EQ(view.caption(LabelId::result2), "");
    EXPECT_EQ(form.variables().ChosenTown, "MOYEN-67003");
    EXPECT_EQ(form.variables().Town2Lat, "48.55");
    EXPECT_EQ(form.variables().Town2Lon, "7.45");
}

TEST_F(PairDistance, FirstTownOfThePreviousRegionStillCounts) {
    writeRegion("Alsace", kAlsaceFile);
    writeRegion("Corse", "48.5,7.6,VOISIN-2A001\r\n");
    chooseRegion(1);
    pick(form, view, ComboId::Combo1, 0);  // CENTREVILLE, 48.5 7.5
    chooseRegion(9);
    pick(form, view, ComboId::Combo2, 0);
    EXPECT_EQ(view.caption(LabelId::result2), distanceCaption("7"));  // 0.1 degree east at 48.5
}

TEST_F(PairDistance, ClickWithoutASecondChoiceEnablesAndShowsTheCurrentWarning) {
    writeRegion("Alsace", kAlsaceFile);
    chooseRegion(1);
    pick(form, view, ComboId::Combo1, 0);
    view.setLabelCaption(LabelId::Labelinfo, "avant");
    form.Combo2_Click();  // Combo2 has no choice, Combo1 has one
    EXPECT_TRUE(view.enabled(ButtonId::CmdItineraire));
    EXPECT_TRUE(view.visible(LabelId::Labelinfo));
    EXPECT_EQ(view.caption(LabelId::Labelinfo), "avant");
    EXPECT_TRUE(view.visible(LabelId::result2));
}

}  // namespace
}  // namespace localyx::testing
