#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/search_answer.h"
#include "view/map_window/search_map.h"
#include "tests/app/form_fixture.h"

namespace localyx::testing {
namespace {

class Answer : public FormTest {};

/// The answer as the window takes it just after the handlers ran.
SearchAnswer answerOf(const FakeView& view, const Form1& form, bool distanceShown) {
    const AnswerPicks picks{view.comboListIndex(ComboId::Combo1), view.comboListIndex(ComboId::ComboKms),
                            distanceShown ? view.comboListIndex(ComboId::Combo2) : -1};
    return searchAnswer(view, form.variables(), picks);
}

std::vector<std::string> namesOf(const SearchAnswer& answer) {
    std::vector<std::string> names;
    for (const Locality& l : answer.found) names.push_back(l.name + "|" + l.postalCode);
    return names;
}

// The localities Text8 lists, each with its own coordinates (twins too),
// nearest first; the second town only while its distance is shown.
TEST_F(Answer, IsWhatTheWindowListsNearestFirst) {
    std::string file(kAlsaceFile);
    file.insert(file.find("48.55"), "48.56,7.56,PRES-67002\r\n");  // a twin right after its namesake
    writeRegion("Alsace", file);
    chooseRegion(1);
    pick(form, view, ComboId::ComboKms, 1);  // "10": 11 km
    pick(form, view, ComboId::Combo1, 0);
    SearchAnswer answer = answerOf(view, form, false);
    ASSERT_TRUE(answer.town);
    EXPECT_EQ(answer.town->name, "CENTREVILLE");
    EXPECT_EQ(answer.radiusKm, 10);
    EXPECT_DOUBLE_EQ(answer.radiusDeg, 11 / 111.0);
    EXPECT_EQ(namesOf(answer), (std::vector<std::string>{"SAINT-EXEMPLE|67006", "PRES|67002", "MOYEN|67003",
                                                         "PRES|67002", "LOIN|67005"}));
    EXPECT_DOUBLE_EQ(answer.found[3].latitude, 48.56);  // the twin read from its own line
    for (std::size_t i = 1; i < answer.kms.size(); ++i) EXPECT_LE(answer.kms[i - 1], answer.kms[i]);
    EXPECT_FALSE(answer.second);

    pick(form, view, ComboId::Combo2, 3);
    EXPECT_FALSE(answerOf(view, form, false).second);
    answer = answerOf(view, form, true);
    ASSERT_TRUE(answer.second);
    EXPECT_EQ(answer.second->name, "MOYEN");
    EXPECT_EQ(answer.secondKm, 6);  // as result2: "... de : 6  Kms"
    EXPECT_EQ(view.caption(LabelId::result2), "La distance entre ces 2 villes est de : 6  Kms");

    // Its map: the searched square, the town first, the second town last,
    // joined by a line that says result2's distance.
    const SearchMap map(answer, std::make_shared<const render::Borders>());
    const render::MapScene& scene = map.scene();
    EXPECT_EQ(scene.title, "Localités à 10 km de CENTREVILLE");
    EXPECT_EQ(scene.note, "5 localités");
    ASSERT_TRUE(scene.box && scene.line);
    EXPECT_DOUBLE_EQ(scene.box->degrees, answer.radiusDeg);
    ASSERT_EQ(scene.places.size(), 7u);
    EXPECT_EQ(scene.places[0].role, render::PlaceRole::Centre);
    EXPECT_EQ(scene.places[5].label, "LOIN");
    EXPECT_EQ(scene.places[6].label + " " + scene.line->text, "MOYEN 6 km");
    EXPECT_EQ(scene.places[6].role, render::PlaceRole::SecondTown);
    EXPECT_EQ(scene.line->from + scene.line->to, 6u);

    pick(form, view, ComboId::Combo2, 0);  // the same town twice
    EXPECT_FALSE(answerOf(view, form, true).second);
}

TEST_F(Answer, AMessageInText8PlacesNothing) {
    writeRegion("Alsace", kAlsaceFile);
    chooseRegion(1);
    pick(form, view, ComboId::Combo1, 0);
    view.setText(TextId::Text8, "Fichier introuvable\r\n");
    const SearchAnswer answer = answerOf(view, form, false);
    EXPECT_TRUE(answer.found.empty());
    chooseRegion(1);  // the list emptied
    EXPECT_FALSE(answerOf(view, form, false).town);
}

}  // namespace
}  // namespace localyx::testing
