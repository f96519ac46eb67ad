// The shipped region files, read the way the program reads them, and the France-wide table.

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/field_reader.h"
#include "core/numeric.h"
#include "core/region_catalogue.h"
#include "core/region_file.h"
#include "core/region_loader.h"

namespace {

// Communes at 1 January 2026 (Paris, Lyon, Marseille by arrondissement) less 7 without coordinates.
constexpr std::array<std::size_t, localyx::kRegionCount> kLocalities{
    880, 2228, 1283, 1352, 1993, 1202, 1754, 1914, 360, 1692, 1292,
    1285, 1502, 727, 2321, 2944, 1534, 1226, 2247, 1338, 961, 2746};
constexpr std::size_t kTotal = 34781;

// The name without its accents, for the order of the files; '?' for a letter it should not hold.
std::string plainName(std::string_view name) {
    static const std::map<std::string_view, std::string_view> kLetters{
        {"À", "A"}, {"Â", "A"}, {"Ä", "A"}, {"Æ", "AE"}, {"Ç", "C"}, {"È", "E"}, {"É", "E"}, {"Ê", "E"},
        {"Ë", "E"}, {"Î", "I"}, {"Ï", "I"}, {"Ô", "O"}, {"Ö", "O"}, {"Œ", "OE"}, {"Ù", "U"}, {"Û", "U"},
        {"Ü", "U"}, {"Ÿ", "Y"}};
    std::string plain;
    for (std::size_t i = 0, length = 1; i < name.size(); i += length) {
        const auto byte = static_cast<unsigned char>(name[i]);
        length = byte < 0x80 ? 1 : byte >= 0xE0 ? 3 : 2;
        const auto it = kLetters.find(name.substr(i, length));
        plain += length == 1 ? name.substr(i, 1) : it == kLetters.end() ? "?" : it->second;
    }
    return plain;
}

// Each file holds its localities sorted; the table holds them all in the same order, one row each
// with the same coordinates (check_rebuild.py compares these with the source's).
TEST(RegionData, EveryFileHoldsItsLocalitiesWellFormedAndSorted) {
    enum Column { kInsee, kName, kPostcode, kDepartment, kRegion, kLat, kLon, kPopulation, kColumns };
    std::vector<std::vector<std::string>> table;
    std::ifstream in(LOCALYX_TABLE, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        auto& row = table.emplace_back(1);
        for (const char c : line) {
            if (c == ';') row.emplace_back();
            else row.back() += c;
        }
    }
    ASSERT_EQ(table.size(), kTotal + 1);
    EXPECT_EQ(table[0], (std::vector<std::string>{"insee", "nom", "code_postal", "departement", "region",
                                                   "latitude", "longitude", "population"}));
    std::set<std::string> codes;
    auto f = table.begin() + 1;
    for (const localyx::RegionEntry& region : localyx::regionCatalogue()) {
        SCOPED_TRACE(region.baseName);
        const auto file =
            localyx::readRegionFileAt(std::string(LOCALYX_REGION_DIR "/").append(region.baseName) + ".txt");
        ASSERT_TRUE(file.ok());
        localyx::FieldReader reader(file.text);
        const localyx::RegionLists lists = localyx::loadRegionLists(reader);
        const std::size_t n = lists.names.size();
        ASSERT_EQ(n, kLocalities.at(static_cast<std::size_t>(region.number - 1)));
        ASSERT_EQ(lists.coordinates.size(), 2 * n);
        std::pair<std::string, std::string> previous;
        for (std::size_t i = 0; i < n; ++i, ++f) {
            const std::string& name = lists.names[i];
            // The latitude above 40, how the program tells it from the longitude.
            EXPECT_GT(localyx::numericValue(lists.coordinates[2 * i]), 40.0) << name;
            std::pair key{plainName(name.substr(0, name.size() - 6)), name.substr(name.size() - 5)};
            EXPECT_EQ(key.first.find_first_of("?-"), std::string::npos) << name;
            EXPECT_LE(previous, key) << name;
            previous = std::move(key);
            ASSERT_EQ(f->size(), std::size_t{kColumns}) << name;
            EXPECT_EQ((*f)[kName] + "-" + (*f)[kPostcode], name);
            EXPECT_EQ(std::tie((*f)[kLat], (*f)[kLon], (*f)[kRegion]),
                      std::tie(lists.coordinates[2 * i], lists.coordinates[2 * i + 1], region.baseName));
            EXPECT_TRUE(codes.insert((*f)[kInsee]).second) << name;
        }
    }
    EXPECT_EQ(f, table.end());
}

}  // namespace
