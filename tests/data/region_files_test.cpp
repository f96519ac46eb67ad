// The shipped region files, read the way the window reads them. The generator's
// own tests and the byte-for-byte rebuild in make_regions_test.py guard their content.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "core/field_reader.h"
#include "core/region_catalogue.h"
#include "core/region_file.h"
#include "core/region_loader.h"

namespace {

std::size_t linesIn(const std::string& text) { return static_cast<std::size_t>(std::ranges::count(text, '\n')); }

// One locality a line in every file: no name read as a number, no field lost,
// and the France-wide table holds each of them once.
TEST(RegionData, EveryFileReadsAsOneLocalityALine) {
    std::size_t total = 0;
    for (const localyx::RegionEntry& region : localyx::regionCatalogue()) {
        const auto file = localyx::readRegionFileAt(std::string(LOCALYX_REGION_DIR "/").append(region.baseName) + ".txt");
        ASSERT_TRUE(file.ok()) << region.baseName;
        localyx::FieldReader reader(file.text);
        const localyx::RegionLists lists = localyx::loadRegionLists(reader);
        EXPECT_EQ(lists.names.size(), linesIn(file.text)) << region.baseName;
        EXPECT_EQ(lists.coordinates.size(), 2 * lists.names.size()) << region.baseName;
        total += lists.names.size();
    }
    EXPECT_EQ(total, 34781u);  // communes at 1 January 2026, Paris, Lyon and Marseille by arrondissement, less 7
    std::ifstream table(LOCALYX_TABLE, std::ios::binary);
    EXPECT_EQ(linesIn({std::istreambuf_iterator<char>(table), {}}), total + 1);
}

}  // namespace
