#include <gtest/gtest.h>

#include <tuple>

#include "core/sheets/sheet.h"
#include "tests/query/tool_runner.h"

// The clients command over the real table and names file: messy rows as
// client files carry them, in the encodings Excel and older programs write.

namespace localyx::testing {
namespace {

namespace fs = std::filesystem;

// The cells of one line of our CSV output (";", cells may be in quotes).
std::vector<std::string> cellsOf(std::string_view line) {
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
            cells.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ';' && !quoted) {
            cells.emplace_back();
        } else {
            cells.back() += c;
        }
    }
    return cells;
}

// UTF-8 text (Latin-1 letters and œ only) to Windows-1252, or to UTF-16LE with its mark.
std::string windows1252(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
        } else if (utf8.substr(i, 2) == "œ") {
            out += '\x9C';
            ++i;
        } else if (utf8.substr(i, 3) == "’") {
            out += '\x92';
            i += 2;
        } else {
            out += static_cast<char>(((b & 0x1F) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
        }
    }
    return out;
}

std::string utf16le(std::string_view utf8) {
    std::string out = "\xFF\xFE";
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        char32_t c = b;
        std::size_t size = b < 0x80 ? 1 : b < 0xE0 ? 2 : 3;
        if (size == 2) c = ((b & 0x1F) << 6) | (utf8[i + 1] & 0x3F);
        if (size == 3) c = ((b & 0x0F) << 12) | ((utf8[i + 1] & 0x3F) << 6) | (utf8[i + 2] & 0x3F);
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
        i += size;
    }
    return out;
}

struct Row {
    std::string postcode, town, insee;
    std::string status, commune;
};

TEST(Clients, MessyRowsPlaced) {
    const std::vector<Row> rows = {
        // Excel's lost zeros, CEDEX, ST, S/, curly apostrophes, brackets.
        {"1000", "Bourg-en-Bresse", "", "trouvé", "Bourg-en-Bresse"},
        {"2100", "ST QUENTIN", "", "trouvé", "Saint-Quentin"},
        {"35000", "RENNES CEDEX 9", "", "trouvé", "Rennes"},
        {"35042", "Rennes Cedex", "", "trouvé", "Rennes"},  // a CEDEX code no commune has
        {"35400", "St-Malo", "", "trouvé", "Saint-Malo"},
        {"62200", "BOULOGNE S/ MER", "", "trouvé", "Boulogne-sur-Mer"},
        {"94240", "L’Haÿ les Roses", "", "trouvé", "L'Haÿ-les-Roses"},
        {"51290", "SAINT-REMY-EN-BOUZEMONT-SAINT-GE", "", "à vérifier", "Saint-Remy-en-Bouzemont-Saint-Genest-et-Isson"},
        {"27700", "ANDELYS (LES)", "", "trouvé", "Les Andelys"},
        {"", "", "1053", "trouvé", "Bourg-en-Bresse"},
        // Old names of merged communes, former codes.
        {"50100", "Cherbourg-Octeville", "", "trouvé", "Cherbourg-en-Cotentin"},
        {"", "", "35213", "trouvé", "Saint-Malo"},
        {"", "Rennes", "35213", "à vérifier", "Saint-Malo"},
        // Homonyms, settled by the postcode or not at all.
        {"", "Saint-Denis", "", "ambigu", ""},
        {"93200", "Saint-Denis", "", "trouvé", "Saint-Denis"},
        // Paris, Lyon, Marseille.
        {"75008", "PARIS", "", "trouvé", "Paris 8e Arrondissement"},
        {"75116", "Paris", "", "trouvé", "Paris 16e Arrondissement"},
        {"13001", "MARSEILLE CEDEX 01", "", "trouvé", "Marseille 1er Arrondissement"},
        {"13016", "Marseille", "", "trouvé", "Marseille 16e Arrondissement"},  // the last one
        {"", "Lyon 3e", "", "trouvé", "Lyon 3e Arrondissement"},
        {"", "Marseille 2 arrondissement", "", "trouvé", "Marseille 2e Arrondissement"},
        {"06000", "Nice 2", "", "à vérifier", "Nice"},  // no arrondissements there
        {"", "Paris", "", "trouvé", "Paris"},
        // Routing labels: Herrlisheim-près-Colmar's addresses read HERRLISHEIM;
        // Meyenheim's read REGUISHEIM, a neighbour that has the postcode too.
        {"68420", "HERRLISHEIM", "", "trouvé", "Herrlisheim-près-Colmar"},
        {"68890", "REGUISHEIM", "", "trouvé", "Réguisheim"},
        // Wrong or missing postcode, close spellings, nothing.
        {"35000", "Vitré", "", "à vérifier", "Vitré"},
        {"35000", "Renes", "", "à vérifier", "Rennes"},
        {"35400", "", "", "trouvé", "Saint-Malo"},
        {"22000", "Rennes", "", "introuvable", ""},
        {"", "Xyzzyville", "", "introuvable", ""},
        {"", "", "", "vide", ""},
    };
    std::string csv = "Société;CP;Ville;Code INSEE\r\n";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        csv += "Client " + std::to_string(i) + ";" + rows[i].postcode + ";" + rows[i].town + ";" + rows[i].insee + "\r\n";
    }
    std::string tsv = csv;
    std::replace(tsv.begin(), tsv.end(), ';', '\t');
    ScratchDir dir;
    // Each found by itself, and each told by one of the names people give it.
    using Case = std::tuple<std::string, std::string, std::string, std::string>;
    for (const auto& [name, bytes, encoding, told] : std::vector<Case>{
             {"clients.csv", csv, "texte UTF-8, séparateur « ; »", "UTF8"},
             {"clients_ansi.csv", windows1252(csv), "texte Windows-1252, séparateur « ; »", "latin1"},
             {"clients_unicode.txt", utf16le(tsv), "texte UTF-16LE, séparateur tabulation", "Unicode"},
         }) {
        const std::string path = dir.write(name, bytes).string();
        ASSERT_EQ(runTool({"clients", path, "--encoding", told}).out, runTool({"clients", path}).out) << told;
        const ToolRun run = runTool({"clients", path});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_NE(run.err.find(encoding), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("  Statuts : trouvé 22, à vérifier 5, ambigu 1, introuvable 2, vide 1.\n  Règles : code INSEE 3, "
                               "arrondissement 6, code postal et nom 11, nom dans le département 2, orthographe proche 3, "
                               "code postal seul 1, nom seul 2.\n"), std::string::npos) << run.err;
        const std::vector<std::string> lines = linesOf(run.out);
        ASSERT_EQ(lines.size(), rows.size() + 1) << name;
        EXPECT_EQ(lines[0], "\xEF\xBB\xBFSociété;CP;Ville;Code INSEE;Statut;Règle;Code INSEE;Commune;Code postal;"
                            "Latitude;Longitude;Corrections;Suggestions");
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const std::vector<std::string> cells = cellsOf(lines[i + 1]);
            ASSERT_EQ(cells.size(), 13u) << lines[i + 1];
            EXPECT_EQ(cells[2], rows[i].town) << name;
            EXPECT_EQ(cells[4] + " " + cells[7], rows[i].status + " " + rows[i].commune) << name << ": " << lines[i + 1];
        }
    }
}

// The reading options' own refusals are rows of the command table.
TEST(Clients, ReadingAndRefusals) {
    ScratchDir dir;
    const std::string files = LOCALYX_SHEET_FILES;
    const fs::path out = dir.path() / "sortie.csv";
    const fs::path noColumn = dir.write("sans.csv", "Nom;Adresse\nDupont;1 rue X\n");
    const fs::path plain = dir.write("brut.csv", "Dupont;35400;St Malo\n");
    for (const auto& [args, code, expected] : std::vector<std::tuple<Args, int, std::string>>{
             // A LibreOffice workbook: postcodes stored as numbers shown 00000.
             {{"clients", files + "/clients_libreoffice.xlsx"}, 0, "Boulangerie  Dupont;12 rue de l’Église;\"01000\";"
                                                                   "Bourg-en-Bresse;12500,5;trouvé;code postal et nom;"
                                                                   "\"01053\";Bourg-en-Bresse;\"01000\""},
             {{"clients", plain.string(), "--column", "cp=2", "--column", "ville=3"}, 0,
              "Colonne 3;Statut;Règle;Code INSEE;Commune;Code postal;Latitude;Longitude;Corrections;Suggestions\n"
              "Dupont;\"35400\";St Malo;trouvé"},
             {{"clients", noColumn.string()}, 1,
              "aucune colonne code postal, ville ou code INSEE ; en-têtes lus : « Nom », « Adresse »."},
             {{"clients", files + "/bomb.xlsx", "-o", out.string()}, 1, "une fois décompressée"},
             {{"clients", files + "/entities.xlsx", "-o", out.string()}, 1, "DOCTYPE ou ENTITY refusée"},
             {{"clients", dir.path().string(), "-o", out.string()}, 1, "c'est un dossier"},
         }) {
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.exitCode, code) << run.err;
        EXPECT_NE((code == 0 ? run.out : run.err).find(expected), std::string::npos) << run.out << run.err;
        EXPECT_FALSE(fs::exists(out));
    }
}

TEST(Clients, AroundAndTourThroughTheClients) {
    ScratchDir dir;
    const fs::path file = dir.write("c.csv", "Enseigne;CP;Ville;Contact\nBoulangerie;35400;St Malo;Anne\n"
                                             "Garage;35000;Rennes;Paul\nCafé;35000;Rennes;\nLoin;13001;Marseille;\n"
                                             "Perdu;99999;Nulle part;\n");
    EXPECT_EQ(runTool({"around", "35238", "80", "--clients", file.string()}).out,
              "Garage\tRennes\t0,0\nCafé\tRennes\t0,0\nBoulangerie\tSaint-Malo\t62,7\n");
    const ToolRun csv = runTool({"around", "35238", "1", "--clients", file.string(), "--format", "csv"});
    EXPECT_EQ(csv.out, "\xEF\xBB\xBF" "Enseigne;CP;Ville;Contact;Distance (km)\nGarage;\"35000\";Rennes;Paul;0,0\n"
                       "Café;\"35000\";Rennes;;0,0\n") << csv.err;
    const ToolRun gpx = runTool({"around", "35238", "1", "--clients", file.string(), "--format", "gpx"});
    EXPECT_NE(gpx.out.find("<name>Garage</name>\n    <desc>0,0 km ; CP : 35000 ; Ville : Rennes ; Contact : Paul</desc>"),
              std::string::npos) << gpx.out;
    // As .xlsx, its sheet named after the file, less the apostrophes Excel refuses at a name's ends.
    const fs::path quoted = dir.path() / "'clients d'avril'.csv";
    fs::copy_file(file, quoted);
    ASSERT_EQ(runTool({"clients", quoted.string(), "-o", (dir.path() / "c.xlsx").string()}).exitCode, 0);
    EXPECT_EQ(readSheetFile(dir.path() / "c.xlsx").sheetName, "clients d'avril");
    const ToolRun tour = runTool({"tour", "35238", "--clients", file.string(), "--no-return"});
    EXPECT_EQ(tour.out.substr(0, tour.out.find("Total")),
              "1\tRENNES-35200\tCafé\t0,0\t0,0\n2\tCafé\tGarage\t0,0\t0,0\n3\tGarage\tBoulangerie\t62,7\t62,7\n"
              "4\tBoulangerie\tLoin\t821,7\t884,4\n") << tour.err;
    EXPECT_EQ(runTool({"tour", "35238", "-", "--clients", file.string()}, queryExecutable().parent_path(),
                      "boulangerie\n").out.substr(0, 29),
              "1\tRENNES-35200\tBoulangerie\t62");
    EXPECT_NE(runTool({"tour", "35238", "-", "--clients", file.string()}, queryExecutable().parent_path(), "Perdu\n").err
                  .find("n'est pas placé : introuvable"),
              std::string::npos);
}

}  // namespace
}  // namespace localyx::testing
