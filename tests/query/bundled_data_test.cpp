#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/query/tool_runner.h"

// The region files shipped with the program, as the build puts them beside
// the executable. The answers are checked against one another: the exact
// content of the files belongs to the data's own tests.

namespace localyx::testing {
namespace {

namespace fs = std::filesystem;

class BundledData : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(queryExecutable().parent_path() / "Bretagne.txt")) {
            GTEST_SKIP() << "no region files beside " << queryExecutable();
        }
    }
};

std::vector<std::string> split(const std::string& line, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end; (end = line.find(separator, start)) != std::string::npos; start = end + 1) {
        parts.push_back(line.substr(start, end - start));
    }
    parts.push_back(line.substr(start));
    return parts;
}

double decimalCommaValue(std::string text) {
    std::replace(text.begin(), text.end(), ',', '.');
    double value = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_TRUE(ec == std::errc{} && end == text.data() + text.size()) << text;
    return value;
}

TEST_F(BundledData, EveryRegionLoadsAndCountsItsTowns) {
    const ToolRun regions = runTool({"regions"});
    ASSERT_EQ(regions.exitCode, 0) << regions.err;
    const auto lines = linesOf(regions.out);
    ASSERT_EQ(lines.size(), 22u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(lines[i]);
        const auto fields = split(lines[i], '\t');
        ASSERT_EQ(fields.size(), 4u);
        EXPECT_EQ(fields[0], std::to_string(i + 1));
        ASSERT_NE(fields[3], "-");
        const ToolRun towns = runTool({"towns", fields[2]});
        EXPECT_EQ(towns.exitCode, 0);
        EXPECT_EQ(std::to_string(linesOf(towns.out).size()), fields[3]);
        EXPECT_EQ(towns.err, "") << "a shipped file is well formed";
    }
}

TEST_F(BundledData, SearchCsvAndDistanceAgreeWithOneAnother) {
    constexpr int kKm = 20;
    for (const std::string region : {"Bretagne", "9", "île de france"}) {
        SCOPED_TRACE(region);
        const auto towns = linesOf(runTool({"towns", region}).out);
        ASSERT_GT(towns.size(), 10u);
        const std::string town = towns[towns.size() / 2];

        const ToolRun plain = runTool({"neighbours", region, town, std::to_string(kKm)});
        ASSERT_EQ(plain.exitCode, 0) << plain.err;
        const auto names = linesOf(plain.out);
        ASSERT_FALSE(names.empty()) << town;
        EXPECT_THAT(names, ::testing::Not(::testing::Contains(town)));
        const auto smaller = linesOf(runTool({"neighbours", region, town, "6"}).out);
        for (const std::string& name : smaller) {
            EXPECT_THAT(names, ::testing::Contains(name)) << "a wider square holds the narrower";
        }

        const ToolRun csv = runTool({"neighbours", "--csv", region, town, std::to_string(kKm)});
        ASSERT_EQ(csv.exitCode, 0) << csv.err;
        const auto rows = linesOf(csv.out);
        ASSERT_EQ(rows.size(), names.size() + 1);
        double previous = 0;
        for (std::size_t i = 1; i < rows.size(); ++i) {
            SCOPED_TRACE(rows[i]);
            const auto fields = split(rows[i], ';');
            ASSERT_EQ(fields.size(), 5u);
            EXPECT_THAT(names, ::testing::Contains(fields[0] + "-" + fields[1]));
            const double km = decimalCommaValue(fields[4]);
            EXPECT_GE(km, previous);
            // The square reaches its corners at 20 km times the square root of 2.
            EXPECT_LE(km, kKm * std::sqrt(2.0) + 0.1);
            previous = km;
            if (i <= 3) {
                const ToolRun d = runTool({"distance", region, town, fields[0] + "-" + fields[1]});
                ASSERT_EQ(d.exitCode, 0) << d.err;
                const double whole = decimalCommaValue(d.out.substr(0, d.out.size() - 1));
                EXPECT_EQ(whole, std::floor(whole));
                EXPECT_LE(whole, km + 0.05);
                EXPECT_GT(whole + 1, km - 0.05);
            }
        }
    }
}

}  // namespace
}  // namespace localyx::testing
