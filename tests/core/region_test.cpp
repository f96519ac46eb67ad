#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "core/region_catalogue.h"
#include "core/region_file.h"
#include "core/text_encoding.h"
#include "tests/scratch_dir.h"

namespace fs = std::filesystem;

namespace {

using localyx::testing::ScratchDir;

TEST(RegionCatalogue, EntriesAndNames) {
    std::set<std::string_view> bases;
    for (const auto& entry : localyx::regionCatalogue()) bases.insert(entry.baseName);
    EXPECT_EQ(bases.size(), 22u);
    EXPECT_FALSE(localyx::regionByNumber(0));
    EXPECT_FALSE(localyx::regionByNumber(23));
    EXPECT_EQ(localyx::regionByNumber(1)->baseName, "Alsace");
    EXPECT_EQ(localyx::regionByNumber(22)->baseName, "Rhonealpes");
    // Captions and base names are not derived from each other.
    EXPECT_EQ(localyx::regionByNumber(21)->caption, "Provence-Alpes-Côtes d'Azur");
    EXPECT_EQ(localyx::regionByNumber(21)->baseName, "Provence");
    EXPECT_EQ(localyx::regionByNumber(12)->caption, "Île de France");
    EXPECT_EQ(localyx::regionByNumber(12)->baseName, "Iledefrance");
    EXPECT_EQ(localyx::regionByNumber(15)->displayItem, " Lorraines 54, 55, 57, 88");
    EXPECT_EQ(localyx::regionByNumber(19)->displayItem, " Picardie   02, 60, 80");
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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(localyx::decodeRegionText(c.bytes), c.utf8);
    }
}

TEST(TextEncoding, CharactersNotBytes) {
    EXPECT_EQ(localyx::utf8Length("ÉCLUSE-00005"), 12u);
    EXPECT_EQ(localyx::utf8Substr("ÉCLUSE-00005", 0, 1), "É");
    EXPECT_EQ(localyx::utf8Substr("ÉCLUSE", 4, 10), "SE");
    EXPECT_EQ(localyx::utf8Substr("AB", 5, 1), "");
    // A stray byte counts as one character and is never split further.
    EXPECT_EQ(localyx::utf8Length("A\xC3"), 2u);
}

TEST(RegionFile, FoundExactlyThenIgnoringCaseThenInstallFolder) {
    ScratchDir tmp;
    const fs::path bin = tmp.path() / "bin";
    tmp.write("bin/Alsace.txt", "48.5,7.5,\xC9" "CLUSE-67000\r\n");
    tmp.write("bin/franchecomte.TXT", "47.2,6,B-25000\r\n");
    tmp.write("bin/franchecomte.txt", "47.2,6,B-25000\r\n");  // after .TXT in name order
    tmp.write("share/localyx/regions/Corse.txt", "42,9,C-20000\r\n");

    EXPECT_EQ(localyx::locateRegionFile(bin, "Alsace"), bin / "Alsace.txt");
    EXPECT_EQ(localyx::readRegionFile(bin, "Alsace").text, "48.5,7.5,ÉCLUSE-67000\r\n");  // decoded
    EXPECT_EQ(localyx::locateRegionFile(bin, "Franchecomte"), bin / "franchecomte.TXT");
    const auto corse = localyx::readRegionFile(bin, "Corse");
    EXPECT_TRUE(corse.ok() && corse.text == "42,9,C-20000\r\n" && corse.fileName == "Corse.txt");

    const auto missing = localyx::readRegionFile(bin, "Bretagne");
    EXPECT_TRUE(missing.problem == localyx::RegionFileProblem::NotFound && missing.fileName == "Bretagne.txt");
}

TEST(RegionFile, UnreadableThingsAreReportedNotThrown) {
    ScratchDir tmp;
    fs::create_directories(tmp.path() / "Alsace.txt");
    EXPECT_EQ(localyx::readRegionFile(tmp.path(), "Alsace").problem, localyx::RegionFileProblem::Unreadable);

    tmp.write("Bretagne.txt", "48,-2,X-35000\r\n");
    fs::permissions(tmp.path() / "Bretagne.txt", fs::perms::none);
    if (::geteuid() != 0) {  // root reads anything
        EXPECT_EQ(localyx::readRegionFile(tmp.path(), "Bretagne").problem,
                  localyx::RegionFileProblem::Unreadable);
    }
    EXPECT_EQ(localyx::readRegionFileAt(tmp.path() / "nothing.txt").problem,
              localyx::RegionFileProblem::NotFound);
}

}  // namespace
