#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/locality_table.h"
#include "core/name_folding.h"
#include "core/name_index.h"
#include "core/town_resolver.h"

// Towns as people write them, over the bundled table and names: what each
// spelling comes to. The folding's own properties are in fuzz/town_key_fuzz.cpp.

namespace localyx {
namespace {

struct France {
    LocalityTable table = readLocalityTableAt(LOCALYX_FRANCE_DIR "/localites.csv");
    NameIndex index{table.rows, loadTownNames(LOCALYX_FRANCE_DIR)};
    TownResolver resolver{index};
};

const France& france() {
    static const France loaded;
    return loaded;
}

TEST(TownKey, SpellingsOfOneNameMeet) {
    for (const auto& [a, b] : std::vector<std::pair<std::string, std::string>>{
             {"ANDELYS (LES)", "les andelys"}, {"ABERGEMENT-DE-VAREY (L )", "L'Abergement-de-Varey"},
             {"L’HAŸ LES ROSES", "l'hay-les-roses"}, {"STE-MARIE-AUX-MINES", "Sainte Marie aux Mines"},
             {"HŒNHEIM", "hoenheim"}, {"Saint-Malo  ", " ST. MALO"}, {"Rennes (35)", "rennes 35"}}) {
        EXPECT_EQ(townKey(a), townKey(b)) << a;
    }
    EXPECT_EQ(townKey("Hôpital (L') Saint-Blaise"), "hopital l saint blaise");  // not at the end: left in place
    EXPECT_EQ(NameIndex::nameKey("Lyon 3ème Arrondissement"), NameIndex::nameKey("LYON 3E"));
    EXPECT_NE(NameIndex::nameKey("Gap 05"), NameIndex::nameKey("Gap 5"));  // a département keeps its zero
}

TEST(TownResolver, SpellingsComeToTheCommuneMeant) {
    const France& f = france();
    ASSERT_TRUE(f.table.ok() && f.index.names().ok() && !f.index.names().rows.empty());
    enum Want { Found, Ambiguous, Unknown };
    struct Case {
        std::string text;
        Want want;
        std::string insee;  // Found: the place; Ambiguous: one of the candidates; Unknown: the first suggestion
        std::size_t count = 0;  // Ambiguous: how many; Found: how many notes
    };
    for (const Case& c : std::vector<Case>{
             {"RENNES-35200", Found, "35238"}, {"Rennes", Found, "35238"}, {"rennes-35000", Found, "35238"},
             {"35000 RENNES", Found, "35238"}, {"Rennes 35700", Found, "35238"}, {"RENNES CEDEX 9", Found, "35238"},
             {"35043 RENNES CEDEX", Found, "35238"}, {"Rennes (35)", Found, "35238"}, {"35238", Found, "35238"},
             {"st malo", Found, "35288"}, {"SAINT-MALO 35400", Found, "35288"}, {"35400", Found, "35288"},
             {"35213", Found, "35288", 1},  // a former code, said
             {"ANDELYS (LES)", Found, "27016"}, {"Hœnheim", Found, "67204"}, {"BOURG EN BRESSE 1000", Found, "01053"},
             {"Ajaccio 2A", Found, "2A004"}, {"2a004", Found, "2A004"}, {"L’Haÿ-les-Roses", Found, "94038"},
             {"L\xCA\xBChay les roses", Found, "94038"},  // a modifier letter apostrophe
             {"Paris", Found, "75056"}, {"75056", Found, "75056"}, {"Lyon", Found, "69123"},
             {"69232", Found, "69123", 1}, {"Marseille", Found, "13055"}, {"Paris 15e", Found, "75115"},
             {"paris 15ème arrondissement", Found, "75115"}, {"75015", Found, "75115"}, {"75116", Found, "75116"},
             {"Lyon 3ème", Found, "69383"}, {"Marseille 1er", Found, "13201"},
             {"Saint-Denis 93", Found, "93066"}, {"ST DENIS 93200", Found, "93066"}, {"Saint-Denis 11", Found, "11339"},
             {"st denis la plaine", Found, "93066"},  // La Poste's label
             {"Rouvray-Saint-Denis", Found, "28319", 1},  // a commune déléguée, said
             {"Saint-Denis", Ambiguous, "30247", 3}, {"27700", Found, "27700"},  // an INSEE code before a postcode
             {"1460", Ambiguous, "01063", 0},
             {"Rennes 75000", Unknown, "35238"}, {"Rennnes", Unknown, "35238"}, {"Pontorsn-50170", Unknown, "50410"},
             {"Saint Malo de la lannde", Unknown, "35288"}, {"Saint Denis 20", Unknown, "93066"},
             {"Xyzzy", Unknown, ""}, {"", Unknown, ""}, {"R", Unknown, ""}}) {
        SCOPED_TRACE(c.text);
        const TownMatch m = f.resolver.resolve(c.text);
        const auto insee = [&](std::size_t place) { return f.index.place(place).insee; };
        switch (c.want) {
        case Found:
            ASSERT_TRUE(m.found());
            EXPECT_EQ(insee(m.place), c.insee);
            EXPECT_EQ(m.notes.size(), c.count);
            break;
        case Ambiguous: {
            ASSERT_EQ(m.kind, TownMatch::Kind::Ambiguous);
            std::vector<std::string> codes;
            for (std::size_t p : m.candidates) codes.push_back(insee(p));
            if (c.count) {
                EXPECT_EQ(codes.size(), c.count);
            }
            EXPECT_NE(std::find(codes.begin(), codes.end(), c.insee), codes.end());
            break;
        }
        case Unknown:
            ASSERT_EQ(m.kind, TownMatch::Kind::Unknown);
            ASSERT_LE(m.suggestions.size(), 5u);
            if (c.insee.empty()) {
                EXPECT_TRUE(m.suggestions.empty());
            } else {
                ASSERT_FALSE(m.suggestions.empty());
                EXPECT_EQ(insee(m.suggestions.front()), c.insee);
            }
            break;
        }
    }
}

// The closest keys: exact first, then prefixes, then edits; never a mere first letter.
TEST(TownResolver, SuggestionsRankBySpelling) {
    const std::vector<std::string_view> keys{"rennes sur loue", "rannee", "rennes", "rouen", "reims", "renne"};
    const auto names = [&](std::string_view query) {
        std::vector<std::string_view> found;
        for (std::size_t i : closestKeys(keys, query)) found.push_back(keys[i]);
        return found;
    };
    EXPECT_EQ(names("rennes"), (std::vector<std::string_view>{"rennes", "rennes sur loue", "renne", "rannee"}));
    EXPECT_EQ(names("renes"), std::vector<std::string_view>{"rennes"});
    EXPECT_EQ(names("rxyz"), std::vector<std::string_view>{});
}

}  // namespace
}  // namespace localyx
