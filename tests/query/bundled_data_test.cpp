#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/query/tool_runner.h"

// The region files shipped beside the executable, found without --file. Their
// content belongs to the data tests.

namespace localyx::testing {
namespace {

using ::testing::EndsWith;

TEST(BundledData, EveryRegionLoadsAndEachCommandAnswers) {
    if (!std::filesystem::exists(queryExecutable().parent_path() / "Bretagne.txt")) {
        GTEST_SKIP() << "no region files beside " << queryExecutable();
    }
    const auto regions = linesOf(runTool({"regions"}).out);
    ASSERT_EQ(regions.size(), 22u);
    for (const std::string& line : regions) EXPECT_THAT(line, ::testing::Not(EndsWith("\t-")));
    const ToolRun towns = runTool({"towns", "bretagne"});
    EXPECT_EQ(towns.err, "") << "a shipped file is well formed";
    EXPECT_THAT(regions[5], EndsWith("\t" + std::to_string(linesOf(towns.out).size())));

    const auto names = linesOf(runTool({"neighbours", "6", "rennes-35200", "20"}).out);
    const auto rows = linesOf(runTool({"neighbours", "--csv", "Bretagne", "RENNES-35200", "20"}).out);
    ASSERT_GT(names.size(), 10u);
    ASSERT_EQ(rows.size(), names.size() + 1);
    // The nearest row, back to its list item.
    const std::string nearest = rows[1].substr(0, rows[1].find(';')) + "-" + rows[1].substr(rows[1].find(';') + 1, 5);
    EXPECT_THAT(names, ::testing::Contains(nearest));
    const ToolRun distance = runTool({"distance", "Bretagne", "RENNES-35200", nearest});
    EXPECT_EQ(distance.exitCode, 0) << distance.err;
    EXPECT_THAT(distance.out, ::testing::MatchesRegex("[0-9]+\n"));
}

// Around a town on a region's border, then the tour of what was found.
TEST(BundledData, AroundCrossesTheBorderAndTheTourVisitsIt) {
    const std::filesystem::path dir = queryExecutable().parent_path();
    if (!std::filesystem::exists(dir / "localites.csv")) GTEST_SKIP() << "no table beside " << dir;
    const ToolRun around = runTool({"around", "PONTORSON-50170", "15"});
    ASSERT_EQ(around.exitCode, 0) << around.err;
    EXPECT_EQ(around.err, "") << "the shipped table is well formed";
    EXPECT_THAT(around.out, ::testing::HasSubstr("\nPLEINE FOUGÈRES-35610\t"));
    const ToolRun tour = runTool({"tour", "50410", "-"}, dir, around.out);
    ASSERT_EQ(tour.exitCode, 0) << tour.err;
    // A leg to each locality, the way back, the total.
    EXPECT_EQ(linesOf(tour.out).size(), linesOf(around.out).size() + 2);

    std::ifstream table(dir / "localites.csv");
    std::string line, codes;
    for (int i = 0; i <= 1001 && std::getline(table, line); ++i) codes += i ? line.substr(0, line.find(';')) + "\n" : "";
    EXPECT_THAT(runTool({"tour", "50410"}, dir, codes).err, ::testing::HasSubstr("1001 étapes : au plus 1000"));
}

}  // namespace
}  // namespace localyx::testing
