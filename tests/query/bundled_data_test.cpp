#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/query/tool_runner.h"

// The data files shipped beside the executable, found without --file; their content belongs to the data tests.

namespace localyx::testing {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;

TEST(BundledData, EveryRegionLoadsAndEachCommandAnswers) {
    if (!std::filesystem::exists(queryExecutable().parent_path() / "Bretagne.txt")) GTEST_SKIP() << "no region files";
    const auto regions = linesOf(runTool({"regions"}).out);
    ASSERT_EQ(regions.size(), 22u);
    for (const std::string& line : regions) EXPECT_THAT(line, ::testing::Not(EndsWith("\t-")));
    const ToolRun towns = runTool({"towns", "bretagne"});
    EXPECT_EQ(towns.err, "") << "a shipped file is well formed";
    EXPECT_THAT(regions[5], EndsWith("\t" + std::to_string(linesOf(towns.out).size())));
}

// Around a town on a region's border, then the tour of what was found.
TEST(BundledData, AroundCrossesTheBorderAndTheTourVisitsIt) {
    const std::filesystem::path dir = queryExecutable().parent_path();
    if (!std::filesystem::exists(dir / "localites.csv")) GTEST_SKIP() << "no table beside " << dir;
    const ToolRun around = runTool({"around", "PONTORSON-50170", "15"});
    EXPECT_EQ(around.err, "") << "the shipped table is well formed";
    EXPECT_THAT(around.out, HasSubstr("\nPLEINE FOUGÈRES-35610\t"));
    const ToolRun tour = runTool({"tour", "50410", "-"}, dir, around.out);
    ASSERT_EQ(tour.exitCode, 0) << tour.err;
    EXPECT_EQ(linesOf(tour.out).size(), linesOf(around.out).size() + 2);  // each leg, the way back, the total

    std::ifstream table(dir / "localites.csv");
    std::string line, codes;
    for (int i = 0; i <= 1001 && std::getline(table, line); ++i) codes += i ? line.substr(0, line.find(';')) + "\n" : "";
    EXPECT_THAT(runTool({"tour", "50410"}, dir, codes).err, HasSubstr("1001 étapes : au plus 1000"));
}

}  // namespace
}  // namespace localyx::testing
