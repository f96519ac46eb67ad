#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <filesystem>
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

}  // namespace
}  // namespace localyx::testing
