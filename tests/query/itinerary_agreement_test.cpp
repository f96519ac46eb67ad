#include <gtest/gtest.h>

#include <sstream>

#include "core/text_encoding.h"
#include "tests/query/tool_runner.h"

namespace localyx::testing {
namespace {

// `localyx-query itinerary-url` gives the window's answer for any pair of list
// items, odd ones included: the same address, or exit 1 where the window opens nothing.

TEST(ItineraryAgreement, OddItemsGiveTheWindowsAnswer) {
    const auto windowAnswer = [](const std::string& start, const std::string& dest) {
        FakeView view;
        FakePlatform platform;
        Form1 form(view, platform, {});
        view.addComboItems(ComboId::Combo1, {start});
        view.addComboItems(ComboId::Combo2, {dest});
        view.select(ComboId::Combo1, 0);
        view.select(ComboId::Combo2, 0);
        form.CmdItineraire_Click();
        int startTicks = 0;
        for (; view.timerEnabled(TimerId::Timer1) && startTicks < 1000; ++startTicks) form.Timer1_Timer();
        const int destTicks = tickUntilIdle(form, view, 1000);
        EXPECT_LT(destTicks, 1000) << "the walk never ends";
        if (platform.opened.empty()) return std::string();
        // A walk takes k + 4 ticks for the start and k + 5 for the destination, k
        // being the character position of the first "-", and ends past the item.
        const auto k = [](const std::string& item) { return int(utf8Length(item.substr(0, item.find('-')))) + 1; };
        EXPECT_EQ(startTicks, k(start) + 4);
        EXPECT_EQ(destTicks, k(dest) + 5);
        EXPECT_EQ(form.variables().DestPos, long(utf8Length(dest)) + 1);
        return platform.opened.at(0) + "\n";
    };
    // Names with and without "-", a leading "-", accents, an apostrophe, codes
    // down to nothing: some items are shorter than five characters.
    const std::string good = "EXEMPLEVILLE-00001";
    const ScratchDir noTable;  // the texts as they are, whatever table lies where the test runs
    int opened = 0, refused = 0;
    for (const char* lead : {"", "-"}) {
        for (const char* name : {"L'ISLE", "ÉÎ", "SAINT-EXEMPLE", ""}) {
            for (const char* separator : {"-", " ", ""}) {
                for (const char* code : {"00001", "2A", ""}) {
                    const std::string item = std::string(lead) + name + separator + code;
                    for (const auto& [start, dest] : {std::pair{item, good}, {good, item}, {item, item}}) {
                        SCOPED_TRACE("\"" + start + "\" to \"" + dest + "\"");
                        const std::string answer = windowAnswer(start, dest);
                        std::ostringstream out, err;
                        const int status = query::runQuery({"itinerary-url", "--", start, dest}, out, err, noTable.path());
                        EXPECT_EQ(status, answer.empty() ? query::kExitFailure : query::kExitOk) << err.str();
                        EXPECT_EQ(out.str(), answer);
                        EXPECT_EQ(answer.empty(), err.str().find("n'ouvre pas d'itinéraire") != std::string::npos);
                        ++(answer.empty() ? refused : opened);
                    }
                }
            }
        }
    }
    EXPECT_GT(opened, 20);  // both outcomes are met
    EXPECT_GT(refused, 20);
}

}  // namespace
}  // namespace localyx::testing
