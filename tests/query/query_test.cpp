#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/query/tool_runner.h"

namespace localyx::testing {
namespace {

using ::testing::HasSubstr;

// The window tests' localities, then ZED and ABC on one place (a tie, ZED first),
// a name holding ";" in quotes, and VOISIN, 0.2 km from CENTREVILLE.
const std::string kQueryRegion = std::string(kAlsaceFile) +
    "48.53,7.53,ZED-67010\r\n48.53,7.53,ABC-67011\r\n48.51,7.52,\"LE BOURG; NORD-67012\"\r\n48.501,7.502,VOISIN-67013\r\n";

// Run from root/bin: region files are looked for there, then in root/share/localyx/regions.
class Query : public ::testing::Test {
protected:
    ToolRun run(const Args& args) const { return runTool(args, root.path() / "bin"); }
    std::string file(std::string_view name, std::string_view bytes) const { return root.write(name, bytes).string(); }
    ScratchDir root;
};

TEST_F(Query, RegionsTownsAndTheirMessages) {
    file("bin/Alsace.txt", kQueryRegion);
    std::string towns = "48.5,7.5,ÉCLUSE-00001\r\n48.51,7.51,Dup-00002\r\n48.52,7.52,DUP-00002\r\n48.53,7.53,LOIN-00003\r\n";
    for (char c = 'B'; c <= 'H'; ++c) towns += "48.9,7.9,SAINT " + std::string(1, c) + "-00009\r\n";
    file("bin/bretagne.TXT", towns);  // the case of a name may differ
    file("share/localyx/regions/Iledefrance.txt", "48.85,2.35,PARIS-75001\r\n48.9,2.3,CLICHY-92110\r\n");
    file("bin/Limousin.txt", "");
    std::filesystem::create_directories(root.path() / "bin" / "Lorraine.txt");  // unreadable
    ASSERT_EQ(linesOf(run({"regions"}).out).size(), 22u);
    // Windows-1252, as the shipped files are: 0xC9 is É.
    const std::string cp1252 = file("cp1252.txt", "48.5,7.5,\xC9\x43LUSE-05\r\n48.6,7.6,\"LE BOURG, HAUT-06\"\r\n");
    // Broken files: a name first; the last locality without its coordinates.
    const std::string nameFirst = file("name_first.txt", "\nPREMIER-00001,48.5,7.5\r\n48.51,7.51,SECOND-00002\r\n");
    const std::string missing = file("missing.txt", "48.5,7.5,AVEC-00001\r\n48.51,7.51,AUSSI-00002\r\nSANS-00003\r\n");
    const std::string truncated = file("truncated.txt", "48.5,7.5,A-00001\r\n48.6\r\n");
    const std::string halfway = file("halfway.txt", "39.5,7.5,A-00001\r\n48.6,B-00002\r\n");
    // Its name, of every kind of character a shell leaves alone, is written unquoted in the hint.
    const std::string zeroLon = file("Zone-A_z09.txt", "48.5,1,A-00001\r\n48.6,39.5,B-00002\r\n48.7,0,C-00003\r\n");
    const std::string latOne = file("lat_one.txt", "1,7.5,UN-00001\r\n48.6,7.6,DEUX-00002\r\n");  // odd, not 0
    const std::string binary = file("binary.txt", std::string_view("\x7F\x01\x00\tX\r\n", 7));
    const std::string big = file("big.txt", "");
    std::filesystem::resize_file(big, 8 * 1024 * 1024 + 1);  // a hole, not 8 MB written

    for (const auto& [args, exitCode, expected] : std::vector<std::tuple<Args, int, std::string>>{
        {{"regions"}, 0, "1\tAlsace\tAlsace\t10\n2\tAquitaine\tAquitaine\t-\n"},
        {{"regions"}, 0, "\n6\tBretagne\tBretagne\t11\n"},
        {{"regions"}, 0, "\n12\tÎle de France\tIledefrance\t2\n"},
        {{"regions"}, 0, "\n14\tLimousin\tLimousin\t0\n15\tLorraine\tLorraine\t-\n"},
        {{"towns", "12"}, 0, "PARIS-75001\nCLICHY-92110\n"}, {{"towns", "ILEDEFRANCE"}, 0, "PARIS-75001\n"},
        {{"towns", "ile de francé"}, 0, "PARIS-75001\n"}, {{"towns", "ÎLE DE FRANCE"}, 0, "PARIS-75001\n"},
        {{"towns", "23"}, 1, "région inconnue : « 23 ».\nLes régions sont numérotées de 1 à 22."},
        {{"towns", ""}, 1, "région inconnue : «  ».\nLa liste des 22"},
        {{"towns", "Bretange"}, 1, "« Bretange ».\nRégions proches :\n  6  Bretagne (Bretagne.txt)"},
        {{"towns", "\xC3LSACE"}, 1, "« \\xC3LSACE ».\nLa liste des 22"},  // a lone lead byte is no Ã
        {{"towns", "Centre"}, 1, "fichier de région introuvable : Centre.txt"},
        // Each town lies at its own distance from LOIN, which tells which was taken.
        {{"distance", "6", "écluse-00001", "LOIN-00003"}, 0, "3\n"},  // É folded too
        {{"distance", "6", "Dup-00002", "LOIN-00003"}, 0, "2\n"},
        {{"distance", "6", "DUP-00002", "LOIN-00003"}, 0, "1\n"},  // the exact item wins
        {{"distance", "6", "dup-00002", "LOIN-00003"}, 1, "plusieurs localités"},
        {{"distance", "6", "ECLUSE-00001", "LOIN-00003"}, 0, "3\n"}, {{"distance", "6", "Ecluse", "LOIN-00003"}, 0, "3\n"},
        {{"distance", "6", "SAINT Q", "LOIN-00003"}, 1, "  SAINT B-00009\n  SAINT C-00009\n"
                                                      "  SAINT D-00009\n  SAINT E-00009\n  SAINT F-00009\nLa liste"},
        {{"distance", "6", "XYZ", "LOIN-00003"}, 1, "dans Bretagne (Bretagne.txt) : « XYZ ».\nLa liste des localités : localyx-query towns Bretagne"},
        {{"distance", "6", "LOIN-00003", "loin-00003"}, 1, "choisie deux fois"},
        {{"--file", cp1252, "towns"}, 0, "ÉCLUSE-05\nLE BOURG, HAUT-06\n"},
        {{"--file", nameFirst, "towns"}, 0, "« PREMIER-00001 », ligne 2, avant la première localité"},
        {{"--file", missing, "towns"}, 0, "après la localité « AUSSI-00002 »"},
        {{"--file", truncated, "towns"}, 0, "(il manque la longitude et le nom)"},
        {{"--file", halfway, "towns"}, 0, "« 39.5 », ligne 1, avant la première localité, devrait être une latitude"},
        {{"--file", halfway, "distance", "A-00001", "B-00002"}, 1, "distance non calculable : une coordonnée de « B-00002 »"},
        {{"--file", file("number.txt", "48.5,7.5,12\r\n"), "towns"}, 0, "« 12 », ligne 1, avant la première localité, "
                                                                     "devrait être un nom de localité"},
        {{"--file", zeroLon, "towns"}, 0, "« 0 », ligne 3, après la localité « B-00002 », devrait être une longitude"},
        {{"--file", zeroLon, "distance", "X-1", "A-00001"}, 1, "localité inconnue dans " + zeroLon + " : « X-1 ».\nLa liste des localités : "
                                                                        "localyx-query --file " + zeroLon + " towns"},
        {{"--file", latOne, "distance", "UN-00001", "DEUX-00002"}, 0, "5292\n"},
        {{"--file", missing, "neighbours", "SANS-00003", "50"}, 0, "une coordonnée de « SANS-00003 » se lit comme 0"},
        // Control characters reach the terminal as escapes, never raw.
        {{"--file", binary, "towns"}, 0, "« \\x7F\\x01\\x00\\tX »"},
        {{"--file", big, "towns"}, 1, "fichier trop volumineux pour un fichier de région (plus de 8 Mo)"},
        {{"--file", root.path() / "absent.txt", "towns"}, 1, "fichier introuvable"},
        {{"--file", root.path(), "towns"}, 1, "impossible de lire"}}) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const ToolRun r = run(args);
        EXPECT_EQ(r.exitCode, exitCode) << r.err;
        EXPECT_THAT(r.out + r.err, HasSubstr(expected));
        if (exitCode != 0) { EXPECT_THAT(r.out, ::testing::IsEmpty()); }
    }
}

TEST_F(Query, CsvListsTheNeighboursNearestFirstForASpreadsheet) {
    const std::string region = file("region.txt", kQueryRegion);
    const std::string head = "\xEF\xBB\xBFLocalité;Code postal;Latitude;Longitude;Distance (km)\n";
    EXPECT_EQ(run({"--file", region, "neighbours", "--csv", "CENTREVILLE-67001", "6"}).out,
              head + "VOISIN;67013;48.501;7.502;0,2\n"
                     "SAINT-EXEMPLE;67006;48.49;7.49;1,3\n"
                     "\"LE BOURG; NORD\";67012;48.51;7.52;1,8\n"
                     "PRES;67002;48.52;7.47;3,1\n"
                     "ZED;67010;48.53;7.53;4,0\n"  // a tie keeps the file's order
                     "ABC;67011;48.53;7.53;4,0\n"
                     "MOYEN;67003;48.55;7.45;6,7\n");
    EXPECT_EQ(run({"--file", region, "--csv", "neighbours", "ZED-67010", "1"}).out, head);
    // No code: an empty column. Quotes doubled, as a spreadsheet reads them.
    const std::string odd = file("odd.txt", "48.5,7.5,C-00001\r\n48.51,7.51,SANSCODE\r\n48.52,7.52,DIT \"HAUT\"-00003\r\n");
    EXPECT_EQ(run({"--file", odd, "neighbours", "--csv", "C-00001", "9"}).out,
              head + "SANSCODE;;48.51;7.51;1,3\n\"DIT \"\"HAUT\"\"\";00003;48.52;7.52;2,7\n");
}

// Names are matched by characters, not bytes, whatever their alphabet.
TEST_F(Query, NamesMatchWithoutRegardToCaseOrAccents) {
    file("bin/Alsace.txt", "48.5,7.5,ÈVE-00001\r\n48.51,7.51,ŒUF-00002\r\n48.52,7.52,ÇA-00003\r\n"
                           "48.53,7.53,ÿY-00004\r\n48.54,7.54,\xF0\x9F\x99\x82X-00005\r\n48.6,7.6,LOIN-00006\r\n"
                           "48.7,7.7,Z-\xF0\x9F\x99\x82\r\n48.8,7.8,NOËL-00007\r\n48.9,7.9,\xE1\x83\x80-00008\r\n"
                           "48.4,7.4,CÔTE-00009\r\n");
    // Each name lies at its own distance from LOIN, which tells which was taken.
    for (const auto& [name, expected] : std::vector<std::pair<std::string, std::string>>{
             {"ève-00001", "13\n"}, {"œuf-00002", "11\n"}, {"çA-00003", "10\n"}, {"ŸY-00004", "9\n"},
             {"\xF0\x9F\x99\x82x-00005", "7\n"}, {"EVE", "13\n"}, {"EVA", "Vouliez-vous dire :\n  ÈVE-00001\n"},
             {"C\xC3", "Vouliez-vous dire :\n  ÇA-00003\n"}, {"À-00008", "localité inconnue"},  // U+10C0 is no À
             {"noel-0", "Vouliez-vous dire :\n  NOËL-00007\n"},
             {"oeuf", "11\n"}, {"cote 00009", "26\n"}, {"côtes", "Vouliez-vous dire :\n  CÔTE-00009\n"},
             {"\xF0\x9F\x99\x82X-9", "Vouliez-vous dire :\n  \xF0\x9F\x99\x82X-00005\n"}}) {
        const ToolRun r = run({"distance", "1", name, "LOIN-00006"});
        EXPECT_THAT(r.out + r.err, HasSubstr(expected)) << name;
    }
    EXPECT_THAT(run({"towns", "1"}).out, HasSubstr("\nZ-\xF0\x9F\x99\x82\n"));
    EXPECT_THAT(run({"--file", file("l'île.txt", "48.5,7.5,A-00001\r\n"), "distance", "A-00001", "B"}).err,
                HasSubstr("'\\''île.txt' towns"));
}

}  // namespace
}  // namespace localyx::testing
