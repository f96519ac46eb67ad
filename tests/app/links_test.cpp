#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text_encoding.h"
#include "core/web_address.h"
#include "tests/app/form_fixture.h"

namespace localyx::testing {
namespace {

const std::string kMapHead =
    "http://www.viamichelin.fr/viamichelin/fra/dyn/controller/mapPerformPage?expressMap=false"
    "&act=&pim=true&strAddress=&strCP=&strLocation=";
const std::string kMapTail = "%20&%20%20&strCountry=1424&x=33&y=11";

std::string itinerary(const std::string& start, const std::string& dest) {
    return "http://www.viamichelin.fr/viamichelin/fra/dyn/controller/ItiWGPerformPage?ie=utf-8"
           "&reinit=1&strStartCityCountry=1424&strStartAddress=&strStartMerged=" +
           start + "&strDestCityCountry=1424&strDestAddress=&strDestMerged=" + dest +
           " &image2.x=0&image2.y=0#";
}

// Windows-1252, as the region files come: 0xC9 is "É".
constexpr std::string_view kTownsFile =
    "48.5,7.5,EXEMPLEVILLE-00001\r\n"
    "48.52,7.47,LE BOURG-00002\r\n"
    "48.55,7.45,SAINT-EXEMPLE-00003\r\n"
    "48.51,7.52,L'ISLE-EXEMPLE-00004\r\n"
    "48.53,7.53,\xC9" "CLUSE-00005\r\n";

class Links : public FormTest {
protected:
    void SetUp() override {
        writeRegion("Alsace", kTownsFile);
        chooseRegion(1);
    }
};

TEST_F(Links, MapFollowsTheTownChosenLastRaw) {
    pick(form, view, ComboId::Combo1, 0);
    form.CmdCarte_Click();
    pick(form, view, ComboId::Combo2, 3);
    form.CmdCarte_Click();
    pick(form, view, ComboId::Combo2, 4);
    form.CmdCarte_Click();
    pick(form, view, ComboId::ComboKms, 2);  // the search stores the first town anew
    form.CmdCarte_Click();
    chooseRegion(1);  // a reload chooses no town: the last one stays
    form.CmdCarte_Click();
    form.CmdCarte_Click();

    const std::vector<std::string> expected = {
        kMapHead + "EXEMPLEVILLE-00001" + kMapTail,   kMapHead + "L'ISLE-EXEMPLE-00004" + kMapTail,
        kMapHead + "ÉCLUSE-00005" + kMapTail,         kMapHead + "EXEMPLEVILLE-00001" + kMapTail,
        kMapHead + "EXEMPLEVILLE-00001" + kMapTail,   kMapHead + "EXEMPLEVILLE-00001" + kMapTail,
    };
    EXPECT_EQ(platform.opened, expected);
    EXPECT_EQ(view.text(TextId::TxtURLMich), expected.back());
}

TEST_F(Links, ItineraryWalksTickByTick) {
    pick(form, view, ComboId::Combo1, 0);  // EXEMPLEVILLE-00001: first "-" at 13
    pick(form, view, ComboId::Combo2, 1);  // LE BOURG-00002: first "-" at 9
    ASSERT_TRUE(view.enabled(ButtonId::CmdItineraire));
    form.CmdItineraire_Click();
    EXPECT_TRUE(view.timerEnabled(TimerId::Timer1));
    EXPECT_FALSE(view.timerEnabled(TimerId::Timer2));
    EXPECT_EQ(view.text(TextId::TxtDepart0), "EXEMPLEVILLE-00001");
    EXPECT_EQ(view.text(TextId::TxtArrivee0), "LE BOURG-00002");
    EXPECT_EQ(form.variables().StartPos, 13);
    EXPECT_EQ(form.variables().DestPos, 9);
    EXPECT_FALSE(form.variables().InNamePart);

    form.Timer1_Timer();
    EXPECT_EQ(view.text(TextId::TxtDepart), "0");
    for (int i = 0; i < 4; ++i) form.Timer1_Timer();
    EXPECT_EQ(view.text(TextId::TxtDepart), "00001+E");
    EXPECT_TRUE(form.variables().InNamePart);
    int ticks = 5;
    while (view.timerEnabled(TimerId::Timer1)) {
        form.Timer1_Timer();
        ++ticks;
    }
    EXPECT_EQ(ticks, 13 + 4);
    EXPECT_EQ(form.variables().StartMerged, "00001+EXEMPLEVILLE");
    EXPECT_EQ(view.text(TextId::TxtDepart), "00001+EXEMPLEVILLE");
    EXPECT_TRUE(view.timerEnabled(TimerId::Timer2));
    EXPECT_FALSE(form.variables().InNamePart);

    for (int i = 0; i < 5; ++i) form.Timer2_Timer();
    EXPECT_EQ(view.text(TextId::TxtArrivee), "00002");
    form.Timer2_Timer();  // looks past the end: nothing, then the "+"
    EXPECT_EQ(view.text(TextId::TxtArrivee), "00002+L");
    ticks = 6;
    while (view.timerEnabled(TimerId::Timer2)) {
        EXPECT_TRUE(platform.opened.empty());
        form.Timer2_Timer();
        ++ticks;
    }
    EXPECT_EQ(ticks, 9 + 5);
    EXPECT_EQ(form.variables().DestMerged, "00002+LE BOURG");
    const std::string address = itinerary("00001+EXEMPLEVILLE", "00002+LE BOURG");
    EXPECT_EQ(platform.opened, std::vector<std::string>{address});
    EXPECT_EQ(view.text(TextId::TxtURLMich2), address);
    EXPECT_FALSE(view.timerEnabled(TimerId::Timer1));
    EXPECT_FALSE(view.timerEnabled(TimerId::Timer2));
    EXPECT_FALSE(form.variables().InNamePart);

    form.Timer2_Timer();  // a late tick changes nothing
    form.Timer1_Timer();
    EXPECT_EQ(platform.opened.size(), 1u);
    EXPECT_EQ(view.text(TextId::TxtDepart), "00001+EXEMPLEVILLE");
}

TEST_F(Links, TheWalkWorksOnTheItemsOfTheClick) {
    pick(form, view, ComboId::Combo1, 0);
    pick(form, view, ComboId::Combo2, 1);
    form.CmdItineraire_Click();
    for (int i = 0; i < 7; ++i) form.Timer1_Timer();
    pick(form, view, ComboId::Combo1, 2);  // disables the button, not the walk
    EXPECT_FALSE(view.enabled(ButtonId::CmdItineraire));
    for (int i = 0; i < 14; ++i) form.Timer1_Timer();
    pick(form, view, ComboId::Combo2, 4);
    tickUntilIdle(form, view);
    EXPECT_EQ(platform.opened, std::vector<std::string>{itinerary("00001+EXEMPLEVILLE", "00002+LE BOURG")});
}

TEST_F(Links, AClickDuringEitherWalkStartsAfreshWithTheTownsChosenNow) {
    pick(form, view, ComboId::Combo1, 0);
    pick(form, view, ComboId::Combo2, 1);
    form.CmdItineraire_Click();
    for (int i = 0; i < 9; ++i) form.Timer1_Timer();  // inside the start walk
    form.CmdItineraire_Click();
    EXPECT_EQ(view.text(TextId::TxtDepart), "");
    while (view.timerEnabled(TimerId::Timer1)) form.Timer1_Timer();
    for (int i = 0; i < 8; ++i) form.Timer2_Timer();  // inside the destination walk
    ASSERT_TRUE(view.timerEnabled(TimerId::Timer2));

    pick(form, view, ComboId::Combo2, 3);
    form.CmdItineraire_Click();
    EXPECT_FALSE(view.timerEnabled(TimerId::Timer2));
    EXPECT_TRUE(view.timerEnabled(TimerId::Timer1));
    EXPECT_FALSE(form.variables().InNamePart);
    EXPECT_EQ(view.text(TextId::TxtArrivee), "");
    EXPECT_EQ(form.variables().StartMerged, "");
    EXPECT_LT(tickUntilIdle(form, view), 100);
    EXPECT_EQ(platform.opened, std::vector<std::string>{itinerary("00001+EXEMPLEVILLE", "00004+L'ISLE")});
}

TEST_F(Links, NoWalkWithoutTwoTownsOfFiveCharacters) {
    const auto idle = [&] {
        EXPECT_FALSE(view.timerEnabled(TimerId::Timer1));
        EXPECT_EQ(view.text(TextId::TxtDepart0), "");
        EXPECT_EQ(view.text(TextId::TxtArrivee0), "");
    };
    form.CmdItineraire_Click();  // region loaded, no town in either list
    idle();
    view.select(ComboId::Combo1, 0);
    form.CmdItineraire_Click();
    idle();
    view.select(ComboId::Combo1, -1);
    view.select(ComboId::Combo2, 1);
    form.CmdItineraire_Click();
    idle();

    view.addComboItems(ComboId::Combo1, {"ABCD", "", "ÉÉÉÉ"});  // positions 5, 6, 7
    for (int shortItem : {5, 6, 7}) {
        SCOPED_TRACE(shortItem);
        view.select(ComboId::Combo1, shortItem);
        form.CmdItineraire_Click();
        idle();
    }
    form.Timer1_Timer();  // and no stray tick starts anything
    EXPECT_EQ(view.text(TextId::TxtDepart), "");
    EXPECT_TRUE(platform.opened.empty());
}

// The walk's result, start and destination alike, is the core's rework of the
// item, after k + 4 and k + 5 ticks, k being the first "-" (or one past the
// end of an item without any).
TEST_F(Links, AnAbsurdlyLongNameOpensAtOnce) {
    // A damaged file can hold a "name" of megabytes; walking it a character
    // a tick would keep the timers busy for hours.
    const std::string huge(200000, 'X');
    writeRegion("Alsace", "48.5,7.5,EXEMPLEVILLE-00001\r\n48.52,7.47," + huge + "-00002\r\n");
    chooseRegion(1);
    pick(form, view, ComboId::Combo1, 0);
    pick(form, view, ComboId::Combo2, 1);
    form.CmdItineraire_Click();
    EXPECT_FALSE(view.timerEnabled(TimerId::Timer1));
    EXPECT_FALSE(view.timerEnabled(TimerId::Timer2));
    EXPECT_EQ(platform.opened, std::vector<std::string>{itinerary("00001+EXEMPLEVILLE", "00002+" + huge)});
    EXPECT_EQ(view.text(TextId::TxtDepart), "00001+EXEMPLEVILLE");
}

TEST(ItineraryWalk, EqualsTheReworkOfEveryItem) {
    const std::vector<std::string> items = {
        "EXEMPLEVILLE-00001", "LE BOURG-00002", "SAINT-EXEMPLE-00003", "L'ISLE-EXEMPLE-00004",
        "ÉCLUSE-00005",       "-DEBUT-00007",   "EXEMPLEVILLE 00006",  "ABCDE",
        "AB-CD",              "X-Y-Z-1-2",      "ÀÉÎÕÜ",               "ÉCLUSE 0000É",
        "A+B C'D-12345",      "-----",          "NOMS-",               "NOM-1234-",
    };
    for (const std::string& item : items) {
        SCOPED_TRACE(item);
        FakeView view;
        FakePlatform platform;
        Form1 form(view, platform, ".");
        view.addComboItems(ComboId::Combo1, {item, "DEST-00099"});
        view.addComboItems(ComboId::Combo2, {"DEPART-00098", item});
        const long n = static_cast<long>(utf8Length(item));
        const std::size_t hyphen = item.find('-');
        const long k = hyphen == std::string::npos ? n + 1 : static_cast<long>(utf8Length(item.substr(0, hyphen))) + 1;

        for (bool asStart : {true, false}) {
            view.select(ComboId::Combo1, asStart ? 0 : 1);
            view.select(ComboId::Combo2, asStart ? 0 : 1);
            form.CmdItineraire_Click();
            int startTicks = 0, destTicks = 0;
            while (view.timerEnabled(TimerId::Timer1) && startTicks < 1000) {
                form.Timer1_Timer();
                ++startTicks;
            }
            while (view.timerEnabled(TimerId::Timer2) && destTicks < 1000) {
                form.Timer2_Timer();
                ++destTicks;
            }
            ASSERT_FALSE(view.timerEnabled(TimerId::Timer1));
            ASSERT_FALSE(view.timerEnabled(TimerId::Timer2));
            EXPECT_FALSE(form.variables().InNamePart);
            if (asStart) {
                EXPECT_EQ(form.variables().StartMerged, reworkItem(item));
                EXPECT_EQ(startTicks, k + 4);
                EXPECT_EQ(platform.opened.back(), itinerary(reworkItem(item), "00098+DEPART"));
            } else {
                EXPECT_EQ(form.variables().DestMerged, reworkItem(item));
                EXPECT_EQ(destTicks, k + 5);
                EXPECT_EQ(platform.opened.back(), itinerary("00099+DEST", reworkItem(item)));
            }
        }
    }
}

// The road of a typical use, end to end.
TEST_F(Links, Road) {
    pick(form, view, ComboId::Combo1, 0);
    EXPECT_EQ(view.text(TextId::Text8), "LE BOURG-00002\r\nL'ISLE-EXEMPLE-00004\r\nÉCLUSE-00005\r\n");
    EXPECT_EQ(view.caption(LabelId::LblNbrLoc), "3");
    pick(form, view, ComboId::ComboKms, 0);
    EXPECT_EQ(view.text(TextId::Text8),
              "LE BOURG-00002\r\nSAINT-EXEMPLE-00003\r\nL'ISLE-EXEMPLE-00004\r\nÉCLUSE-00005\r\n");
    EXPECT_EQ(view.caption(LabelId::LblNbrLoc), "4");
    pick(form, view, ComboId::Combo2, 4);
    // 3.9993 km by the program's own constants: cut down to 3.
    EXPECT_EQ(view.caption(LabelId::result2), "La distance entre ces 2 villes est de : 3  Kms");
    form.CmdCarte_Click();
    form.CmdItineraire_Click();
    EXPECT_EQ(tickUntilIdle(form, view), (13 + 4) + (7 + 5));
    EXPECT_EQ(platform.opened, (std::vector<std::string>{kMapHead + "ÉCLUSE-00005" + kMapTail,
                                                         itinerary("00001+EXEMPLEVILLE", "00005+ÉCLUSE")}));
}

}  // namespace
}  // namespace localyx::testing
