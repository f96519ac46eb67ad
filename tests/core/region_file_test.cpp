// Reading a region file: where it is found, its two encodings, its fields and
// the numbers in them.

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "core/field_reader.h"
#include "core/numeric.h"
#include "core/region_catalogue.h"
#include "core/region_file.h"
#include "core/text_encoding.h"
#include "tests/scratch_dir.h"

namespace localyx {
namespace {

namespace fs = std::filesystem;

TEST(RegionCatalogue, EntriesAndNames) {
    std::set<std::string_view> bases;
    for (const auto& entry : regionCatalogue()) bases.insert(entry.baseName);
    EXPECT_EQ(bases.size(), 22u);
    EXPECT_FALSE(regionByNumber(0) || regionByNumber(23));
    for (std::size_t i = 0; i < regionCatalogue().size(); ++i) EXPECT_EQ(regionCatalogue()[i].number, int(i) + 1);
    // Captions and base names are not derived from each other.
    for (const auto& [n, baseName, caption, item] :
         {std::tuple{1, "Alsace", "Alsace", " Alsace  67, 68"},
          {12, "Iledefrance", "Île de France", " Île-de-France  75, 77, 78, 91, 92, 93, 94, 95 "},
          {15, "Lorraine", "Lorraine", " Lorraines 54, 55, 57, 88"}, {19, "Picardie", "Picardie", " Picardie   02, 60, 80"},
          {21, "Provence", "Provence-Alpes-Côtes d'Azur", " Provence-Alpes-C.Azur  04, 05, 06, 13, 83, 84"},
          {22, "Rhonealpes", "Rhône-Alpes", " Rhône-Alpes  01, 07, 26, 38, 42, 69, 73, 74"}}) {
        EXPECT_EQ(regionByNumber(n)->baseName, baseName);
        EXPECT_EQ(regionByNumber(n)->caption, caption);
        EXPECT_EQ(regionByNumber(n)->displayItem, item);
    }
}

TEST(RegionFile, FoundExactlyThenIgnoringCaseThenInstallFolder) {
    const testing::ScratchDir tmp;
    const fs::path bin = tmp.path() / "bin";
    tmp.write("bin/Alsace.txt", "48.5,7.5,\xC9" "CLUSE-67000\r\n");
    tmp.write("bin/franchecomte.TXT", "47.2,6,B-25000\r\n");
    tmp.write("bin/franchecomte.txt", "47.2,6,B-25000\r\n");  // after .TXT in name order
    tmp.write("share/localyx/regions/Corse.txt", "42,9,C-20000\r\n");

    EXPECT_EQ(locateRegionFile(bin, "Alsace"), bin / "Alsace.txt");
    EXPECT_EQ(readRegionFile(bin, "Alsace").text, "48.5,7.5,ÉCLUSE-67000\r\n");  // decoded
    EXPECT_EQ(locateRegionFile(bin, "Franchecomte"), bin / "franchecomte.TXT");
    EXPECT_EQ(readRegionFile(bin, "Franchecomte").fileName, "Franchecomte.txt");  // messages name the expected file
    const auto corse = readRegionFile(bin, "Corse");
    EXPECT_TRUE(corse.ok() && corse.text == "42,9,C-20000\r\n" && corse.fileName == "Corse.txt");

    // By its exact name but not a file: still the user's, not passed over for the installed one.
    fs::create_directories(bin / "Bourgogne.txt");
    tmp.write("share/localyx/regions/Bourgogne.txt", "47,4,D-21000\r\n");
    EXPECT_EQ(readRegionFile(bin, "Bourgogne").problem, RegionFileProblem::Unreadable);

    const auto missing = readRegionFile(bin, "Bretagne");
    EXPECT_TRUE(missing.problem == RegionFileProblem::NotFound && missing.fileName == "Bretagne.txt");
}

TEST(TextEncoding, DecodesBothEncodings) {
    struct Case { const char* name; std::string bytes, utf8; } cases[] = {
        {"Windows-1252 accents", "\xC9" "CLUSE \x8C" "UVRE \x9F", "ÉCLUSE ŒUVRE Ÿ"},
        {"UTF-8 accents", "ÉCLUSE", "ÉCLUSE"},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" "ÉCLUSE", "ÉCLUSE"},
        {"byte-order mark over code-page text", "\xEF\xBB\xBF\xC9", "É"},
        {"the whole 0x80-0x9F block", "\x80\x81\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8D\x8E\x8F\x90\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9D\x9E\x9F",
         "€\xC2\x81‚ƒ„…†‡ˆ‰Š‹Œ\xC2\x8DŽ\xC2\x8F\xC2\x90‘’“”•–—˜™š›œ\xC2\x9DžŸ"},
        {"plain ASCII", "RENNES-35000", "RENNES-35000"},
        {"an encoded UTF-16 surrogate is no UTF-8", "\xED\xA0\x80", "í\u00A0€"},
    };
    for (const auto& c : cases) EXPECT_EQ(decodeRegionText(c.bytes), c.utf8) << c.name;
}

TEST(TextEncoding, CharactersNotBytes) {
    EXPECT_EQ(utf8Length("ÉCLUSE-00005"), 12u);
    EXPECT_EQ(utf8Substr("ÉCLUSE-00005", 0, 1), "É");
    EXPECT_EQ(utf8Substr("ÉCLUSE", 4, 10), "SE");
    EXPECT_EQ(utf8Substr("AB", 5, 1), "");
    EXPECT_EQ(utf8Length("A\xC3"), 2u);  // a stray byte counts as one character and is never split further
}

std::vector<std::string> fieldsOf(const std::string& text) {
    FieldReader reader(text);
    std::vector<std::string> fields;
    while (!reader.atEnd()) fields.push_back(reader.next());
    return fields;
}

TEST(FieldReader, Arrangements) {
    struct Arrangement { const char* name; std::string text; std::vector<std::string> fields; };
    const std::vector<std::string> twoRecords = {"48.5", "-1.25", "A-00001", "48.25", "-1.5", "B C-00002"};
    const Arrangement cases[] = {
        {"one record per line, CR LF", "48.5,-1.25,A-00001\r\n48.25,-1.5,B C-00002\r\n", twoRecords},
        {"LF only", "48.5,-1.25,A-00001\n48.25,-1.5,B C-00002\n", twoRecords},
        {"no final line end", "48.5,-1.25,A-00001\r\n48.25,-1.5,B C-00002", twoRecords},
        {"six lines", "48.5\r\n-1.25\r\nA-00001\r\n48.25\r\n-1.5\r\nB C-00002\r\n", twoRecords},
        {"one line", "48.5,-1.25,A-00001,48.25,-1.5,B C-00002", twoRecords},
        {"quotes, blanks before fields", "48.5, -1.25, \"A-00001\"\r\n 48.25,\t-1.5,\"B C-00002\"\r\n", twoRecords},
        {"quoted name with a comma", "48.5,-1.25,\"VILLE, LA-00001\"\r\n", {"48.5", "-1.25", "VILLE, LA-00001"}},
        {"text after the closing quote is dropped", "\"AB\"CD,E\r\n", {"AB", "E"}},
        {"empty file", "", {}},
        {"empty field", "48.5,,X-00001\r\n", {"48.5", "", "X-00001"}},
        {"a comma before the end of the file ends the last field", "48.5,", {"48.5"}},
        {"decimal comma splits a coordinate", "48,5,-1,25,X-00001", {"48", "5", "-1", "25", "X-00001"}},
        {"blank lines hold no field", "\r\n48.5,-1.25,X-00001\r\n\r\n  \r\n", {"48.5", "-1.25", "X-00001"}},
        {"lone CR ends a line", "48.5\r-1.25\rX-00001", {"48.5", "-1.25", "X-00001"}},
        {"blank line ended by a lone CR", "48.5\r\r-1.25,X-00001", {"48.5", "-1.25", "X-00001"}},
        {"unterminated quote runs to the end", "48.5,\"X-00001,\r\n49", {"48.5", "X-00001,\r\n49"}},
        {"NUL bytes are ordinary characters", std::string("A\0B,C", 5), {std::string("A\0B", 3), "C"}},
    };
    for (const auto& c : cases) EXPECT_EQ(fieldsOf(c.text), c.fields) << c.name;
}

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr struct { const char* text; double value; } kNumbers[] = {
    {"48.5", 48.5}, {"  48.5", 48.5}, {"4 8 . 5", 48.5}, {"\t48\n.25", 48.25}, {"-1.25", -1.25}, {"+3", 3},
    {"- 1.5", -1.5}, {".5", 0.5}, {"-.5", -0.5}, {"5.", 5}, {"5.E1", 50}, {"1E3", 1000}, {"1e-2", 0.01},
    {"2.5E+1x", 25}, {"7E", 7}, {"7E+", 7}, {"&H1F", 31}, {"&hff", 255}, {"&O17", 15}, {"&o78", 7}, {"&H", 0},
    {"&17", 0}, {"48,5", 48}, {"", 0}, {"   ", 0}, {"RENNES-35000", 0}, {"L'ABERGEMENT CLÉMENCIAT-01400", 0},
    {"-", 0}, {".", 0}, {"+.", 0}, {"12ABC", 12}, {"1e-400", 0}, {"1e400", kInfinity}, {"1e+400", kInfinity},
    {"-1e400", -kInfinity},
};

void expectEveryNumber() {
    for (const auto& c : kNumbers) EXPECT_EQ(numericValue(c.text), c.value) << c.text;
}

TEST(NumericValue, ReadsTheLeadingNumber) {
    expectEveryNumber();
    EXPECT_EQ(numericValue(std::string(400, '9')), kInfinity);
    EXPECT_EQ(numericValue("0." + std::string(400, '0') + "1"), 0);
    EXPECT_EQ(numericValue("-0." + std::string(400, '0') + "1e50"), 0);
}

// A French C locale makes "," the decimal separator for strtod; the program's
// reading must not follow it.
TEST(NumericValue, IgnoresTheFrenchLocale) {
    const char* set = nullptr;
    for (const char* name : {"fr_FR.UTF-8", "fr_FR.utf8", "fr_FR"}) {
        if ((set = std::setlocale(LC_ALL, name)) != nullptr) break;
    }
    if (set == nullptr) GTEST_SKIP() << "no French locale on this machine";
    expectEveryNumber();
    std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace localyx
