#include <gtest/gtest.h>

#include "tests/query/tool_runner.h"

// Every command and option through the command-line parser and the command
// table: a handler called directly would not notice a wrong arity or option list.

namespace localyx::testing {
namespace {

struct Row {
    Args args;
    int exitCode;
    std::string firstLine;  // of standard output, or of the errors when there is none
    std::string input = {};
    bool prefixOnly = false;  // binary output: only its first bytes
};

TEST(CommandTable, EveryCommandAndOption) {
    ScratchDir root;
    // ILE-PERDUE lies in a region no catalogue knows: its name is shown as written.
    root.write("bin/localites.csv",
               "insee;nom;code_postal;departement;region;latitude;longitude;population\n"
               "50410;PONTORSON;50170;50;BasseNormandie;48.553;-1.508;4000\n"
               "35093;DOL-DE-BRETAGNE;35120;35;Bretagne;48.550;-1.750;5000\n"
               "99001;ILE-PERDUE;99001;99;Atlantide;48.560;-1.510;7\n");
    root.write("bin/Alsace.txt", "48.5,7.5,CENTRE-67001\r\n48.51,7.51,VOISIN-67002\r\n");
    const std::string clients = root.write("c.csv", "Société;CP;Ville\r\nAlpha;50170;PONTORSON\r\nBeta;35120;Dol de Bretagne\r\n");
    const std::string summary = "localyx-query : " + clients + " : 2 lignes lues (texte UTF-8, séparateur « ; »).";
    const std::string file = root.write("alsace.txt", "48.5,7.5,CENTRE-67001\r\n48.51,7.51,VOISIN-67002\r\n").string();
    const std::string usage = "Usage : localyx-query [--file FICHIER] COMMANDE [ARGUMENTS]";
    const std::string arity = "localyx-query : nombre d'arguments incorrect ; forme attendue : localyx-query ";
    const std::string notFor = "localyx-query : l'option ";
    const auto tooLarge = [](const std::string& size) {
        return "localyx-query : taille trop grande : « " + size + " » ; au plus 8000 pixels de côté.";
    };
    const auto badSize = [](const std::string& size) {
        return "localyx-query : taille invalide : « " + size + " » ; il faut LARGEURxHAUTEUR en pixels, par exemple 1600x1600.";
    };
    const std::string aroundForm = arity + "around VILLE KM [--format text|csv|xlsx|geojson|kml|gpx|svg|png|pdf] "
                                           "[--size LxH] [--population-min N] [--clients FICHIER]";
    const std::string clientsForm = arity + "clients FICHIER [-o SORTIE] [--sheet NOM|N] [--encoding utf-8|windows-1252|"
                                            "utf-16] [--separator ';'|','|tab|'|'] [--column RÔLE=EN-TÊTE|NUMÉRO...]";
    const auto radius = [](const std::string& km) {
        return "localyx-query : rayon invalide : « " + km + " » ; il faut un nombre entier de 1 à 9999 km.";
    };
    const std::string tour1 = "1\tPONTORSON-50170\tDOL-DE-BRETAGNE-35120\t17,8\t17,8";
    const std::string map = "http://www.viamichelin.fr/viamichelin/fra/dyn/controller/";
    const std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    const std::string csvAround = "\xEF\xBB\xBFLocalité;Code postal;Code INSEE;Département;Région;Population;"
                                  "Latitude;Longitude;Distance (km);Nom officiel";
    for (const Row& row : std::vector<Row>{
             {{"--help"}, 0, usage}, {{"-h"}, 0, usage}, {{"towns", "--help", "--bogus"}, 0, usage},
             {{"--version"}, 0, std::string("localyx-query ") + LOCALYX_VERSION},
             {{}, 2, "localyx-query : commande manquante."},
             {{"foo"}, 2, "localyx-query : commande inconnue : « foo »."},
             {{"--bogus", "regions"}, 2, "localyx-query : option inconnue : « --bogus » (après --, un argument peut "
                                         "commencer par un tiret)."},
             {{"--csv", "--csv", "neighbours"}, 2, notFor + "--csv ne peut être donnée qu'une fois."},
             {{"--no-return=1", "tour", "50410"}, 2, notFor + "--no-return ne prend pas de valeur."},
             {{"--file"}, 2, notFor + "--file attend une valeur."},
             {{"around", "50410", "5", "--format="}, 2, notFor + "--format attend une valeur."},
             {{"--csv", "towns", "1"}, 2, notFor + "--csv ne s'applique pas à la commande towns."},
             {{"--file", file, "regions"}, 2, notFor + "--file ne s'applique pas à la commande regions."},
             {{"map-url", "--file", file, "CENTRE-67001"}, 2, notFor + "--file ne s'applique pas à la commande map-url."},
             {{"around", "50410", "5", "--csv"}, 2, notFor + "--csv ne s'applique pas à la commande around."},
             {{"around", "50410", "5", "--no-return"}, 2, notFor + "--no-return ne s'applique pas à la commande around."},
             {{"tour", "50410", "--population-min", "1"}, 2, notFor + "--population-min ne s'applique pas à la commande tour."},
             {{"neighbours", "--itineraries", "1", "CENTRE-67001", "5"}, 2,
              notFor + "--itineraries ne s'applique pas à la commande neighbours."},
             // Each command with the arguments it takes, then one fewer or one more.
             {{"regions"}, 0, "1\tAlsace\tAlsace\t2"}, {{"regions", "1"}, 2, arity + "regions"},
             {{"towns", "1"}, 0, "CENTRE-67001"}, {{"--file", file, "towns"}, 0, "CENTRE-67001"},
             {{"towns"}, 2, arity + "towns RÉGION"}, {{"towns", "1", "x"}, 2, arity + "towns RÉGION"},
             {{"--file", "/proc/self/mem", "towns"}, 1, "localyx-query : impossible de lire le fichier /proc/self/mem."},  // EIO
             {{"--file", file, "towns", "1"}, 2, arity + "--file FICHIER towns"},
             {{"neighbours", "1", "CENTRE-67001", "5"}, 0, "VOISIN-67002"},
             {{"--file", file, "neighbours", "CENTRE-67001", "5"}, 0, "VOISIN-67002"},
             {{"neighbours", "--csv", "1", "CENTRE-67001", "5"}, 0,
              "\xEF\xBB\xBFLocalité;Code postal;Latitude;Longitude;Distance (km)"},
             {{"neighbours", "1", "CENTRE-67001"}, 2, arity + "neighbours [--csv] RÉGION VILLE KM"},
             {{"neighbours", "1", "CENTRE-67001", "5", "6"}, 2, arity + "neighbours [--csv] RÉGION VILLE KM"},
             {{"--file", file, "neighbours", "CENTRE-67001"}, 2, arity + "--file FICHIER neighbours [--csv] VILLE KM"},
             {{"neighbours", "1", "CENTRE-67001", "5km"}, 2, radius("5km")}, {{"neighbours", "1", "C", "0"}, 2, radius("0")},
             {{"neighbours", "1", "C", "10000"}, 2, radius("10000")}, {{"neighbours", "1", "C", " 5"}, 2, radius(" 5")},
             {{"neighbours", "1", "C", "99999999999999999999"}, 2, radius("99999999999999999999")},
             {{"distance", "1", "CENTRE-67001", "VOISIN-67002"}, 0, "1"},
             {{"--file", file, "distance", "CENTRE-67001", "VOISIN-67002"}, 0, "1"},
             {{"distance", "1", "CENTRE-67001"}, 2, arity + "distance RÉGION VILLE1 VILLE2"},
             {{"distance", "1", "A", "B", "C"}, 2, arity + "distance RÉGION VILLE1 VILLE2"},
             {{"map-url", "CENTRE-67001"}, 0, map + "mapPerformPage?expressMap=false&act=&pim=true&strAddress=&strCP=&strLocation="
                                                "CENTRE-67001%20&%20%20&strCountry=1424&x=33&y=11"},
             {{"map-url", "--", "-X"}, 0, map + "mapPerformPage?expressMap=false&act=&pim=true&strAddress=&strCP=&strLocation="
                                         "-X%20&%20%20&strCountry=1424&x=33&y=11"},
             {{"map-url"}, 2, arity + "map-url VILLE"}, {{"map-url", "A-1", "B-2"}, 2, arity + "map-url VILLE"},
             {{"itinerary-url", "A-00001", "B-00002"}, 0, map + "ItiWGPerformPage?ie=utf-8&reinit=1&strStartCityCountry=1424"
                                                        "&strStartAddress=&strStartMerged=00001+A&strDestCityCountry=1424"
                                                        "&strDestAddress=&strDestMerged=00002+B &image2.x=0&image2.y=0#"},
             {{"itinerary-url", "A-00001"}, 2, arity + "itinerary-url VILLE1 VILLE2"},
             {{"itinerary-url", "A", "B", "C"}, 2, arity + "itinerary-url VILLE1 VILLE2"},
             {{"around", "50410", "1"}, 0, "ILE-PERDUE-99001\t0,8\tAtlantide\t7"},
             {{"around", "50410", "1", "--population-min", "0"}, 0, "ILE-PERDUE-99001\t0,8\tAtlantide\t7"},
             {{"around", "50410", "20", "--population-min", "5000"}, 0, "DOL-DE-BRETAGNE-35120\t17,8\tBretagne\t5000"},
             {{"around", "50410", "1", "--format", "text"}, 0, "ILE-PERDUE-99001\t0,8\tAtlantide\t7"},
             {{"around", "50410", "1", "--format=csv"}, 0, csvAround},
             {{"around", "50410", "1", "--format", "geojson"}, 0, "{"},
             {{"around", "50410", "1", "--format", "kml"}, 0, xml},
             {{"around", "50410", "1", "--format", "gpx"}, 0, xml},
             {{"around", "50410", "1", "--format", "svg", "--size", "80x60"}, 0, xml},
             {{"around", "50410", "1", "--format", "png", "--size", "80x60"}, 0, "\x89PNG\r"},
             {{"around", "50410", "1", "--format", "jpg"}, 2, "localyx-query : format inconnu : « jpg » ; formats possibles : "
                                                            "text, csv, xlsx, geojson, kml, gpx, svg, png, pdf."},
             {{"around", "50410", "1", "--size", "80x60"}, 2, notFor + "--size ne vaut que pour les formats svg, png et pdf."},
             {{"tour", "50410", "35093", "--format", "pdf", "--size", "80x60"}, 2, notFor + "--size ne s'applique pas au format pdf (page A4)."},
             {{"around", "50410", "1", "--population-min", "-1"}, 2, "localyx-query : population minimale invalide : « -1 » ; "
                                                                      "il faut un nombre entier positif."},
             {{"around", "50410", "1", "--format", "png", "--size", "8001x100"}, 2, tooLarge("8001x100")},
             {{"around", "50410", "1", "--format", "png", "--size", "100x99999999999"}, 2, tooLarge("100x99999999999")},
             {{"around", "50410", "1", "--format", "svg", "--size", "0x100"}, 2, badSize("0x100")},
             {{"around", "50410", "1", "--format", "png", "--size", "100"}, 2, badSize("100")},
             {{"around", "50410", "1", "--format", "png", "--size", "+10x10"}, 2, badSize("+10x10")},
             {{"around", "50410", "1", "--format", "pdf", "--size", "80x60"}, 2,
              notFor + "--size ne s'applique pas au format pdf (page A4)."},
             {{"around", "50410"}, 2, aroundForm},
             {{"around", "50410", "1", "2"}, 2, aroundForm},
             {{"tour", "50410", "35093", "--no-return"}, 0, tour1},
             {{"tour", "50410"}, 0, tour1, "35093\n"},
             {{"tour", "50410", "35093", "--itineraries"}, 0, tour1},
             {{"tour", "50410", "35093", "--format", "csv"}, 0, "\xEF\xBB\xBF\xC3\x89tape;Localité;Code postal;Latitude;"
                                                             "Longitude;Distance depuis l'étape précédente (km);"
                                                             "Distance cumulée (km);Nom officiel"},
             {{"tour", "50410", "35093", "--format", "kml"}, 0, xml},
             {{"tour", "50410", "35093", "--format", "gpx"}, 0, xml},
             {{"tour", "50410", "35093", "--format", "svg", "--size", "80x60"}, 0, xml},
             {{"tour", "50410", "35093", "--format", "pdf"}, 0, "%PDF-1.5"},
             {{"tour", "50410", "35093", "--size", "80x60"}, 2, notFor + "--size ne vaut que pour les formats svg, png et pdf."},
             {{"tour", "50410", "35093", "--format", "geojson"}, 2, "localyx-query : format inconnu : « geojson » ; formats "
                                                                   "possibles : text, csv, xlsx, kml, gpx, svg, png, pdf."},
             {{"around", "50410", "1", "--format", "xlsx"}, 0, "PK\x03\x04", "", true},
             {{"tour", "50410", "35093", "--format", "xlsx"}, 0, "PK\x03\x04", "", true},
             {{"around", "50410", "20", "--clients", clients}, 0, "Alpha\tPONTORSON\t0,0"},
             {{"around", "50410", "20", "--clients", clients, "--format", "xlsx"}, 0, "PK\x03\x04", "", true},
             {{"tour", "50410", "--clients", clients}, 0, "1\tPONTORSON-50170\tBeta\t17,8\t17,8"},
             {{"tour", "50410", "-", "--clients", clients}, 0, "1\tPONTORSON-50170\tBeta\t17,8\t17,8", "Beta\n"},
             {{"tour", "50410", "35093", "--clients", clients}, 2, summary},
             {{"clients", clients}, 0, "\xEF\xBB\xBFSociété;CP;Ville;Statut;Règle;Code INSEE;Commune;Code postal;Latitude;"
                                       "Longitude;Corrections;Suggestions"},
             {{"clients", clients, "--sheet", "2", "--separator", ";", "--column", "ville=Ville", "--encoding", "utf-8"}, 0,
              "\xEF\xBB\xBFSociété;CP;Ville;Statut;Règle;Code INSEE;Commune;Code postal;Latitude;Longitude;Corrections;"
              "Suggestions"},
             {{"clients", clients, "-o", root.path() / "o.csv"}, 0, summary},
             {{"clients", clients, "--output=" + (root.path() / "o.xlsx").string()}, 0,
              summary},
             {{"clients", clients, "--encoding", "latin9"}, 2, "localyx-query : codage inconnu : « latin9 » ; codages "
                                                              "possibles : utf-8, windows-1252, utf-16."},
             {{"clients", clients, "--separator", "x"}, 2, "localyx-query : séparateur inconnu : « x » ; séparateurs "
                                                          "possibles : ';', ',', tab, '|'."},
             {{"clients", clients, "--column", "x"}, 2, "localyx-query : --column attend RÔLE=EN-TÊTE ou RÔLE=NUMÉRO, RÔLE "
                                                       "étant code-postal, ville, insee ou nom : « x »."},
             {{"clients", clients, "--format", "csv"}, 2, notFor + "--format ne s'applique pas à la commande clients."},
             {{"towns", "1", "-o", "x"}, 2, notFor + "--output ne s'applique pas à la commande towns."},
             {{"around", "50410", "1", "--sheet", "1"}, 2, notFor + "--sheet va avec --clients FICHIER."},
             {{"clients"}, 2, clientsForm}, {{"clients", clients, "x"}, 2, clientsForm},
             {{"tour"}, 2, arity + "tour DÉPART [ÉTAPE...] [--no-return] [--format text|csv|xlsx|kml|gpx|svg|png|pdf] "
                                   "[--size LxH] [--itineraries] [--clients FICHIER]"}}) {
        SCOPED_TRACE(::testing::PrintToString(row.args));
        const ToolRun r = runTool(row.args, root.path() / "bin", row.input);
        EXPECT_EQ(r.exitCode, row.exitCode);
        const std::vector<std::string> lines = linesOf(r.out.empty() ? r.err : r.out);
        const std::string first = lines.empty() ? "" : lines.front();
        EXPECT_EQ(row.prefixOnly ? first.substr(0, row.firstLine.size()) : first, row.firstLine);
        if (row.exitCode != 0) { EXPECT_EQ(r.out, ""); }
    }
}

}  // namespace
}  // namespace localyx::testing
