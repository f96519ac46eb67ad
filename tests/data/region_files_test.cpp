// The shipped region files, read the way the program reads them, and the
// France-wide table built with them.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/field_reader.h"
#include "core/numeric.h"
#include "core/region_catalogue.h"
#include "core/region_file.h"
#include "core/region_loader.h"
#include "core/text_encoding.h"

namespace {

namespace fs = std::filesystem;

// Communes of the départements at 1 January 2026, Paris, Lyon and Marseille
// counted by arrondissement, less the 7 without coordinates; catalogue order.
constexpr std::array<std::size_t, localyx::kRegionCount> kLocalities{
    880, 2228, 1283, 1352, 1993, 1202, 1754, 1914, 360, 1692, 1292,
    1285, 1502, 727, 2321, 2944, 1534, 1226, 2247, 1338, 961, 2746};
constexpr std::size_t kTotal = 34781;

fs::path regionFile(std::string_view baseName) {
    return fs::path(LOCALYX_REGION_DIR) / (std::string(baseName) + ".txt");
}

std::string rawBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The lines of a text file without their line ends.
std::vector<std::string> lines(const fs::path& path) {
    std::vector<std::string> result;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (line.ends_with('\r')) line.pop_back();
        result.push_back(std::move(line));
    }
    return result;
}

// Fields split on the separator outside double quotes, quotes dropped.
std::vector<std::string> fields(std::string_view line, char separator) {
    std::vector<std::string> result(1);
    bool quoted = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == separator && !quoted) {
            result.emplace_back();
        } else {
            result.back() += c;
        }
    }
    return result;
}

localyx::RegionLists loadLists(std::string_view baseName) {
    const localyx::RegionFileText file = localyx::readRegionFileAt(regionFile(baseName));
    EXPECT_TRUE(file.ok()) << baseName;
    localyx::FieldReader reader(file.text);
    return localyx::loadRegionLists(reader);
}

// The name with its accents removed, for the order of the file; false on any
// letter the names should not hold.
bool plainName(std::string_view name, std::string& plain) {
    static const std::map<std::string_view, std::string_view> kLetters{
        {"À", "A"}, {"Â", "A"}, {"Ä", "A"}, {"Æ", "AE"}, {"Ç", "C"}, {"È", "E"},
        {"É", "E"}, {"Ê", "E"}, {"Ë", "E"}, {"Î", "I"},  {"Ï", "I"}, {"Ô", "O"},
        {"Ö", "O"}, {"Œ", "OE"}, {"Ù", "U"}, {"Û", "U"}, {"Ü", "U"}, {"Ÿ", "Y"},
    };
    plain.clear();
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t length = static_cast<unsigned char>(name[i]) < 0x80 ? 1
                                   : static_cast<unsigned char>(name[i]) >= 0xE0 ? 3 : 2;
        const auto it = kLetters.find(name.substr(i, length));
        if (length > 1 && it == kLetters.end()) return false;
        plain += length > 1 ? it->second : name.substr(i, 1);
        i += length;
    }
    return true;
}

TEST(RegionData, EveryFileHoldsItsLocalitiesWellFormedAndSorted) {
    std::size_t total = 0;
    for (const localyx::RegionEntry& region : localyx::regionCatalogue()) {
        SCOPED_TRACE(region.baseName);
        // Windows-1252: UTF-8 would be decoded as such and every accent go wrong.
        const std::string bytes = rawBytes(regionFile(region.baseName));
        EXPECT_FALSE(bytes.starts_with("\xEF\xBB\xBF") || localyx::isValidUtf8(bytes));
        const localyx::RegionLists lists = loadLists(region.baseName);
        const std::size_t n = lists.names.size();
        EXPECT_EQ(n, kLocalities.at(static_cast<std::size_t>(region.number - 1)));
        ASSERT_EQ(lists.coordinates.size(), 2 * n);
        total += n;

        std::pair<std::string, std::string> previous;
        for (std::size_t i = 0; i < n; ++i) {
            const std::string& name = lists.names[i];
            SCOPED_TRACE(name);
            const double lat = localyx::numericValue(lists.coordinates[2 * i]);
            const double lon = localyx::numericValue(lists.coordinates[2 * i + 1]);
            EXPECT_GT(lat, 40.0);
            EXPECT_TRUE(lon != 0.0 && lon > -6.0 && lon < 10.0) << lon;
            // The itinerary takes the last five characters and the text before
            // the first hyphen: the postcode and the whole name.
            EXPECT_EQ(localyx::numericValue(name), 0.0);
            ASSERT_GE(name.size(), 7u);
            const std::size_t hyphen = name.size() - 6;
            EXPECT_EQ(name.find('-'), hyphen);
            std::pair<std::string, std::string> key{"", name.substr(hyphen + 1)};
            EXPECT_TRUE(std::all_of(key.second.begin(), key.second.end(),
                                    [](char c) { return c >= '0' && c <= '9'; }));
            EXPECT_TRUE(std::none_of(name.begin(), name.end(), [](char c) { return c >= 'a' && c <= 'z'; }));
            ASSERT_TRUE(plainName(std::string_view(name).substr(0, hyphen), key.first));
            EXPECT_LE(previous, key) << "after " << previous.first << "-" << previous.second;
            previous = std::move(key);
        }
    }
    EXPECT_EQ(total, kTotal);
    const auto largest = std::max_element(kLocalities.begin(), kLocalities.end()) - kLocalities.begin();
    EXPECT_EQ(localyx::regionCatalogue().at(static_cast<std::size_t>(largest)).baseName, "MidiPyrenees");
}

enum Column { kInsee, kName, kPostcode, kDepartment, kRegion, kLat, kLon, kPopulation, kColumns };

// The table holds the region files' localities in their order, one row each,
// with the coordinates of the source row of the same INSEE code.
TEST(RegionData, TableHoldsEveryRegionItemOnceWithTheSourceCoordinates) {
    // Communes nouvelles whose seat, and so their code, moved: the source has
    // them under their former code.
    const std::map<std::string, std::string> kFormerCode{
        {"12218", "12076"}, {"14581", "14011"}, {"27676", "27058"}, {"49126", "49069"}, {"69114", "69159"}};
    std::map<std::string, std::pair<double, double>> source;
    for (const std::string& line : lines(LOCALYX_COORDINATE_SOURCE)) {
        const std::vector<std::string> row = fields(line, ',');
        ASSERT_EQ(row.size(), 12u) << line;
        source[row[1]] = {localyx::numericValue(row[10]), localyx::numericValue(row[11])};
    }

    const std::vector<std::string> table = lines(LOCALYX_TABLE);
    ASSERT_EQ(table.size(), kTotal + 1);
    EXPECT_EQ(table[0], "insee;nom;code_postal;departement;region;latitude;longitude;population");
    std::set<std::string> codes;
    auto row = table.begin() + 1;
    for (const localyx::RegionEntry& region : localyx::regionCatalogue()) {
        const localyx::RegionLists lists = loadLists(region.baseName);
        for (std::size_t i = 0; i < lists.names.size(); ++i, ++row) {
            const std::vector<std::string> f = fields(*row, ';');
            ASSERT_EQ(f.size(), std::size_t{kColumns}) << *row;
            SCOPED_TRACE(*row);
            EXPECT_EQ(f[kName] + "-" + f[kPostcode], lists.names[i]);
            EXPECT_EQ(f[kLat], lists.coordinates[2 * i]);
            EXPECT_EQ(f[kLon], lists.coordinates[2 * i + 1]);
            EXPECT_EQ(f[kRegion], region.baseName);
            EXPECT_TRUE(codes.insert(f[kInsee]).second);
            const auto former = kFormerCode.find(f[kInsee]);
            const auto at = source.find(former == kFormerCode.end() ? f[kInsee] : former->second);
            ASSERT_NE(at, source.end());
            // Six decimals, rounded.
            EXPECT_LE(std::abs(localyx::numericValue(f[kLat]) - at->second.first), 5.000001e-7);
            EXPECT_LE(std::abs(localyx::numericValue(f[kLon]) - at->second.second), 5.000001e-7);
        }
    }
    EXPECT_EQ(row, table.end());
}

// The build copies the files beside the executables, where the program
// looks for them first.
TEST(RegionData, CopiesBesideTheProgramMatch) {
    for (const localyx::RegionEntry& region : localyx::regionCatalogue()) {
        const auto found = localyx::locateRegionFile(localyx::executableDir(), region.baseName);
        ASSERT_TRUE(found.has_value()) << region.baseName;
        EXPECT_EQ(rawBytes(*found), rawBytes(regionFile(region.baseName))) << region.baseName;
    }
    EXPECT_EQ(rawBytes(localyx::executableDir() / "localites.csv"), rawBytes(LOCALYX_TABLE));
}

}  // namespace
