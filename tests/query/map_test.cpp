#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <set>

#include "tests/query/tool_runner.h"

// The maps and the route sheet as real readers see them: rsvg-convert and an
// XML parser for SVG, poppler for PDF, zbar for the QR codes.

namespace localyx::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

// Twelve stops in a row north of Pontorson, and a name no XML may hold as it is.
std::string table() {
    std::string text =
        "insee;nom;code_postal;departement;region;latitude;longitude;population\n"
        "50410;PONTORSON;50170;50;BasseNormandie;48.553;-1.508;4000\n"
        "35093;DOL-DE-BRETAGNE;35120;35;Bretagne;48.550;-1.750;5000\n"
        "35999;BIZARRE\xEF\xBF\xBE\xEF\xBF\xBF;35999;35;Bretagne;48.56;-1.52;1\n"
        "50999;ISOLÉE;50999;50;BasseNormandie;49.2;-1.0;10\n";
    for (int i = 1; i <= 12; ++i) {
        text += "501" + std::to_string(10 + i) + ";ÉTAPE " + std::to_string(i) + ";501" + std::to_string(10 + i) +
                ";50;BasseNormandie;" + std::to_string(48.58 + 0.01 * i) + ";" + std::to_string(-1.50 + 0.013 * (i % 3)) +
                ";" + std::to_string(100 * i) + "\n";
    }
    return text;
}

struct Shell {
    int status;
    std::string out;
};

class Maps : public ::testing::Test {
protected:
    Maps() {
        root.write("bin/localites.csv", table());
        fs::copy_file(LOCALYX_BORDERS, root.path() / "bin" / "contours.txt");
        fs::copy_file(queryExecutable(), root.path() / "bin" / "localyx-query");
    }
    // A shell command in the scratch folder: its exit code and standard output.
    Shell shell(const std::string& command) const {
        const std::string line = "cd '" + root.path().string() + "' && " + command + " 2>/dev/null";
        FILE* pipe = ::popen(line.c_str(), "r");
        std::string out;
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
        const int status = ::pclose(pipe);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
    }
    static bool have(const char* program) {
        return std::system(("command -v " + std::string(program) + " > /dev/null").c_str()) == 0;
    }
    ScratchDir root;
    const std::string stops = "50111 50112 50113 50114 50115 50116 50117 50118 50119 50120 50121 50122";
};

TEST_F(Maps, EveryFormatReadsBack) {
    for (const char* program : {"rsvg-convert", "python3", "pdfinfo", "pdftotext"}) {
        if (!have(program)) GTEST_SKIP() << program << " is not installed";
    }
    const std::string q = "bin/localyx-query ";
    const std::string xml = "python3 -c 'import sys, xml.dom.minidom as m; m.parse(sys.argv[1])' ";
    // The SVG renders and parses; the PNG has the size asked; the PDF is one A4 page.
    EXPECT_EQ(shell(q + "around 50410 20 --format svg --size 300x200 > a.svg && " + xml + "a.svg && "
                    "rsvg-convert a.svg | file -b - | cut -d, -f2").out, " 300 x 200\n");
    EXPECT_EQ(shell(q + "tour 50410 " + stops + " --format svg > t.svg && rsvg-convert t.svg > r.png && " + xml + "t.svg")
                  .status, 0);
    EXPECT_EQ(shell(q + "around 50410 20 --format png --size 300x200 | file -").out,
              "/dev/stdin: PNG image data, 300 x 200, 8-bit/color RGB, non-interlaced\n");
    EXPECT_EQ(shell(q + "tour 50410 35093 --format png | file -b - | cut -d, -f2").out, " 1600 x 1600\n");
    const Shell around = shell(q + "around 50410 10 --format pdf > a.pdf && pdfinfo a.pdf && pdftotext a.pdf -");
    EXPECT_THAT(around.out, HasSubstr("Pages:           1\n"));
    EXPECT_THAT(around.out, HasSubstr("Page size:       595.276 x 841.89 pts (A4)"));
    EXPECT_THAT(around.out, HasSubstr("Localités à 10,0 km de PONTORSON-50170"));
    EXPECT_THAT(around.out, HasSubstr("\n2 km\n"));  // the scale bar, a round length
    EXPECT_THAT(around.out, HasSubstr("Contours : IGN – Admin Express COG 2018 (Licence Ouverte) · Communes : INSEE COG 2026"));
    // Nothing around: the centre still drawn, and said.
    EXPECT_THAT(shell(q + "around 50999 1 --format pdf | pdftotext - -").out,
                HasSubstr("Localités à 1,0 km de ISOLÉE-50999\naucune localité"));

    // The route sheet: header, table header on every page, rows whole, page x / y.
    const Shell sheet = shell(q + "tour 50410 " + stops + " --format pdf > t.pdf && pdfinfo t.pdf && pdftotext -layout t.pdf -");
    const std::smatch pages = [&] {
        std::smatch m;
        std::regex_search(sheet.out, m, std::regex("Pages: +([0-9]+)"));
        return m;
    }();
    ASSERT_FALSE(pages.empty()) << sheet.out;
    const int count = std::stoi(pages[1]);
    EXPECT_GE(count, 2);
    EXPECT_TRUE(std::regex_search(sheet.out, std::regex("Feuille de route +[0-9]+(er)? [^ ]+ 20[0-9]{2}\n"))) << "dated";
    EXPECT_THAT(sheet.out, HasSubstr("Départ : PONTORSON-50170 · 12 étapes · "));
    EXPECT_THAT(sheet.out, HasSubstr(" km à vol d'oiseau"));
    const std::regex header("N° +Localité +CP +Population +Étape \\(km\\) +Cumul \\(km\\) +☐");
    EXPECT_EQ(std::distance(std::sregex_iterator(sheet.out.begin(), sheet.out.end(), header), std::sregex_iterator()),
              count);
    for (int p = 1; p <= count; ++p) {
        EXPECT_THAT(sheet.out, HasSubstr("page " + std::to_string(p) + " / " + std::to_string(count)));
    }
    for (int i = 1; i <= 12; ++i) EXPECT_THAT(sheet.out, HasSubstr("ÉTAPE " + std::to_string(i) + " "));
    EXPECT_THAT(sheet.out, HasSubstr("1 200"));  // thousands apart, as in French
}

// Clients drawn by their names: two in one town share a marker, « +1 »; one
// without a name goes by its commune; the route sheet names each with its commune.
TEST_F(Maps, ClientsAreDrawnByName) {
    for (const char* program : {"python3", "pdftotext"}) {
        if (!have(program)) GTEST_SKIP() << program << " is not installed";
    }
    root.write("c.csv", "Nom;CP;Ville\nBoulangerie Durand;50170;Pontorson\nGarage Martin;50170;Pontorson\n"
                        ";35120;Dol-de-Bretagne\nCafé du Port;50111;Étape 1\n");
    const std::string q = "bin/localyx-query ";
    const std::string xml = "python3 -c 'import sys, xml.dom.minidom as m; m.parse(sys.argv[1])' ";
    EXPECT_EQ(shell(q + "around 50410 20 --clients c.csv --format svg > c.svg && " + xml + "c.svg").status, 0);
    const std::string around = shell(q + "around 50410 20 --clients c.csv --format pdf | pdftotext - -").out;
    for (const char* text : {"Clients à 20,0 km de PONTORSON\n4 clients", "Boulangerie Durand +1", "DOL-DE-BRETAGNE",
                             "Café du Port"}) {
        EXPECT_THAT(around, HasSubstr(text));
    }
    EXPECT_THAT(shell(q + "around 50999 1 --clients c.csv --format pdf | pdftotext - -").out,
                HasSubstr("Clients à 1,0 km de ISOLÉE\naucun client"));
    const std::string sheet = shell(q + "tour 50410 --clients c.csv --format pdf | pdftotext -layout - -").out;
    for (const char* row : {"Boulangerie Durand +50170 .*\n +PONTORSON\n", "Garage Martin +50170 .*\n +PONTORSON\n",
                            "ligne 4 +35120 .*\n +DOL-DE-BRETAGNE\n", "Café du Port +50111 .*\n +ÉTAPE 1\n"}) {
        EXPECT_TRUE(std::regex_search(sheet, std::regex(row))) << row << sheet;
    }
}

// Each QR code, and each link, is the leg's itinerary as the GPX file links it.
TEST_F(Maps, QrCodesAndLinksGiveTheItineraries) {
    for (const char* program : {"pdftoppm", "zbarimg", "pdftotext"}) {
        if (!have(program)) GTEST_SKIP() << program << " is not installed";
    }
    const std::string q = "bin/localyx-query ";
    const std::string gpx = shell(q + "tour 50410 " + stops + " --format gpx --itineraries").out;
    std::set<std::string> expected;
    const std::regex href("href=\"([^\"]+)\"");
    for (auto it = std::sregex_iterator(gpx.begin(), gpx.end(), href); it != std::sregex_iterator(); ++it) {
        std::string link = (*it)[1];
        for (std::size_t at; (at = link.find("&amp;")) != std::string::npos;) link.replace(at, 5, "&");
        expected.insert(link);
    }
    ASSERT_EQ(expected.size(), 13u);  // twelve stops and the way back
    ASSERT_EQ(shell(q + "tour 50410 " + stops + " --format pdf > t.pdf && pdftoppm -r 150 -png t.pdf page").status, 0);
    const std::string decoded = shell("zbarimg -q --raw page-*.png").out;
    std::set<std::string> read;
    std::istringstream lines(decoded);
    for (std::string line; std::getline(lines, line);) read.insert(line);
    EXPECT_EQ(read, expected);
    // The links: one URI action per leg in the PDF.
    const std::string links = shell("python3 -c \"import re; d = open('t.pdf', 'rb').read(); "
                                    "print(len(set(re.findall(rb'/URI \\\\((http[^)]*)\\\\)', d))))\"").out;
    EXPECT_EQ(links, "13\n");
    EXPECT_EQ(shell("pdftotext t.pdf - | grep -c '^http'").out, "13\n");  // and printed, to be typed
}

// A name holding U+FFFE or U+FFFF: KML, GPX and SVG still parse, the name read as U+FFFD.
TEST_F(Maps, NamesXmlForbidsAreReplaced) {
    if (!have("python3")) GTEST_SKIP() << "python3 is not installed";
    const std::string check =
        "python3 -c 'import sys, xml.dom.minidom as m; d = m.parse(sys.argv[1]); "
        "print(\"\\ufffd\\ufffd\" in d.toxml(), \"\\ufffe\" in d.toxml())' ";
    for (const char* format : {"kml", "gpx"}) {
        SCOPED_TRACE(format);
        EXPECT_EQ(shell(std::string("bin/localyx-query around 50410 3 --format ") + format + " > x.xml && " + check + "x.xml")
                      .out, "True False\n");
    }
    EXPECT_EQ(shell("bin/localyx-query tour 50410 35999 --format kml > x.xml && " + check + "x.xml").out, "True False\n");
    EXPECT_EQ(shell("bin/localyx-query around 50410 3 --format svg > x.svg && " + check + "x.svg").status, 0);
}

// The refusals of sizes and formats are in the command table.
TEST_F(Maps, WithoutBordersOrIntoATerminal) {
    // Without its borders a map is still drawn, with a warning.
    fs::remove(root.path() / "bin" / "contours.txt");
    const ToolRun bare = runTool({"around", "50410", "5", "--format", "svg"}, root.path() / "bin");
    EXPECT_EQ(bare.exitCode, 0);
    EXPECT_THAT(bare.err, HasSubstr("contours.txt : fichier introuvable ; carte sans contours."));
    // A terminal gets no PNG nor PDF; SVG is text and goes.
    if (!have("script")) GTEST_SKIP() << "script is not installed";
    const Shell png = shell("script -qec 'bin/localyx-query tour 50410 35093 --format pdf' /dev/null");
    EXPECT_EQ(png.status, 2);
    EXPECT_THAT(png.out, HasSubstr("le format pdf ne s'écrit pas dans un terminal : redirigez la sortie vers un "
                                   "fichier (> carte.pdf) ou un tube."));
    EXPECT_EQ(shell("script -qec 'bin/localyx-query around 50410 5 --format svg' /dev/null").status, 0);
}

}  // namespace
}  // namespace localyx::testing
