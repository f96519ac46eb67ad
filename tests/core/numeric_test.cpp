#include "core/numeric.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>

namespace {

using localyx::numericValue;

struct Case { const char* text; double value; };

constexpr Case kCases[] = {
    {"48.5", 48.5}, {"  48.5", 48.5}, {"4 8 . 5", 48.5}, {"\t48\n.25", 48.25}, {"-1.25", -1.25}, {"+3", 3},
    {"- 1.5", -1.5}, {".5", 0.5}, {"-.5", -0.5}, {"5.", 5}, {"5.E1", 50}, {"1E3", 1000}, {"1e-2", 0.01},
    {"2.5E+1x", 25}, {"7E", 7}, {"7E+", 7}, {"&H1F", 31}, {"&hff", 255}, {"&O17", 15}, {"&o78", 7}, {"&H", 0},
    {"&17", 0}, {"48,5", 48}, {"", 0}, {"   ", 0}, {"RENNES-35000", 0}, {"L'ABERGEMENT CLÉMENCIAT-01400", 0},
    {"-", 0}, {".", 0}, {"+.", 0}, {"12ABC", 12}, {"1e-400", 0},
};

void expectAll() {
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(numericValue(c.text), c.value);
    }
}

TEST(NumericValue, ReadsTheLeadingNumber) { expectAll(); }

TEST(NumericValue, TooLargeIsInfinite) {
    EXPECT_EQ(numericValue("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(numericValue("-1e400"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(numericValue(std::string(400, '9')), std::numeric_limits<double>::infinity());
    EXPECT_EQ(numericValue("0." + std::string(400, '0') + "1"), 0);
    EXPECT_EQ(numericValue("-0." + std::string(400, '0') + "1e50"), 0);
}

TEST(NumericValue, IgnoresTheFrenchLocale) {
    // A French C locale makes "," the decimal separator for strtod; the
    // program's reading must not follow it.
    const char* names[] = {"fr_FR.UTF-8", "fr_FR.utf8", "fr_FR"};
    const char* set = nullptr;
    for (const char* name : names) {
        if ((set = std::setlocale(LC_ALL, name)) != nullptr) break;
    }
    if (set == nullptr) GTEST_SKIP() << "no French locale on this machine";
    expectAll();
    std::setlocale(LC_ALL, "C");
}

}  // namespace
