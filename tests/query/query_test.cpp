#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/query/query_fixture.h"
#include "tests/query/tool_runner.h"

namespace localyx::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kCsvHeader = "Localité;Code postal;Latitude;Longitude;Distance (km)";

// A private copy of the program in root/bin, so that the region files it
// finds are the test's own: root/bin first, then root/share/localyx/regions.
class PrivateInstall : public ::testing::Test {
protected:
    PrivateInstall() {
        fs::create_directories(bin());
        fs::copy_file(queryExecutable(), program());
    }
    fs::path bin() const { return root.path() / "bin"; }
    fs::path program() const { return bin() / "localyx-query"; }
    void writeRegion(std::string_view fileName, std::string_view bytes) const {
        root.write(fs::path("bin") / fileName, bytes);
    }
    ToolRun run(const std::vector<std::string>& args) const { return runTool(args, program()); }

    ScratchDir root;
};

// A region file given with --file.
class FileQuery : public ::testing::Test {
protected:
    ToolRun query(std::string_view bytes, std::vector<std::string> args) const {
        const fs::path file = scratch.write("region.txt", bytes);
        args.insert(args.begin(), {"--file", file.string()});
        return runTool(args);
    }
    ScratchDir scratch;
};

// ------------------------------------------------------------ command line

TEST(QueryCommandLine, WrongCommandLinesGiveTheUsageAndExitCode2) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"foo"},
        {"regions", "extra"},
        {"towns"},
        {"towns", "1", "extra"},
        {"neighbours", "1", "A-00001"},
        {"neighbours", "1", "A-00001", "0"},
        {"neighbours", "1", "A-00001", "10000"},
        {"neighbours", "1", "A-00001", "5km"},
        {"neighbours", "1", "A-00001", "5.5"},
        {"neighbours", "1", "A-00001", " 5"},
        {"neighbours", "1", "A-00001", "99999999999999999999"},
        {"neighbours", "1", "A-00001", "--", "-5"},
        {"distance", "1", "A-00001"},
        {"map-url"},
        {"itinerary-url", "A-00001"},
        {"--csv", "towns", "1"},
        {"--csv", "distance", "1", "A-00001", "B-00002"},
        {"--file", "x.txt", "regions"},
        {"--file", "x.txt", "map-url", "A-00001"},
        {"--file", "x.txt", "towns", "1"},
        {"--file", "x.txt", "neighbours", "1", "A-00001", "5"},
        {"--file"},
        {"--file", "a.txt", "--file", "b.txt", "towns"},
        {"--bogus", "regions"},
        {"-x", "regions"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const ToolRun r = runTool(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_THAT(r.out, IsEmpty());
        EXPECT_THAT(r.err, StartsWith("localyx-query : "));
        EXPECT_THAT(r.err, HasSubstr("Usage : localyx-query"));
    }
    EXPECT_THAT(runTool({"--file", "x.txt", "neighbours", "A-00001"}).err,
                HasSubstr("forme attendue : localyx-query --file FICHIER neighbours [--csv] VILLE KM"));
}

TEST(QueryCommandLine, HelpAndVersionGoToStandardOutput) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"-h"}, {"towns", "--help"}, {"--bogus", "-h"}}) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const ToolRun r = runTool(args);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_THAT(r.out, StartsWith("Usage : localyx-query"));
        EXPECT_THAT(r.out, HasSubstr("neighbours [--csv] RÉGION VILLE KM"));
        EXPECT_THAT(r.err, IsEmpty());
    }
    const ToolRun v = runTool({"--version"});
    EXPECT_EQ(v.exitCode, 0);
    EXPECT_EQ(v.out, std::string("localyx-query ") + LOCALYX_VERSION + "\n");
}

// ------------------------------------------------------------ regions

TEST_F(PrivateInstall, RegionsCountsTheLocalitiesOfEachFileFoundAsTheWindowFindsThem) {
    writeRegion("Alsace.txt", kQueryRegion);
    writeRegion("bretagne.TXT", "48.1,-1.6,RENNES-35200\r\n");  // case differs
    root.write("share/localyx/regions/Corse.txt", "42.0,9.0,A-20000\r\n42.1,9.1,B-20001\r\n");
    writeRegion("Limousin.txt", "");
    fs::create_directories(bin() / "Lorraine.txt");  // not a file: unreadable

    const ToolRun r = run({"regions"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto lines = linesOf(r.out);
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[0], "1\tAlsace\tAlsace\t10");
    EXPECT_EQ(lines[1], "2\tAquitaine\tAquitaine\t-");
    EXPECT_EQ(lines[5], "6\tBretagne\tBretagne\t1");
    EXPECT_EQ(lines[8], "9\tCorse\tCorse\t2");
    EXPECT_EQ(lines[11], "12\tÎle de France\tIledefrance\t-");
    EXPECT_EQ(lines[13], "14\tLimousin\tLimousin\t0");
    EXPECT_EQ(lines[14], "15\tLorraine\tLorraine\t-");
    EXPECT_EQ(lines[20], "21\tProvence-Alpes-Côtes d'Azur\tProvence\t-");
    EXPECT_EQ(r.out.back(), '\n');
}

TEST_F(PrivateInstall, RegionIsTakenByNumberCaptionOrBaseNameWithoutRegardToCase) {
    writeRegion("Iledefrance.txt", "48.85,2.35,PARIS-75001\r\n48.9,2.3,CLICHY-92110\r\n");
    for (const std::string region : {"12", "Île de France", "île de france", "ÎLE DE FRANCE",
                                     "ile de france", "Iledefrance", "ILEDEFRANCE"}) {
        SCOPED_TRACE(region);
        const ToolRun r = run({"towns", region});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, "PARIS-75001\nCLICHY-92110\n");
    }
}

TEST_F(PrivateInstall, UnknownRegionsAndMissingFilesExitWith1AndSayWhy) {
    struct Case {
        std::string region;
        std::vector<std::string> inMessage;
    };
    const std::vector<Case> cases = {
        {"23", {"région inconnue : « 23 »", "de 1 à 22"}},
        {"0", {"région inconnue"}},
        {"Bretange", {"région inconnue : « Bretange »", "6  Bretagne (Bretagne.txt)"}},
        {"franche", {"10  Franche-Comté (Franchecomte.txt)"}},
        {"Alsace", {"fichier de région introuvable : Alsace.txt", bin().string()}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.region);
        const ToolRun r = run({"towns", c.region});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_THAT(r.out, IsEmpty());
        for (const std::string& part : c.inMessage) EXPECT_THAT(r.err, HasSubstr(part));
    }
}

// ------------------------------------------------------------ towns

TEST_F(FileQuery, TownsListsTheNamesInFileOrderDecodedToUtf8) {
    // Windows-1252, as the shipped files are: 0xC9 is É.
    const ToolRun r = query("48.5,7.5,\xC9\x43LUSE-00005\r\n48.6,7.6,\"LE BOURG, HAUT-00006\"\r\n"
                            "48.7,7.7,ZZ-00007\r\n",
                            {"towns"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "ÉCLUSE-00005\nLE BOURG, HAUT-00006\nZZ-00007\n");
    EXPECT_THAT(r.err, IsEmpty());
}

TEST_F(FileQuery, MalformedFilesStillAnswerButSayWhereTheFormatBreaks) {
    const ToolRun nameFirst = query(kNameFirst, {"towns"});
    EXPECT_EQ(nameFirst.exitCode, 0);
    EXPECT_EQ(nameFirst.out, "PREMIER-00001\nSECOND-00002\nTROISIEME-00003\n");
    EXPECT_THAT(nameFirst.err, HasSubstr("mal formé"));
    EXPECT_THAT(nameFirst.err, HasSubstr("« PREMIER-00001 », au début du fichier"));

    const ToolRun missing = query(kMissingCoordinates, {"towns"});
    EXPECT_EQ(missing.exitCode, 0);
    EXPECT_EQ(linesOf(missing.out).size(), 3u);
    EXPECT_THAT(missing.err, HasSubstr("après la localité « AUSSI-00002 »"));

    // Control characters reach the terminal as escapes, never raw.
    const ToolRun binary = query(std::string_view("\x7F\x01\x00\tX\r\n", 7), {"towns"});
    EXPECT_EQ(binary.exitCode, 0);
    EXPECT_THAT(binary.err, HasSubstr("« \\x7F\\x01\\x00\\tX »"));

    const ToolRun empty = query("", {"towns"});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_THAT(empty.out, IsEmpty());
    EXPECT_THAT(empty.err, IsEmpty());
}

TEST_F(FileQuery, FilesThatCannotBeReadExitWith1) {
    const ToolRun missing = runTool({"--file", (scratch.path() / "absent.txt").string(), "towns"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_THAT(missing.err, HasSubstr("fichier introuvable"));
    EXPECT_THAT(missing.err, HasSubstr("absent.txt"));

    const ToolRun folder = runTool({"--file", scratch.path().string(), "towns"});
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_THAT(folder.err, HasSubstr("impossible de lire"));
    EXPECT_THAT(folder.out, IsEmpty());
}

// ------------------------------------------------------------ town names

TEST_F(FileQuery, TownsAreTakenExactlyOrByAUniqueMatchWithoutRegardToCase) {
    constexpr std::string_view kFile =
        "48.5,7.5,ÉCLUSE-00001\r\n"
        "48.51,7.51,Dup-00002\r\n"
        "48.52,7.52,DUP-00002\r\n"
        "48.53,7.53,LOIN-00003\r\n";
    // Each town lies at its own distance from LOIN, which tells which was taken.
    struct Case {
        std::string town;
        int exitCode;
        std::string inOutput;  // the output, or a part of the message
    };
    const std::vector<Case> cases = {
        {"ÉCLUSE-00001", 0, "3\n"},
        {"écluse-00001", 0, "3\n"},  // an accented capital is folded too
        {"Dup-00002", 0, "2\n"},
        {"DUP-00002", 0, "1\n"},     // the exact item wins over its twin
        {"dup-00002", 1, "plusieurs localités"},
        {"ECLUSE-00001", 1, "Vouliez-vous dire :\n  ÉCLUSE-00001"},  // another name
        {"LION-00003", 1, "La liste des localités : localyx-query --file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.town);
        const ToolRun r = query(kFile, {"distance", c.town, "LOIN-00003"});
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        if (c.exitCode == 0) {
            EXPECT_EQ(r.out, c.inOutput);
        } else {
            EXPECT_THAT(r.err, HasSubstr(c.inOutput));
        }
    }
}

TEST_F(FileQuery, MisspeltTownsGetUpToFiveSuggestionsThatBeginLikeThem) {
    std::string file;
    for (int i = 1; i <= 7; ++i) {
        file += "48." + std::to_string(i) + ",7.5,SAINT " + std::string(1, char('A' + i)) +
                "-0000" + std::to_string(i) + "\r\n";
    }
    file += "48.9,7.9,CENTREVILLE-67001\r\n";

    const ToolRun many = query(file, {"neighbours", "SAINT Q", "5"});
    EXPECT_EQ(many.exitCode, 1);
    EXPECT_THAT(many.out, IsEmpty());
    EXPECT_THAT(many.err, HasSubstr("localité inconnue"));
    EXPECT_THAT(many.err, HasSubstr("« SAINT Q »"));
    const auto lines = linesOf(many.err);
    std::vector<std::string> suggested;
    for (const std::string& line : lines) {
        if (line.starts_with("  ")) suggested.push_back(line.substr(2));
    }
    EXPECT_THAT(suggested, ElementsAre("SAINT B-00001", "SAINT C-00002", "SAINT D-00003",
                                       "SAINT E-00004", "SAINT F-00005"));

    const ToolRun typo = query(file, {"neighbours", "centrevile-67001", "5"});
    EXPECT_EQ(typo.exitCode, 1);
    EXPECT_THAT(typo.err, HasSubstr("Vouliez-vous dire :\n  CENTREVILLE-67001\n"));

    const ToolRun nothingAlike = query(file, {"neighbours", "XYZ", "5"});
    EXPECT_EQ(nothingAlike.exitCode, 1);
    EXPECT_THAT(nothingAlike.err, Not(HasSubstr("Vouliez-vous dire")));
    EXPECT_THAT(nothingAlike.err, HasSubstr("towns"));
}

// ------------------------------------------------------------ neighbours

TEST_F(FileQuery, NeighboursAreTheWindowsListInFileOrder) {
    struct Case {
        std::string town;
        std::string km;
        std::string expected;
    };
    const std::vector<Case> cases = {
        // 6 km: 0.054 degree; MEMELAT shares the latitude, LOIN is 0.08 away.
        {"CENTREVILLE-67001", "6",
         "PRES-67002\nMOYEN-67003\nSAINT-EXEMPLE-67006\nZED-67010\nABC-67011\n"
         "LE BOURG; NORD-67012\nVOISIN-67013\n"},
        // 5 km: 0.045 degree leaves MOYEN (0.05) out.
        {"CENTREVILLE-67001", "5",
         "PRES-67002\nSAINT-EXEMPLE-67006\nZED-67010\nABC-67011\nLE BOURG; NORD-67012\n"
         "VOISIN-67013\n"},
        // ZED and ABC share their place, so neither lists the other.
        {"ZED-67010", "1", ""},
        {"CENTREVILLE-67001", "1", "VOISIN-67013\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.town + " " + c.km);
        const ToolRun r = query(kQueryRegion, {"neighbours", c.town, c.km});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, c.expected);
        EXPECT_THAT(r.err, IsEmpty());
    }
}

TEST_F(FileQuery, CsvListsTheNeighboursNearestFirstForASpreadsheet) {
    const ToolRun r = query(kQueryRegion, {"neighbours", "--csv", "CENTREVILLE-67001", "6"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, std::string(kBom) + std::string(kCsvHeader) + "\n" +
                         "VOISIN;67013;48.501;7.502;0,2\n"
                         "SAINT-EXEMPLE;67006;48.49;7.49;1,3\n"
                         "\"LE BOURG; NORD\";67012;48.51;7.52;1,8\n"
                         "PRES;67002;48.52;7.47;3,1\n"
                         "ZED;67010;48.53;7.53;4,0\n"  // a tie keeps the file's order
                         "ABC;67011;48.53;7.53;4,0\n"
                         "MOYEN;67003;48.55;7.45;6,7\n");

    const ToolRun none = query(kQueryRegion, {"--csv", "neighbours", "ZED-67010", "1"});
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_EQ(none.out, std::string(kBom) + std::string(kCsvHeader) + "\n");
}

TEST_F(FileQuery, CsvKeepsNamesWithoutCodeAndQuotesWhatASpreadsheetWouldSplit) {
    const ToolRun r = query("48.5,7.5,CENTRE-00001\r\n"
                            "48.51,7.51,SANSCODE\r\n"
                            "48.52,7.52,DIT \"LE HAUT\"-00003\r\n"
                            "48.53,7.53,É-00004\r\n",
                            {"neighbours", "--csv", "CENTRE-00001", "9"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto lines = linesOf(r.out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_THAT(lines[1], StartsWith("SANSCODE;;48.51;7.51;"));
    EXPECT_THAT(lines[2], StartsWith("\"DIT \"\"LE HAUT\"\"\";00003;48.52;7.52;"));
    EXPECT_THAT(lines[3], StartsWith("É;00004;48.53;7.53;"));
}

TEST_F(FileQuery, NeighboursOfATownWithoutCoordinatesWarnButAnswerAsTheWindow) {
    const ToolRun r = query(kMissingCoordinates, {"neighbours", "SANS-00003", "50"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_THAT(r.out, IsEmpty());
    EXPECT_THAT(r.err, HasSubstr("une coordonnée de « SANS-00003 » se lit comme 0"));
}

// ------------------------------------------------------------ distance

TEST_F(FileQuery, DistanceIsTheWholeKilometresOfTheWindow) {
    struct Case {
        std::string first, second;
        int exitCode;
        std::string out;
        std::string inMessage;
    };
    const std::vector<Case> cases = {
        {"CENTREVILLE-67001", "LOIN-67005", 0, "10\n", ""},  // 10.67 km, cut down
        {"LOIN-67005", "CENTREVILLE-67001", 0, "10\n", ""},
        {"CENTREVILLE-67001", "MOYEN-67003", 0, "6\n", ""},  // 6.67 km
        {"CENTREVILLE-67001", "VOISIN-67013", 0, "0\n", ""},  // 0.18 km
        {"ZED-67010", "ABC-67011", 0, "0\n", ""},              // one place
        {"ZED-67010", "zed-67010", 1, "", "choisie deux fois"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first + " / " + c.second);
        const ToolRun r = query(kQueryRegion, {"distance", c.first, c.second});
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(r.out, c.out);
        if (c.inMessage.empty()) {
            EXPECT_THAT(r.err, IsEmpty());
        } else {
            EXPECT_THAT(r.err, HasSubstr(c.inMessage));
        }
    }
}

TEST_F(FileQuery, NoDistanceWhenACoordinateReadsAsZero) {
    const ToolRun r = query(kMissingCoordinates, {"distance", "AVEC-00001", "SANS-00003"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_THAT(r.out, IsEmpty());
    EXPECT_THAT(r.err, HasSubstr("distance non calculable"));
}

// ------------------------------------------------------------ addresses

TEST(QueryAddresses, MapAndItineraryAddressesAreRaw) {
    const ToolRun map = runTool({"map-url", "L'ISLE D'ÉCLUSE-00004"});
    EXPECT_EQ(map.exitCode, 0);
    EXPECT_EQ(map.out,
              "http://www.viamichelin.fr/viamichelin/fra/dyn/controller/mapPerformPage?"
              "expressMap=false&act=&pim=true&strAddress=&strCP=&strLocation="
              "L'ISLE D'ÉCLUSE-00004%20&%20%20&strCountry=1424&x=33&y=11\n");

    const ToolRun iti = runTool({"itinerary-url", "SAINT-EXEMPLE-00003", "LE BOURG-00002"});
    EXPECT_EQ(iti.exitCode, 0);
    EXPECT_EQ(iti.out,
              "http://www.viamichelin.fr/viamichelin/fra/dyn/controller/ItiWGPerformPage?"
              "ie=utf-8&reinit=1&strStartCityCountry=1424&strStartAddress=&strStartMerged="
              "00003+SAINT&strDestCityCountry=1424&strDestAddress=&strDestMerged="
              "00002+LE BOURG &image2.x=0&image2.y=0#\n");

    const ToolRun leadingHyphen = runTool({"itinerary-url", "--", "-00001", "LE BOURG-00002"});
    EXPECT_EQ(leadingHyphen.exitCode, 0);
    EXPECT_THAT(leadingHyphen.out, HasSubstr("strStartMerged=00001+&"));
}

TEST(QueryAddresses, NoItineraryForItemsTheWindowCannotWalk) {
    for (const auto& [start, dest] : {std::pair<std::string, std::string>{"EXEMPLEVILLE 00006", "LE BOURG-00002"},
                                      {"LE BOURG-00002", "A-01"}}) {
        SCOPED_TRACE(start + " / " + dest);
        const ToolRun r = runTool({"itinerary-url", start, dest});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_THAT(r.out, IsEmpty());
        EXPECT_THAT(r.err, HasSubstr("n'ouvre pas d'itinéraire"));
    }
}

}  // namespace
}  // namespace localyx::testing
