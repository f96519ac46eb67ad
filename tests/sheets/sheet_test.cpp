#include <gtest/gtest.h>
#include <sys/stat.h>

#include <tuple>

#include "core/sheets/columns.h"
#include "core/sheets/sheet.h"
#include "tests/scratch_dir.h"

namespace localyx::testing {
namespace {

// Rows as one line: cells joined by "|", rows by "/".
std::string joined(const Sheet& sheet) {
    std::string out;
    for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
        if (r) out += '/';
        for (std::size_t c = 0; c < sheet.rows[r].size(); ++c) out += (c ? "|" : "") + sheet.rows[r][c];
    }
    return out;
}

std::string utf16le(std::string_view ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) {
        if (c == '\x01') {  // stands for "é"
            out += "\xE9";
            out += '\0';
            continue;
        }
        out += c;
        out += '\0';
    }
    return out;
}

TEST(DelimitedText, EncodingsSeparatorsQuotes) {
    for (const auto& [bytes, encoding, separator, rows] :
         std::vector<std::tuple<std::string, std::string, char, std::string>>{
             {"Nom;CP;Ville\r\nA;01000;Bourg\r\n", "UTF-8", ';', "Nom|CP|Ville/A|01000|Bourg"},
             {"\xEF\xBB\xBFNom,CP\nA,1000\n\n", "UTF-8", ',', "Nom|CP/A|1000"},
             // Excel's "Texte Unicode": UTF-16LE with tabs.
             {utf16le("Nom\tVille\r\nCaf\x01\tS\x01" "es\r\n"), "UTF-16LE", '\t', "Nom|Ville/Café|Sées"},
             {"Soci\xE9t\xE9;Ville\rL'\x9C" "uf;S\xE9" "es\r", "Windows-1252", ';', "Société|Ville/L'œuf|Sées"},
             // Commas inside every address do not outvote the steady semicolon.
             {"Nom;Adresse;CP\nA;1, rue X;35000\nB;2, rue Y, bis;35000\n", "UTF-8", ';',
              "Nom|Adresse|CP/A|1, rue X|35000/B|2, rue Y, bis|35000"},
             {"a|b\nc|d\n", "UTF-8", '|', "a|b/c|d"},
             // Quoted separators, doubled quotes, a line end in a cell; a quote inside a cell is kept.
             {"Nom,Note\n\"Dupont; fils\",\"dit \"\"le grand\"\"\nsuite\"\n5\" pouces,x\n", "UTF-8", ',',
              "Nom|Note/Dupont; fils|dit \"le grand\"\nsuite/5\" pouces|x"},
             {"seule colonne\nvaleur", "UTF-8", ';', "seule colonne/valeur"},
             {"a;b\n;\n\nc;d", "UTF-8", ';', "a|b/|//c|d"},
         }) {
        const Sheet sheet = readDelimitedText(bytes);
        EXPECT_TRUE(sheet.ok()) << sheet.error;
        EXPECT_EQ(sheet.encoding, encoding) << rows;
        EXPECT_EQ(sheet.separator, separator) << rows;
        EXPECT_EQ(joined(sheet), rows);
    }
    SheetOptions forced;
    forced.separator = ',';
    forced.encoding = "windows-1252";
    EXPECT_EQ(joined(readDelimitedText("a;b,c\xE9", forced)), "a;b|cé");
}

TEST(DelimitedText, Refusals) {
    SheetOptions utf8;
    utf8.encoding = "utf-8";
    for (const auto& [bytes, options, message] : std::vector<std::tuple<std::string, SheetOptions, std::string>>{
             {std::string("Nom;CP\nA\0B;1\n", 13), {}, "octet nul"},
             {"Nom;CP\n\"A;1\nB;2\n", {}, "guillemet ouvert ligne 2 et jamais fermé"},
             {"\"" + std::string(40'000, 'x'), {}, "guillemet ouvert ligne 1"},
             {"a;" + std::string(40'000, 'x') + "\n", {}, "ligne 1 : cellule de plus de 32767"},
             {std::string(kMaxSheetCells + 1, ';'), {}, "plus de 2000000 cellules"},
             {"Soci\xE9t\xE9", utf8, "pas en UTF-8"},
         }) {
        const Sheet sheet = readDelimitedText(bytes, options);
        EXPECT_NE(sheet.error.find(message), std::string::npos) << sheet.error;
        EXPECT_TRUE(sheet.rows.empty());
    }
}

// Written by LibreOffice from clients_libreoffice.fods: the postcode column
// holds numbers shown as 00000, a row repeated, an empty row, a second sheet.
TEST(OfficeFiles, LibreOfficeFixtures) {
    const std::string expected =
        "Raison sociale|Adresse|CP|Ville|CA 2023/"
        "Boulangerie  Dupont|12 rue de l’Église|01000|Bourg-en-Bresse|12500,5/"
        "Garage Martin||35000|RENNES CEDEX|300/Garage Martin||35000|RENNES CEDEX|300//"
        "Café « Le Zinc »; bar|1 place de la Mairie|02100|ST QUENTIN";
    for (const std::string name : {"clients_libreoffice.xlsx", "clients_libreoffice.ods"}) {
        const Sheet sheet = readSheetFile(std::string(LOCALYX_SHEET_FILES) + "/" + name);
        ASSERT_TRUE(sheet.ok()) << name << ": " << sheet.error;
        EXPECT_EQ(sheet.sheetName, "Clients 2024");
        EXPECT_EQ(joined(sheet), expected) << name;
        for (const std::string choice : {"Notes", "2"}) {
            SheetOptions options;
            options.sheet = choice;
            const Sheet notes = readSheetFile(std::string(LOCALYX_SHEET_FILES) + "/" + name, options);
            EXPECT_EQ(notes.sheetName, "Notes");
            EXPECT_EQ(joined(notes), "rien");
        }
        for (const std::string absent : {"3", "Absente"}) {
            SheetOptions missing;
            missing.sheet = absent;
            EXPECT_EQ(readSheetFile(std::string(LOCALYX_SHEET_FILES) + "/" + name, missing).error,
                      "feuille « " + absent + " » introuvable ; le classeur a : « Clients 2024 », « Notes ».");
        }
    }
    // Cells placed by their references alone, columns Z and AZ.
    const Sheet far = readSheetFile(std::string(LOCALYX_SHEET_FILES) + "/far_columns.xlsx");
    ASSERT_TRUE(far.ok() && far.rows.size() == 1) << far.error;
    EXPECT_EQ(far.rows[0].size(), 52u);
    EXPECT_EQ(far.rows[0][25] + far.rows[0][51], "ZAZ");
}

TEST(OfficeFiles, HostileFilesAreRefused) {
    ScratchDir dir;
    const std::string files = LOCALYX_SHEET_FILES;
    ASSERT_EQ(::mkfifo((dir.path() / "fifo.csv").c_str(), 0600), 0);
    const std::string big = std::string(kMaxSheetFileBytes + 1, 'a');
    for (const auto& [path, message] : std::vector<std::pair<std::filesystem::path, std::string>>{
             {files + "/bomb.xlsx", "de plus de 32 Mo une fois décompressée"},
             {files + "/entities.xlsx", "déclaration DOCTYPE ou ENTITY refusée"},
             {files + "/many_entries.ods", "archive de plus de 10000 fichiers"},
             {dir.write("big.csv", big), "fichier de plus de 32 Mo"},
             {dir.write("broken.xlsx", "PK\x03\x04 rien"), "archive .xlsx ou .ods illisible"},
             {dir.path() / "fifo.csv", "pas un fichier ordinaire"},
             {dir.path(), "c'est un dossier"},
             {dir.path() / "absent.csv", "fichier introuvable"},
         }) {
        const Sheet sheet = readSheetFile(path);
        EXPECT_NE(sheet.error.find(message), std::string::npos) << path << ": " << sheet.error;
    }
}

TEST(Columns, HeadersChoicesAndRefusals) {
    const auto found = [](const std::vector<std::string>& header, const std::vector<std::string>& choices) {
        std::vector<ColumnChoice> parsed;
        for (const std::string& c : choices) parsed.push_back(*parseColumnChoice(c));
        const ColumnLayout layout = findColumns(header, parsed);
        if (!layout.error.empty()) return layout.error;
        std::string out = layout.headerRow ? "en-tête" : "données";
        for (std::size_t r = 0; r < kColumnRoles; ++r) {
            out += ' ' + (layout.columns[r] ? std::to_string(*layout.columns[r] + 1) : std::string("-"));
        }
        return out;
    };
    using Case = std::tuple<std::vector<std::string>, std::vector<std::string>, std::string>;
    for (const auto& [header, choices, expected] : std::vector<Case>{
             // roles in order: code postal, ville, INSEE, nom
             {{"Nom", "Adresse", "Code_Postal", "VILLE"}, {}, "en-tête 3 4 - 1"},
             {{"N° client", "Raison sociale", "CP", "Localité", "Code INSEE"}, {}, "en-tête 3 4 5 2"},
             {{"Enseigne", "Nom", "ZIP", "Commune"}, {}, "en-tête 3 4 - 1"},
             {{"Nom", "CP", "Ville", "Numéro COG"}, {}, "en-tête 2 3 4 1"},
             {{"Société", "Code commune", "Nom de la commune"}, {}, "en-tête - 3 2 1"},
             {{"Client", "cp ville", "Ville livraison"}, {}, "en-tête 2 3 - 1"},
             {{"Dupont", "35000", "Rennes"}, {"cp=2", "ville=3", "nom=1"}, "données 2 3 - 1"},
             {{"Nom", "Code", "Ville"}, {"code-postal=Code"}, "en-tête 2 3 - 1"},
             {{"Nom", "Adresse"}, {}, "aucune colonne code postal, ville ou code INSEE ; en-têtes lus : « Nom », "
                                      "« Adresse ». Indiquez les colonnes avec --column (ex. --column code-postal=3 "
                                      "--column ville=4)."},
             {{"Nom", "Ville"}, {"cp=Postal"}, "aucune colonne « Postal » (--column code-postal) ; en-têtes lus"},
         }) {
        EXPECT_EQ(found(header, choices).substr(0, expected.size()), expected);
    }
    EXPECT_FALSE(parseColumnChoice("pays=2"));
    EXPECT_FALSE(parseColumnChoice("ville="));
}

}  // namespace
}  // namespace localyx::testing
