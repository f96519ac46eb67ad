#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/app/form_fixture.h"
#include "tools/localyx_query/query.h"

// `localyx-query itinerary-url` must give the window's answer for any pair of
// list items, odd ones included: the same address, or nothing (exit 1) where
// the window opens nothing.

namespace localyx::testing {
namespace {

// Names with and without "-", several "-", a leading "-", accents, an
// apostrophe, and codes down to nothing, so that some items fall under five
// characters.
std::vector<std::string> oddItems() {
    std::vector<std::string> items;
    for (const char* lead : {"", "-"}) {
        for (const char* name : {"L'ISLE", "ÉÎ", "SAINT-EXEMPLE", ""}) {
            for (const char* separator : {"-", " ", ""}) {
                for (const char* code : {"00001", "2A", ""}) {
                    items.push_back(std::string(lead) + name + separator + code);
                }
            }
        }
    }
    return items;
}

/// The address the window opens for the pair, or "" when it opens none.
std::string windowAnswer(const std::string& start, const std::string& dest) {
    FakeView view;
    FakePlatform platform;
    Form1 form(view, platform, {});
    form.Form_Load();
    view.addComboItems(ComboId::Combo1, {start});
    view.addComboItems(ComboId::Combo2, {dest});
    view.select(ComboId::Combo1, 0);
    view.select(ComboId::Combo2, 0);
    form.CmdItineraire_Click();
    tickUntilIdle(form, view, 1000);
    EXPECT_FALSE(view.timerEnabled(TimerId::Timer1) || view.timerEnabled(TimerId::Timer2)) << "the walk never ends";
    EXPECT_LE(platform.opened.size(), 1u);
    return platform.opened.empty() ? "" : platform.opened[0];
}

/// The tool's address for the pair, or "" when it exits with 1.
std::string toolAnswer(const std::string& start, const std::string& dest) {
    std::ostringstream out, err;
    const int code = query::runQuery({"itinerary-url", "--", start, dest}, out, err, {});
    if (code == query::kExitFailure) {
        EXPECT_EQ(out.str(), "");
        return "";
    }
    EXPECT_EQ(code, query::kExitOk) << err.str();
    std::string address = out.str();
    EXPECT_TRUE(!address.empty() && address.back() == '\n');
    if (!address.empty()) address.pop_back();
    return address;
}

TEST(ItineraryAgreement, OddItemsGiveTheWindowsAnswer) {
    const std::string good = "EXEMPLEVILLE-00001";
    int opened = 0;
    for (const std::string& item : oddItems()) {
        for (const auto& [start, dest] : {std::pair{item, good}, std::pair{good, item}, std::pair{item, item}}) {
            SCOPED_TRACE("\"" + start + "\" to \"" + dest + "\"");
            const std::string answer = windowAnswer(start, dest);
            EXPECT_EQ(toolAnswer(start, dest), answer);
            opened += answer.empty() ? 0 : 1;
        }
    }
    // Both outcomes are met, not just one of them.
    EXPECT_GT(opened, 20);
    EXPECT_LT(opened, 3 * static_cast<int>(oddItems().size()) - 20);
}

}  // namespace
}  // namespace localyx::testing
