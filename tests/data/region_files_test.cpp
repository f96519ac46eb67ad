// The shipped region files, read the way the program reads them.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

#include "core/field_reader.h"
#include "core/numeric.h"
#include "core/region_catalogue.h"
#include "core/region_file.h"
#include "core/region_loader.h"
#include "core/text_encoding.h"

namespace {

namespace fs = std::filesystem;

const fs::path kRegionDir{LOCALYX_REGION_DIR};

struct Expected {
    std::string_view baseName;
    std::size_t localities;
};

// Communes of the départements at 1 January 2022, Paris, Lyon and Marseille
// counted by arrondissement.
constexpr std::array<Expected, localyx::kRegionCount> kExpected{{
    {"Alsace", 880},           {"Aquitaine", 2230},        {"Auvergne", 1284},
    {"BasseNormandie", 1359},  {"Bourgogne", 1995},        {"Bretagne", 1207},
    {"Centre", 1757},          {"ChampagneArdenne", 1919}, {"Corse", 360},
    {"Franchecomte", 1705},    {"HauteNormandie", 1293},   {"Iledefrance", 1287},
    {"LanguedocRoussillon", 1504}, {"Limousin", 730},      {"Lorraine", 2322},
    {"MidiPyrenees", 2950},    {"NordPasdeCalais", 1538},  {"PaysDeLoire", 1235},
    {"Picardie", 2250},        {"PoitouCharente", 1349},   {"Provence", 961},
    {"Rhonealpes", 2753},
}};

// Names the parameter in test output instead of dumping its bytes.
void PrintTo(const Expected& expected, std::ostream* out) { *out << expected.baseName; }

std::string rawBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

localyx::RegionLists loadLists(const fs::path& path) {
    const localyx::RegionFileText file = localyx::readRegionFileAt(path);
    EXPECT_TRUE(file.ok()) << path;
    localyx::FieldReader reader(file.text);
    return localyx::loadRegionLists(reader);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The name with its accents removed, for the order of the file. Any letter
// outside this table means the names hold something unexpected.
bool plainName(std::string_view name, std::string& plain) {
    static const std::map<std::string_view, std::string_view> kLetters{
        {"À", "A"}, {"Â", "A"}, {"Ä", "A"}, {"Æ", "AE"}, {"Ç", "C"}, {"È", "E"},
        {"É", "E"}, {"Ê", "E"}, {"Ë", "E"}, {"Î", "I"},  {"Ï", "I"}, {"Ô", "O"},
        {"Ö", "O"}, {"Œ", "OE"}, {"Ù", "U"}, {"Û", "U"}, {"Ü", "U"}, {"Ÿ", "Y"},
    };
    plain.clear();
    for (std::size_t i = 0; i < name.size();) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if (byte < 0x80) {
            plain += name[i++];
            continue;
        }
        const std::size_t length = byte >= 0xE0 ? 3 : 2;
        const auto it = kLetters.find(name.substr(i, length));
        if (it == kLetters.end()) return false;
        plain += it->second;
        i += length;
    }
    return true;
}

// "-?digits.dddddd": the form the generator writes.
bool sixDecimals(std::string_view text) {
    if (!text.empty() && text.front() == '-') text.remove_prefix(1);
    const std::size_t point = text.find('.');
    return point != std::string_view::npos && point > 0 && text.size() - point == 7 &&
           std::all_of(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(point), isDigit) &&
           std::all_of(text.begin() + static_cast<std::ptrdiff_t>(point) + 1, text.end(), isDigit);
}

class RegionFileTest : public ::testing::TestWithParam<Expected> {};

TEST_P(RegionFileTest, IsWindows1252WithCrLfLines) {
    const std::string bytes = rawBytes(kRegionDir / (std::string(GetParam().baseName) + ".txt"));
    ASSERT_FALSE(bytes.empty());
    EXPECT_FALSE(bytes.starts_with("\xEF\xBB\xBF"));
    EXPECT_TRUE(bytes.ends_with("\r\n"));
    std::size_t lines = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ++lines;
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at byte " << i;
        } else if (bytes[i] == '\r') {
            ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "bare CR at byte " << i;
        }
    }
    EXPECT_EQ(lines, GetParam().localities);
    // Valid UTF-8 would be decoded as such, and every accent would go wrong.
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    EXPECT_TRUE(ascii || !localyx::isValidUtf8(bytes));
}

TEST_P(RegionFileTest, LoadsAsWellFormedLocalities) {
    const localyx::RegionLists lists =
        loadLists(kRegionDir / (std::string(GetParam().baseName) + ".txt"));
    const std::size_t n = lists.names.size();
    ASSERT_EQ(n, GetParam().localities);
    ASSERT_EQ(lists.coordinates.size(), 2 * n);

    std::pair<std::string, std::string> previous;
    std::string plain;
    for (std::size_t i = 0; i < n; ++i) {
        const std::string& name = lists.names[i];
        const std::string& latText = lists.coordinates[2 * i];
        const std::string& lonText = lists.coordinates[2 * i + 1];
        SCOPED_TRACE(name);

        const double lat = localyx::numericValue(latText);
        const double lon = localyx::numericValue(lonText);
        EXPECT_GT(lat, 40.0);
        EXPECT_NE(lon, 0.0);
        EXPECT_GT(lon, -6.0);
        EXPECT_LT(lon, 10.0);
        EXPECT_TRUE(sixDecimals(latText)) << latText;
        EXPECT_TRUE(sixDecimals(lonText)) << lonText;

        // The itinerary takes the last five characters and the text before
        // the first hyphen: the postcode and the whole name.
        EXPECT_EQ(localyx::numericValue(name), 0.0);
        ASSERT_GE(name.size(), 7u);
        const std::size_t hyphen = name.size() - 6;
        EXPECT_EQ(name.find('-'), hyphen);
        EXPECT_EQ(std::count(name.begin(), name.end(), '-'), 1);
        const std::string_view postcode = std::string_view(name).substr(hyphen + 1);
        EXPECT_TRUE(std::all_of(postcode.begin(), postcode.end(), isDigit));
        EXPECT_NE(name.front(), ' ');
        EXPECT_TRUE(std::none_of(name.begin(), name.end(),
                                 [](char c) { return c >= 'a' && c <= 'z'; }));

        ASSERT_TRUE(plainName(std::string_view(name).substr(0, hyphen), plain));
        std::pair<std::string, std::string> key{plain, std::string(postcode)};
        EXPECT_LE(previous, key) << "after " << previous.first << "-" << previous.second;
        previous = std::move(key);
    }
}

INSTANTIATE_TEST_SUITE_P(AllRegions, RegionFileTest, ::testing::ValuesIn(kExpected),
                         [](const auto& info) { return std::string(info.param.baseName); });

TEST(RegionData, CatalogueNamesEveryFile) {
    std::size_t total = 0;
    for (const localyx::RegionEntry& entry : localyx::regionCatalogue()) {
        const Expected& expected = kExpected.at(static_cast<std::size_t>(entry.number - 1));
        EXPECT_EQ(entry.baseName, expected.baseName);
        EXPECT_TRUE(fs::is_regular_file(kRegionDir / (std::string(entry.baseName) + ".txt")))
            << entry.baseName;
        total += expected.localities;
    }
    EXPECT_EQ(total, 34868u);
    const auto largest = std::max_element(kExpected.begin(), kExpected.end(),
        [](const Expected& a, const Expected& b) { return a.localities < b.localities; });
    EXPECT_EQ(largest->baseName, "MidiPyrenees");
}

// The build copies the files beside the executables, where the program
// looks for them first.
TEST(RegionData, CopiesBesideTheProgramMatch) {
    for (const localyx::RegionEntry& entry : localyx::regionCatalogue()) {
        const auto found = localyx::locateRegionFile(localyx::executableDir(), entry.baseName);
        ASSERT_TRUE(found.has_value()) << entry.baseName;
        EXPECT_EQ(found->filename(), std::string(entry.baseName) + ".txt");
        EXPECT_EQ(rawBytes(*found),
                  rawBytes(kRegionDir / (std::string(entry.baseName) + ".txt")))
            << entry.baseName;
    }
}

// Known places: accents decoded, arrondissements in place of their city,
// longitudes east-positive (Brittany lies west of Greenwich).
TEST(RegionData, KnownLocalities) {
    struct Place {
        std::string_view region;
        std::string_view item;
        double lat;
        double lon;
    };
    const Place places[] = {
        {"Rhonealpes", "L'ABERGEMENT CLÉMENCIAT-01400", 46.153426, 4.926114},
        {"Rhonealpes", "LYON 1ER ARRONDISSEMENT-69001", 45.769928, 4.829225},
        {"Bretagne", "SAINT MALO-35400", 48.640044, -1.980606},
        {"Bretagne", "BREST-29200", 48.400500, -4.502791},
        {"Iledefrance", "PARIS 1ER ARRONDISSEMENT-75001", 48.862630, 2.336293},
        {"Provence", "MARSEILLE 1ER ARRONDISSEMENT-13001", 43.299901, 5.382279},
        {"Alsace", "BŒRSCH-67530", 48.466486, 7.375051},
        {"Lorraine", "ÉPINAL-88000", 48.163120, 6.479893},
        {"Bourgogne", "CHÂTEAU CHINON (VILLE)-58120", 47.062651, 3.926968},
        {"Corse", "AJACCIO-20167", 41.934793, 8.701323},
    };
    std::map<std::string_view, localyx::RegionLists> loaded;
    for (const Place& place : places) {
        SCOPED_TRACE(place.item);
        auto [it, inserted] = loaded.try_emplace(place.region);
        if (inserted) it->second = loadLists(kRegionDir / (std::string(place.region) + ".txt"));
        const auto& names = it->second.names;
        const auto found = std::find(names.begin(), names.end(), place.item);
        ASSERT_NE(found, names.end());
        const auto i = static_cast<std::size_t>(found - names.begin());
        EXPECT_NEAR(localyx::numericValue(it->second.coordinates[2 * i]), place.lat, 1e-9);
        EXPECT_NEAR(localyx::numericValue(it->second.coordinates[2 * i + 1]), place.lon, 1e-9);
    }

    const std::pair<std::string_view, std::string_view> parents[] = {
        {"Iledefrance", "PARIS-"}, {"Rhonealpes", "LYON-"}, {"Provence", "MARSEILLE-"}};
    for (const auto& parent : parents) {
        const std::string_view prefix = parent.second;
        const auto& names = loaded.at(parent.first).names;
        EXPECT_TRUE(std::none_of(names.begin(), names.end(),
                                 [&](const std::string& name) { return name.starts_with(prefix); }))
            << prefix;
    }
}

}  // namespace
