#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <cstdio>
#include <sys/stat.h>
#include <sys/wait.h>

#include "tests/query/tool_runner.h"

// around and tour over a made-up table: a border town, an ambiguous item, names crafted against spreadsheets.

namespace localyx::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

const std::string kTable =
    "insee;nom;code_postal;departement;region;latitude;longitude;population\n"
    "50410;PONTORSON;50170;50;BasseNormandie;48.553;-1.508;4000\n"
    "35227;PLEINE-FOUGERES;35610;35;Bretagne;48.533;-1.565;2000\n"
    "35093;DOL-DE-BRETAGNE;35120;35;Bretagne;48.550;-1.750;5000\n"
    "50001;JUMEAU;50001;50;BasseNormandie;48.6;-1.5;10\n"
    "50002;JUMEAU;50001;50;BasseNormandie;48.6;-1.5;\n"
    "50000;LOIN;50000;50;BasseNormandie;49.5;-1.5;\n"
    "50005;Loin;50000;50;BasseNormandie;49.6;-1.5;\n"
    "2A004;AJACCIO;20000;2A;Corse;41.9192;8.7386;70000\n"
    "35999;\"=HYPERLINK(\"\"x\"\")\";35999;35;Bretagne;48.56;-1.52;1\n"
    "35998;-ESSAI\x1B[31m;35998;35;Bretagne;48.57;-1.52;1\n";

class France : public ::testing::Test {
protected:
    France() { root.write("bin/localites.csv", kTable); }
    ToolRun run(const Args& args, const std::string& input = {}) const { return runTool(args, bin(), input); }
    fs::path bin() const { return root.path() / "bin"; }
    ScratchDir root;
};

TEST_F(France, AnswersAndRefusals) {
    const std::string pontorson = "PONTORSON-50170";
    for (const auto& [args, input, exitCode, expected] : std::vector<std::tuple<Args, std::string, int, std::string>>{
        // The border is no limit; nearest first; the town itself left out.
        {{"around", pontorson, "20"}, "", 0,
         "=HYPERLINK(\"x\")-35999\t1,2\tBretagne\t1\n-ESSAI\\x1B[31m-35998\t2,1\tBretagne\t1\n"
         "PLEINE-FOUGERES-35610\t4,7\tBretagne\t2000\nJUMEAU-50001\t5,3\tBasse-Normandie\t10\n"
         "JUMEAU-50001\t5,3\tBasse-Normandie\t\nDOL-DE-BRETAGNE-35120\t17,8\tBretagne\t5000\n"},
        {{"around", "pleine-fougeres-35610", "5"}, "", 0, "PONTORSON-50170\t4,7\tBasse-Normandie\t4000\n"},
        {{"around", "50410", "0.1"}, "", 0, ""}, {{"around", "2a004", "0.1"}, "", 0, ""},
        {{"around", pontorson, "1000"}, "", 0, "DOL-DE-BRETAGNE-35120\t17,8"},
        {{"around", pontorson, "20", "--population-min", "2000"}, "", 0,
         "PLEINE-FOUGERES-35610\t4,7\tBretagne\t2000\nDOL-DE-BRETAGNE-35120\t17,8\tBretagne\t5000\n"},
        {{"around", "JUMEAU-50001", "5"}, "", 1, "désigne 2 localités ; ajoutez le code postal ou le département "
         "(« Saint-Denis 93 »), ou donnez le code INSEE :\nJUMEAU-50001\t50\tBasse-Normandie\t50001\n"
         "JUMEAU-50001\t50\tBasse-Normandie\t50002\n"},
        {{"around", "PONTORSN-50170", "5"}, "", 1, "Vouliez-vous dire :\n  PONTORSON-50170\n"},
        {{"around", "", "5"}, "", 1, "localité inconnue : «  ».\nUne localité"},
        {{"around", pontorson, "0,05"}, "", 2, "rayon invalide"}, {{"around", pontorson, "1e2"}, "", 2, "rayon invalide"},
        {{"around", pontorson, "1000.5"}, "", 2, "rayon invalide"},
        {{"around", pontorson, "5", "--population-min", "5x"}, "", 2, "population minimale invalide"},
        {{"around", pontorson, "1", "--format", "gpx"}, "", 0, "<desc>Centre de la recherche ; 4000 habitants</desc>\n    <type>centre</type>"},
        {{"around", "50002", "1", "--format", "gpx"}, "", 0, "<desc>Centre de la recherche ; population inconnue</desc>"},
        {{"around", "35999", "1", "--format", "gpx"}, "", 0, "<desc>Centre de la recherche ; 1 habitant</desc>"},
        {{"tour", pontorson, "35093", "--format", "kml", "--no-return"}, "", 0, "<Style id=\"trajet\">"},  // one leg
        {{"tour", pontorson, "35093", "--format", "kml"}, "", 0, "<LineString>\n        <tessellate>1</tessellate>"},
        {{"tour", pontorson, "35093", "--format", "gpx"}, "", 0, "<rtept lat=\"48.553000\" lon=\"-1.508000\">"},
        {{"tour", pontorson, "35093", "--format", "gpx", "--itineraries"}, "", 0, "<link href=\"http://www.viamichelin.fr/"},
        // A round trip by the shortest order, then a one-way one that ends far.
        {{"tour", pontorson, "DOL-DE-BRETAGNE-35120", "PLEINE-FOUGERES-35610", "LOIN-50000"}, "", 0,
         "\nTotal : 231,0 km à vol d'oiseau (ordre optimal)\n"},
        {{"tour", pontorson, "LOIN-50000", "DOL-DE-BRETAGNE-35120", "--no-return"}, "", 0,
         "1\tPONTORSON-50170\tDOL-DE-BRETAGNE-35120\t17,8\t17,8\n2\tDOL-DE-BRETAGNE-35120\tLOIN-50000\t107,2\t125,0\n"
         "Total : 125,0 km"},
        // Standard input: first column, blank lines skipped, repeats and the start once.
        {{"tour", pontorson, "-"}, "DOL-DE-BRETAGNE-35120\t17,9\tBretagne\n\n  \r\n35093\n50410\n", 0,
         "1\tPONTORSON-50170\tDOL-DE-BRETAGNE-35120\t17,8\t17,8\n"
         "2\tDOL-DE-BRETAGNE-35120\tPONTORSON-50170\t17,8\t35,6\nTotal : 35,6 km à vol d'oiseau (ordre optimal)\n"},
        {{"tour", pontorson, "35093", "35093"}, "", 0, "« DOL-DE-BRETAGNE-35120 » figure plusieurs fois"},
        {{"tour", pontorson, "50410"}, "", 1, "aucune étape à visiter"}, {{"tour", pontorson}, "", 1, "aucune étape"},
        {{"tour", pontorson, "35093", "INCONNUE-00000"}, "", 1, "localité inconnue : « INCONNUE-00000 »"},
        // The web addresses take a town written any way the table knows, and any other text as it is.
        {{"itinerary-url", "pontorson", "Dol de Bretagne"}, "", 0, "strStartMerged=50170+PONTORSON&strDestCityCountry=1424"
         "&strDestAddress=&strDestMerged=35120+DOL "}, {{"map-url", "ailleurs"}, "", 0, "strLocation=ailleurs%20"},
        {{"map-url", "jumeau"}, "", 1, "« jumeau » désigne 2 localités"},
        {{"tour", pontorson, "35093", "--itineraries"}, "", 0,
         "\t17,8\nhttp://www.viamichelin.fr/viamichelin/fra/dyn/controller/ItiWGPerformPage?ie=utf-8&reinit=1"
         "&strStartCityCountry=1424&strStartAddress=&strStartMerged=50170+PONTORSON&strDestCityCountry=1424"
         "&strDestAddress=&strDestMerged=35120+DOL &image2.x=0&image2.y=0#\n"}}) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const ToolRun r = run(args, input);
        EXPECT_EQ(r.exitCode, exitCode) << r.err;
        EXPECT_THAT(r.out + r.err, HasSubstr(expected));
        if (exitCode != 0 || expected.empty()) { EXPECT_THAT(r.out, ::testing::IsEmpty()); }
    }
}

TEST_F(France, AThousandStopsAtMost) {
    std::string table = kTable, codes;
    for (int i = 60000; i < 61001; ++i) table += std::to_string(i) + ";V;" + std::to_string(i) + ";60;Picardie;49.5;2.5;\n";
    for (int i = 60000; i < 61000; ++i) codes += std::to_string(i) + "\n";
    root.write("bin/localites.csv", table);
    const ToolRun most = run({"tour", "50410", "-"}, codes);
    EXPECT_EQ(most.exitCode, 0);
    EXPECT_THAT(most.out, HasSubstr(" km à vol d'oiseau (ordre optimisé)\n"));
    EXPECT_THAT(run({"tour", "50410", "-"}, codes + "61000\n").err, HasSubstr("1001 étapes : au plus 1000"));
    // Four bad rows: three are told, the last counted.
    root.write("bin/localites.csv", kTable + "1;A\n2;B\n3;C\n4;D\n");
    EXPECT_THAT(run({"around", "50410", "1"}).err, HasSubstr("ligne 14 ignorée : 2 colonnes au lieu de 8.\nlocalyx-query : attention : et 1 autre ligne ignorée.\n"));
}

TEST_F(France, SpreadsheetsGetNoFormulaAndTheDecimalComma) {
    const ToolRun around = run({"around", "PONTORSON-50170", "3", "--format", "csv"});
    EXPECT_EQ(around.out,
              "\xEF\xBB\xBFLocalité;Code postal;Code INSEE;Département;Région;Population;Latitude;Longitude;"
              "Distance (km);Nom officiel\n"
              "\"'=HYPERLINK(\"\"x\"\")\";\"35999\";\"35999\";\"35\";Bretagne;1;48,560000;-1,520000;1,2;\n"
              "'-ESSAI\\x1B[31m;\"35998\";\"35998\";\"35\";Bretagne;1;48,570000;-1,520000;2,1;\n");
    EXPECT_EQ(run({"tour", "PONTORSON-50170", "35998", "--format", "csv", "--no-return"}).out,
              "\xEF\xBB\xBF\xC3\x89tape;Localité;Code postal;Latitude;Longitude;"
              "Distance depuis l'étape précédente (km);Distance cumulée (km);Nom officiel\n"
              "0;PONTORSON;\"50170\";48,553000;-1,508000;0,0;0,0;\n"
              "1;'-ESSAI\\x1B[31m;\"35998\";48,570000;-1,520000;2,1;2,1;\n");
}

// Read back by a reader we did not write: codes stay text, numbers are numbers.
TEST_F(France, XlsxReadsBackInOpenpyxl) {
    const ToolRun around = run({"around", "PONTORSON-50170", "5", "--format", "xlsx", "--population-min", "2"});
    ASSERT_EQ(around.exitCode, 0) << around.err;
    root.write("around.xlsx", around.out);
    root.write("read.py", "import openpyxl, sys\n"
                          "ws = openpyxl.load_workbook(sys.argv[1]).active\n"
                          "print(ws.title, ws.freeze_panes, ws['A1'].font.b, ws.column_dimensions['A'].width)\n"
                          "for row in ws.iter_rows():\n"
                          "    print(*[f'{c.value!r}:{c.number_format}' for c in row])\n");
    const std::string command = "/usr/bin/python3 " + (root.path() / "read.py").string() + " " +
                                (root.path() / "around.xlsx").string();
    std::string read;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) read.append(buffer, got);
        ::pclose(pipe);
    }
    EXPECT_EQ(read,
              "5,0 km de PONTORSON-50170 A2 True 17.7109375\n"
              "'Localité':General 'Code postal':General 'Code INSEE':General 'Département':General 'Région':General "
              "'Population':General 'Latitude':General 'Longitude':General 'Distance (km)':General "
              "'Nom officiel':General\n"
              "'PLEINE-FOUGERES':@ '35610':@ '35227':@ '35':@ 'Bretagne':@ 2000:#,##0 48.533:0.000000 "
              "-1.565:0.000000 4.7:0.0 None:General\n");
}

TEST_F(France, GeoJsonReadsBackAsTheSearch) {
    using nlohmann::json;
    const json read = json::parse(run({"around", "PONTORSON-50170", "20", "--format", "geojson"}).out);
    EXPECT_EQ(read["type"], "FeatureCollection");
    const json& features = read["features"];
    ASSERT_EQ(features.size(), linesOf(run({"around", "PONTORSON-50170", "20"}).out).size() + 1);
    EXPECT_EQ(features[0]["geometry"], json::parse(R"({"type": "Point", "coordinates": [-1.508, 48.553]})"));
    EXPECT_EQ(features[0]["properties"], json::parse(R"({"role": "centre", "nom": "PONTORSON", "code_postal": "50170",
        "insee": "50410", "departement": "50", "region": "Basse-Normandie", "population": 4000, "distance_km": 0.0})"));
    EXPECT_EQ(features.back()["properties"], json::parse(R"({"nom": "DOL-DE-BRETAGNE", "code_postal": "35120",
        "insee": "35093", "departement": "35", "region": "Bretagne", "population": 5000, "distance_km": 17.813})"));
    EXPECT_TRUE(features[5]["properties"]["population"].is_null());
}

// The names file beside the table: official names into the exports, a whole city as a centre.
TEST_F(France, NamesBesideTheTable) {
    root.write("bin/noms.csv", "insee;forme;type;codes_postaux;latitude;longitude;population\n"
                               "50410;Pontorson;officiel;50170 50171;;;\n35093;Dol-de-Bretagne;officiel;35120;;;\n"
                               "50999;Mont;ville;50170;48.6;-1.51;44\n50410;X;inconnu;;;;\n"
                               "35227;Pleine-Fougères;officiel;35610 35611;;;\n");
    using nlohmann::json;
    const json read = json::parse(run({"around", "Pontorson", "20", "--format", "geojson"}).out);
    EXPECT_EQ(read["features"][0]["properties"]["nom_officiel"], "Pontorson");
    EXPECT_EQ(read["features"].back()["properties"]["nom_officiel"], "Dol-de-Bretagne");
    EXPECT_THAT(run({"around", "50171 pontorson", "20", "--format", "kml"}).out,
                HasSubstr("<name>PONTORSON-50170 (Pontorson)</name>"));
    EXPECT_THAT(run({"around", "50410", "20", "--format", "csv"}).out,
                HasSubstr(";17,8;Dol-de-Bretagne\n"));
    const ToolRun city = run({"tour", "mont", "35093", "--no-return"});
    EXPECT_EQ(city.out, "1\tMont\tDOL-DE-BRETAGNE-35120\t18,5\t18,5\nTotal : 18,5 km à vol d'oiseau (ordre optimal)\n");
    EXPECT_THAT(city.err, HasSubstr("noms.csv, ligne 5 ignorée : type inconnu.\n"));
    EXPECT_THAT(run({"around", "Mont", "6"}).out, HasSubstr("JUMEAU-50001\t0,7\t"));
    // A region's towns are read the same way, with what the table and its names know of them.
    root.write("bin/Bretagne.txt", "48.533,-1.565,PLEINE-FOUGERES-35610\r\n48.550,-1.750,DOL-DE-BRETAGNE-35120\r\n");
    const ToolRun exact = run({"neighbours", "Bretagne", "PLEINE-FOUGERES-35610", "50"});
    EXPECT_EQ(exact.out, "DOL-DE-BRETAGNE-35120\n");
    EXPECT_EQ(run({"neighbours", "Bretagne", "35611 pleine fougères", "50"}).out, exact.out);
}

// Nothing written reaches a terminal as a control character or broken UTF-8.
TEST_F(France, HostileNamesAndFilesStayHarmless) {
    ::mkfifo((root.path() / "fifo.txt").c_str(), 0600);
    root.write("bin/Alsace.txt", "48.5,7.5,BIP\x1B]0;x\x07-00001\r\n48.51,7.51,\xC2\x9B" "2J-00002\r\n");
    const std::string huge(131000, 'A');
    for (const Args& args : std::vector<Args>{
             {"around", "PONTORSON-50170", "5"}, {"around", "PONTORSON-50170", "5", "--format", "kml"},
             {"around", "PONTORSON-50170", "5", "--format", "gpx"},
             {"around", "PONTORSON-50170", "5", "--format", "geojson"},
             {"tour", "PONTORSON-50170", "35998", "--format", "kml"}, {"towns", "1"},
             {"neighbours", "1", "BIP\x1B]0;x\x07-00001", "5"}, {"map-url", "\x1B[2J-00001"},
             {"itinerary-url", "\x1B[2J-00001", "X\xFF-00002"}, {"--file", (root.path() / "\x1B[2J.txt").string(), "towns"},
             {"--file", huge, "towns"}, {"--file", (root.path() / "fifo.txt").string(), "towns"},
             {"around", "\x1B[2J" + huge, "5"}, {"distance", "1", huge, "BIP"}}) {
        SCOPED_TRACE(::testing::PrintToString(args).substr(0, 200));
        const ToolRun r = run(args);
        const std::string text = r.out + "\n" + r.err;
        EXPECT_EQ(text.find_first_of("\x1B\x07\r\xFF"), std::string::npos);
        EXPECT_EQ(text.find("\xC2\x9B"), std::string::npos);
        EXPECT_LT(text.size(), 4000u);
    }
    fs::resize_file(bin() / "localites.csv", 65u << 20);  // sparse: no disk used
    EXPECT_THAT(run({"around", "PONTORSON-50170", "5"}).err, HasSubstr("fichier trop volumineux (plus de 64 Mo)"));
    fs::remove(bin() / "localites.csv");  // the table swapped for a FIFO is refused, not waited on
    ::mkfifo((bin() / "localites.csv").c_str(), 0600);
    EXPECT_THAT(run({"around", "PONTORSON-50170", "5"}).err, HasSubstr("fichier illisible"));
}

// Through the real program: exit codes, a pipe, a full disk, then the map files as a GPS program reads them.
TEST_F(France, TheRealProgramInAShell) {
    fs::copy_file(queryExecutable(), bin() / "localyx-query");
    const auto shell = [&](const std::string& command) {
        const int status = std::system(("cd '" + root.path().string() + "' && " + command + " 2>/dev/null").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(shell("bin/localyx-query around 50410 20 --population-min 1000 | bin/localyx-query tour 50410 - "
                    "--no-return | grep -q '^Total : '"), 0);
    EXPECT_EQ(shell("bin/localyx-query tour 50410 NULLE-PART > /dev/null"), 1);
    EXPECT_EQ(shell("bin/localyx-query around 50410 > /dev/null"), 2);
    if (fs::is_character_file("/dev/full")) { EXPECT_EQ(shell("bin/localyx-query around 50410 20 > /dev/full"), 1); }

    if (std::system("gpsbabel -V > /dev/null 2>&1") != 0) GTEST_SKIP() << "gpsbabel is not installed";
    ASSERT_EQ(shell("for f in gpx kml; do bin/localyx-query around 50410 4 --format $f > a.$f && "
                    "bin/localyx-query tour 50410 35093 35227 --format $f > t.$f || exit 1; done && "
                    "gpsbabel -i gpx -f a.gpx -i kml -f a.kml -o unicsv -F a.csv && gpsbabel -r -i gpx -f t.gpx "
                    "-o unicsv -F t.csv && gpsbabel -i kml -f t.kml -o unicsv -F k.csv && "
                    "gpsbabel -t -i kml -f t.kml -o unicsv -F line.csv"), 0);
    const auto column = [&](const char* file, int n) {  // name (3) or longitude (2), each row's
        std::ifstream in(root.path() / file);
        std::string cells;
        for (std::string line; std::getline(in, line);) {
            std::size_t at = 0;
            for (int i = 0; i < n; ++i) at = line.find(',', at) + 1;
            cells += line.substr(at, line.find_first_of(",\r", at) - at) + "|";
        }
        return cells;
    };
    const std::string around = R"("PONTORSON-50170"|"=HYPERLINK(""x"")-35999"|"-ESSAI\x1B[31m-35998"|)";
    const std::string stops = R"(Name|"0. PONTORSON-50170"|"1. PLEINE-FOUGERES-35610"|"2. DOL-DE-BRETAGNE-35120"|)";
    EXPECT_EQ(column("a.csv", 3), "Name|" + around + around);
    EXPECT_EQ(column("t.csv", 3), stops + R"("3. PONTORSON-50170"|)");
    EXPECT_EQ(column("k.csv", 3), stops);
    EXPECT_EQ(column("line.csv", 2), "Longitude|-1.508000|-1.565000|-1.750000|-1.508000|");
}

}  // namespace
}  // namespace localyx::testing
