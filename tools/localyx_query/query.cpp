#include "tools/localyx_query/query.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <exception>
#include <optional>
#include <string_view>
#include <system_error>
#include <tuple>
#include <utility>

#include "core/distance.h"
#include "core/field_reader.h"
#include "core/neighbours.h"
#include "core/numeric.h"
#include "core/region_catalogue.h"
#include "core/region_file.h"
#include "core/region_loader.h"
#include "core/text_encoding.h"
#include "core/web_address.h"
#include "tools/localyx_query/name_matching.h"

#ifndef LOCALYX_VERSION
#error "LOCALYX_VERSION comes from the project version"
#endif

namespace localyx::query {
namespace {

constexpr std::string_view kProgram = "localyx-query";
constexpr int kMaxRadiusKm = 9999;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kCsvHeader = "Localité;Code postal;Latitude;Longitude;Distance (km)";

// Thrown to end a command with a message on standard error.
struct Failure {
    int code;
    std::string message;
};

[[noreturn]] void fail(std::string message) { throw Failure{kExitFailure, std::move(message)}; }
[[noreturn]] void usageError(std::string message) { throw Failure{kExitUsage, std::move(message)}; }

// A text fit for a terminal: line ends, other control characters and bytes
// that are not UTF-8 (a binary file read as a region) are written as escapes.
std::string printable(std::string_view text) {
    constexpr std::string_view kHex = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        std::size_t size = 1;
        if (byte >= 0xF0) {
            size = 4;
        } else if (byte >= 0xE0) {
            size = 3;
        } else if (byte >= 0xC0) {
            size = 2;
        }
        if (byte >= 0x80 && i + size <= text.size() && isValidUtf8(text.substr(i, size))) {
            out += text.substr(i, size);
            i += size;
            continue;
        }
        if (byte == '\n') {
            out += "\\n";
        } else if (byte == '\r') {
            out += "\\r";
        } else if (byte == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte >= 0x7F) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += static_cast<char>(byte);
        }
        ++i;
    }
    return out;
}

// A text quoted for a message, cut short so that a runaway field (a quote
// left open swallows the rest of a file) cannot flood the terminal.
std::string inQuotes(std::string_view text) {
    constexpr std::size_t kShown = 60;
    std::string shown = utf8Length(text) > kShown ? utf8Substr(text, 0, kShown) + "…"
                                                   : std::string(text);
    return "« " + printable(shown) + " »";
}

// A shell word that can be pasted back as it is.
std::string shellWord(std::string_view word) {
    const bool plain = !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '.' || c == '/' || c == '_' || c == '-' || c == '+';
    });
    if (plain) return std::string(word);
    std::string out = "'";
    for (char c : word) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out += c;
        }
    }
    return out + "'";
}

// ---------------------------------------------------------------- command line

struct CommandLine {
    bool help = false;
    bool version = false;
    bool csv = false;
    std::optional<std::string> file;
    std::vector<std::string> words;  // the subcommand and its arguments
};

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine cl;
    // Help and version win over anything else on the line, even a mistake.
    for (const std::string& arg : args) {
        if (arg == "--") break;
        if (arg == "-h" || arg == "--help") cl.help = true;
        if (arg == "--version") cl.version = true;
    }
    if (cl.help || cl.version) return cl;

    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            cl.words.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--csv") {
            cl.csv = true;
        } else if (arg == "--file" || arg.starts_with("--file=")) {
            if (cl.file) usageError("l'option --file ne peut être donnée qu'une fois.");
            if (arg == "--file") {
                if (i + 1 >= args.size()) usageError("l'option --file attend un nom de fichier.");
                cl.file = args[++i];
            } else {
                cl.file = arg.substr(std::string_view("--file=").size());
            }
            if (cl.file->empty()) usageError("l'option --file attend un nom de fichier.");
        } else {
            usageError("option inconnue : " + inQuotes(arg) +
                       " (après --, un argument peut commencer par un tiret).");
        }
    }
    return cl;
}

int parseRadius(std::string_view text) {
    int km = 0;
    const bool digitsOnly = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return c >= '0' && c <= '9';
    });
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), km);
    if (!digitsOnly || ec != std::errc{} || end != text.data() + text.size() || km < 1 ||
        km > kMaxRadiusKm) {
        usageError("rayon invalide : " + inQuotes(text) + " ; il faut un nombre entier de 1 à " +
                   std::to_string(kMaxRadiusKm) + " km.");
    }
    return km;
}

// ---------------------------------------------------------------- regions

std::optional<RegionEntry> findRegion(std::string_view arg) {
    int number = 0;
    const auto [end, ec] = std::from_chars(arg.data(), arg.data() + arg.size(), number);
    if (ec == std::errc{} && end == arg.data() + arg.size() && !arg.empty() && arg[0] != '-') {
        return regionByNumber(number);
    }
    const std::string wanted = foldName(arg, Fold::CaseAndAccents);
    for (const RegionEntry& entry : regionCatalogue()) {
        if (foldName(entry.caption, Fold::CaseAndAccents) == wanted ||
            foldName(entry.baseName, Fold::CaseAndAccents) == wanted) {
            return entry;
        }
    }
    return std::nullopt;
}

[[noreturn]] void failUnknownRegion(std::string_view arg) {
    std::vector<std::string> names;
    for (const RegionEntry& entry : regionCatalogue()) {
        names.emplace_back(entry.caption);
        names.emplace_back(entry.baseName);
    }
    const std::vector<std::string> close = suggestNames(names, arg, Fold::CaseAndAccents);
    std::string message = "région inconnue : " + inQuotes(arg) + ".\n";
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (!arg.empty() && std::all_of(arg.begin(), arg.end(), isDigit)) {
        message += "Les régions sont numérotées de 1 à " + std::to_string(kRegionCount) + ".\n";
    }
    if (!close.empty()) {
        message += "Régions proches :\n";
        std::vector<int> shown;  // a caption and its base name are one region
        for (const std::string& name : close) {
            const auto entry = findRegion(name);
            if (std::find(shown.begin(), shown.end(), entry->number) != shown.end()) continue;
            shown.push_back(entry->number);
            message += "  " + std::to_string(entry->number) + "  " + std::string(entry->caption) +
                       " (" + std::string(entry->baseName) + ".txt)\n";
        }
    }
    message += "La liste des 22 régions : " + std::string(kProgram) + " regions";
    fail(message);
}

// A region file, read and sorted into the window's lists.
struct Region {
    std::string label;      // names the file in messages
    std::string townsHint;  // the command that lists its towns
    std::string text;       // decoded, UTF-8
    RegionLists lists;
};

std::string describeProblem(const RegionFileText& file, const std::string& shownPath,
                            const std::filesystem::path& programDir) {
    switch (file.problem) {
    case RegionFileProblem::NotFound: {
        if (!programDir.empty()) {
            std::string where;
            for (const auto& dir : regionSearchDirs(programDir)) {
                where += (where.empty() ? "" : ", ") + dir.string();
            }
            return "fichier de région introuvable : " + file.fileName + " (cherché dans : " +
                   where + ").";
        }
        return "fichier introuvable : " + shownPath + ".";
    }
    case RegionFileProblem::Unreadable:
        return "impossible de lire le fichier " + shownPath + ".";
    case RegionFileProblem::TooLarge:
        return "fichier trop volumineux pour un fichier de région (plus de " +
               std::to_string(kMaxRegionFileBytes / (1024u * 1024u)) + " Mo) : " + shownPath +
               ".";
    case RegionFileProblem::None:
        break;
    }
    return {};
}

// Names the first field that breaks the "latitude, longitude, name" cycle,
// since everything after it is judged on another locality's coordinates.
std::optional<std::string> formatProblem(const std::string& text) {
    FieldReader reader(text);
    std::string lastName;
    std::size_t position = 0;
    while (!reader.atEnd()) {
        const std::string field = reader.next();
        const double v = numericValue(field);
        std::string_view expected;
        switch (position % 3) {
        case 0:
            if (!(v > 40)) expected = "une latitude (un nombre supérieur à 40)";
            break;
        case 1:
            if (v == 0 || v > 40) expected = "une longitude (un nombre non nul, au plus 40)";
            break;
        default:
            if (v != 0) expected = "un nom de localité";
            break;
        }
        if (!expected.empty()) {
            return "le champ " + inQuotes(field) + ", " +
                   (lastName.empty() ? std::string("au début du fichier")
                                     : "après la localité " + inQuotes(lastName)) +
                   ", devrait être " + std::string(expected);
        }
        if (position % 3 == 2) lastName = field;
        ++position;
    }
    if (position % 3 != 0) {
        return "la dernière localité est incomplète (il manque " +
               std::string(position % 3 == 1 ? "la longitude et le nom" : "le nom") + ")";
    }
    return std::nullopt;
}

Region loadRegion(const CommandLine& cl, std::string_view regionArg,
                  const std::filesystem::path& programDir, std::ostream& err) {
    Region region;
    RegionFileText file;
    if (cl.file) {
        file = readRegionFileAt(*cl.file);
        region.label = *cl.file;
        region.townsHint = std::string(kProgram) + " --file " + shellWord(*cl.file) + " towns";
        if (!file.ok()) fail(describeProblem(file, *cl.file, {}));
    } else {
        const auto entry = findRegion(regionArg);
        if (!entry) failUnknownRegion(regionArg);
        file = readRegionFile(programDir, entry->baseName);
        region.label = std::string(entry->caption) + " (" + file.fileName + ")";
        region.townsHint = std::string(kProgram) + " towns " + std::string(entry->baseName);
        if (!file.ok()) fail(describeProblem(file, file.path.string(), programDir));
    }
    region.text = std::move(file.text);
    FieldReader reader(region.text);
    region.lists = loadRegionLists(reader);
    if (const auto problem = formatProblem(region.text)) {
        err << kProgram << " : attention : " << region.label << " est mal formé : " << *problem
            << " ; les localités qui suivent peuvent être jugées sur d'autres coordonnées.\n";
    }
    return region;
}

// ---------------------------------------------------------------- towns

std::size_t findTown(const Region& region, std::string_view arg) {
    const std::vector<std::string>& names = region.lists.names;
    const auto exact = std::find(names.begin(), names.end(), arg);
    if (exact != names.end()) return static_cast<std::size_t>(exact - names.begin());

    const std::string wanted = foldName(arg, Fold::Case);
    std::optional<std::size_t> first;
    std::vector<std::string> texts;  // the distinct items that match
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (foldName(names[i], Fold::Case) != wanted) continue;
        if (!first) first = i;
        if (std::find(texts.begin(), texts.end(), names[i]) == texts.end()) {
            texts.push_back(names[i]);
        }
    }
    if (texts.size() == 1) return *first;
    if (texts.size() > 1) {
        std::string message = inQuotes(arg) + " désigne plusieurs localités de " + region.label +
                              " ; écrivez-la exactement :";
        for (const std::string& text : texts) message += "\n  " + printable(text);
        fail(message);
    }

    std::string message = "localité inconnue dans " + region.label + " : " + inQuotes(arg) + ".\n";
    const std::vector<std::string> close = suggestNames(names, arg, Fold::CaseAndAccents);
    if (!close.empty()) {
        message += "Vouliez-vous dire :\n";
        for (const std::string& name : close) message += "  " + printable(name) + "\n";
    }
    message += "La liste des localités : " + region.townsHint;
    fail(message);
}

// The town's coordinate texts as the window takes them from its hidden list:
// the empty text past the end of a short list.
std::pair<std::string, std::string> townCoordinates(const Region& region, std::size_t index) {
    const std::vector<std::string>& coordinates = region.lists.coordinates;
    const auto at = [&](std::size_t i) { return i < coordinates.size() ? coordinates[i] : ""; };
    return {at(2 * index), at(2 * index + 1)};
}

std::string describeCoordinates(const std::string& town, const std::string& lat,
                                const std::string& lon) {
    return "une coordonnée de " + inQuotes(town) + " se lit comme 0 (latitude " + inQuotes(lat) +
           ", longitude " + inQuotes(lon) + ")";
}

bool readsAsZero(const std::string& lat, const std::string& lon) {
    return numericValue(lat) == 0 || numericValue(lon) == 0;
}

// ---------------------------------------------------------------- output forms

// One decimal and a decimal comma; failures and the tiny negative results of
// identical points show as 0,0.
std::string decimalComma(double km) {
    if (!(km > 0)) km = 0.0;
    std::array<char, 64> buffer{};
    const auto [end, ec] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), km, std::chars_format::fixed, 1);
    std::string text = ec == std::errc{} ? std::string(buffer.data(), end) : std::string("0.0");
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

std::string csvField(std::string_view text) {
    if (text.find_first_of(";\"\r\n") == std::string_view::npos) return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

// "SAINT-EXEMPLE-00003" is the locality SAINT-EXEMPLE with code 00003; an
// item of another form is all name.
std::pair<std::string, std::string> splitItem(std::string_view item) {
    constexpr std::size_t kCodeLength = 5;
    const std::size_t length = utf8Length(item);
    if (length > kCodeLength && utf8Substr(item, length - kCodeLength - 1, 1) == "-") {
        return {utf8Substr(item, 0, length - kCodeLength - 1),
                utf8Substr(item, length - kCodeLength, kCodeLength)};
    }
    return {std::string(item), std::string()};
}

// ---------------------------------------------------------------- commands

void listRegions(std::ostream& out, const std::filesystem::path& programDir) {
    for (const RegionEntry& entry : regionCatalogue()) {
        std::string count = "-";
        RegionFileText file = readRegionFile(programDir, entry.baseName);
        if (file.ok()) {
            FieldReader reader(std::move(file.text));
            count = std::to_string(loadRegionLists(reader).names.size());
        }
        out << entry.number << '\t' << entry.caption << '\t' << entry.baseName << '\t' << count
            << '\n';
    }
}

void listTowns(std::ostream& out, const Region& region) {
    for (const std::string& name : region.lists.names) out << name << '\n';
}

void listNeighbours(std::ostream& out, std::ostream& err, const Region& region,
                    std::string_view townArg, int radiusKm, bool csv) {
    const std::size_t index = findTown(region, townArg);
    const std::string& town = region.lists.names[index];
    const auto [lat, lon] = townCoordinates(region, index);
    if (readsAsZero(lat, lon)) {
        err << kProgram << " : attention : " << describeCoordinates(town, lat, lon)
            << " ; la recherche se fait quand même, comme dans la fenêtre.\n";
    }

    if (!csv) {
        FieldReader reader(region.text);
        SearchDeltas deltas;  // as at the first search of a run
        for (const std::string& name : findNeighbours(reader, lat, lon, radiusKm, deltas)) {
            out << name << '\n';
        }
        return;
    }

    // The same walk, keeping for each neighbour the coordinate texts the rule
    // judged it by.
    struct Row {
        std::string item, lat, lon;
        double km;
    };
    std::vector<Row> rows;
    NeighbourRule rule(lat, lon, radiusKm, SearchDeltas{});
    FieldReader reader(region.text);
    std::string lastLat, lastCoordinate;
    while (!reader.atEnd()) {
        std::string field = reader.next();
        const double v = numericValue(field);
        if (v > 40) lastLat = field;
        if (v != 0) lastCoordinate = field;
        if (rule.feed(field)) rows.push_back({std::move(field), lastLat, lastCoordinate, 0.0});
    }
    const double townLat = numericValue(lat);
    const double townLon = numericValue(lon);
    for (Row& row : rows) {
        row.km = CalcDistance(townLon, townLat, numericValue(row.lon), numericValue(row.lat));
        if (!(row.km > 0)) row.km = 0.0;
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row& a, const Row& b) { return a.km < b.km; });

    out << kUtf8Bom << kCsvHeader << '\n';
    for (const Row& row : rows) {
        const auto [name, code] = splitItem(row.item);
        out << csvField(name) << ';' << csvField(code) << ';' << csvField(row.lat) << ';'
            << csvField(row.lon) << ';' << decimalComma(row.km) << '\n';
    }
}

void showDistance(std::ostream& out, const Region& region, std::string_view firstArg,
                  std::string_view secondArg) {
    const std::size_t first = findTown(region, firstArg);
    const std::size_t second = findTown(region, secondArg);
    const std::string& firstTown = region.lists.names[first];
    const std::string& secondTown = region.lists.names[second];
    if (first == second) {
        fail(inQuotes(firstTown) +
             " est choisie deux fois : la fenêtre n'affiche pas de distance pour une même "
             "localité.");
    }
    const auto [lat1, lon1] = townCoordinates(region, first);
    const auto [lat2, lon2] = townCoordinates(region, second);
    for (const auto& [town, lat, lon] : {std::tuple{firstTown, lat1, lon1},
                                         std::tuple{secondTown, lat2, lon2}}) {
        if (readsAsZero(lat, lon)) {
            fail("distance non calculable : " + describeCoordinates(town, lat, lon) +
                 " ; la fenêtre n'afficherait aucune distance.");
        }
    }
    double km = CalcDistance(numericValue(lon1), numericValue(lat1), numericValue(lon2),
                             numericValue(lat2));
    if (!(km >= 1)) km = 0.0;  // failures and near points alike
    out << static_cast<long long>(std::floor(km)) << '\n';
}

// The window opens no itinerary for an item too short to hold its code, and
// its walk never ends on an item without a hyphen.
void checkItineraryItem(const std::string& item) {
    if (utf8Length(item) < 5 || item.find('-') == std::string::npos) {
        fail("la fenêtre n'ouvre pas d'itinéraire pour " + inQuotes(item) +
             " : une localité s'écrit NOM-CODE (un tiret, puis un code de cinq caractères).");
    }
}

// ---------------------------------------------------------------- dispatch

struct Command {
    std::string_view name;
    bool takesRegion;
    std::size_t arguments;       // after the region, if any
    std::string_view argumentsText;  // for usage errors
};

constexpr std::array<Command, 6> kCommands{{
    {"regions", false, 0, ""},
    {"towns", true, 0, ""},
    {"neighbours", true, 2, " VILLE KM"},
    {"distance", true, 2, " VILLE1 VILLE2"},
    {"map-url", false, 1, " VILLE"},
    {"itinerary-url", false, 2, " VILLE1 VILLE2"},
}};

// The expected form of a command, as its user wrote it (with or without --file).
std::string commandForm(const Command& command, bool withFile) {
    std::string form(kProgram);
    if (withFile) form += " --file FICHIER";
    form += ' ';
    form += command.name;
    if (command.name == "neighbours") form += " [--csv]";
    if (command.takesRegion && !withFile) form += " RÉGION";
    form += command.argumentsText;
    return form;
}

int run(const CommandLine& cl, std::ostream& out, std::ostream& err,
        const std::filesystem::path& programDir) {
    if (cl.words.empty()) usageError("commande manquante.");
    const std::string& name = cl.words.front();
    const auto command = std::find_if(kCommands.begin(), kCommands.end(),
                                      [&](const Command& c) { return c.name == name; });
    if (command == kCommands.end()) usageError("commande inconnue : " + inQuotes(name) + ".");
    if (cl.csv && command->name != "neighbours") {
        usageError("l'option --csv ne s'applique qu'à la commande neighbours.");
    }
    if (cl.file && !command->takesRegion) {
        usageError("l'option --file ne s'applique pas à la commande " + std::string(name) + ".");
    }
    const bool regionWord = command->takesRegion && !cl.file;
    const std::size_t expected = 1 + (regionWord ? 1 : 0) + command->arguments;
    if (cl.words.size() != expected) {
        usageError("nombre d'arguments incorrect ; forme attendue : " +
                   commandForm(*command, cl.file.has_value()));
    }
    // Arguments after the region, if any.
    const auto arg = [&](std::size_t i) -> const std::string& {
        return cl.words[1 + (regionWord ? 1 : 0) + i];
    };
    const std::string regionArg = regionWord ? cl.words[1] : std::string();

    if (name == "regions") {
        listRegions(out, programDir);
    } else if (name == "towns") {
        listTowns(out, loadRegion(cl, regionArg, programDir, err));
    } else if (name == "neighbours") {
        const int km = parseRadius(arg(1));  // a usage error comes before any file is read
        listNeighbours(out, err, loadRegion(cl, regionArg, programDir, err), arg(0), km, cl.csv);
    } else if (name == "distance") {
        showDistance(out, loadRegion(cl, regionArg, programDir, err), arg(0), arg(1));
    } else if (name == "map-url") {
        out << mapAddress(arg(0)) << '\n';
    } else {
        for (const std::string& item : {arg(0), arg(1)}) checkItineraryItem(item);
        out << itineraryAddress(reworkItem(arg(0)), reworkItem(arg(1))) << '\n';
    }
    return kExitOk;
}

}  // namespace

std::string usageText() {
    return "Usage : localyx-query [--file FICHIER] COMMANDE [ARGUMENTS]\n"
           "\n"
           "Commandes :\n"
           "  regions                             les 22 régions : numéro, nom, fichier,\n"
           "                                      nombre de localités (- si illisible)\n"
           "  towns RÉGION                        les localités de la région\n"
           "  neighbours [--csv] RÉGION VILLE KM  les localités que la fenêtre liste autour\n"
           "                                      de VILLE pour un rayon de KM km (1 à 9999) ;\n"
           "                                      --csv : tableau pour tableur, les plus\n"
           "                                      proches en premier\n"
           "  distance RÉGION VILLE1 VILLE2       la distance à vol d'oiseau, en km entiers\n"
           "  map-url VILLE                       l'adresse de la carte de VILLE\n"
           "  itinerary-url VILLE1 VILLE2         l'adresse de l'itinéraire de VILLE1 à VILLE2\n"
           "\n"
           "RÉGION : numéro (1 à 22), nom ou nom de fichier de la région, sans égard aux\n"
           "  majuscules ; avec --file FICHIER, la RÉGION est omise et FICHIER est lu.\n"
           "VILLE : la localité telle que la liste l'écrit (RENNES-35200) ; les majuscules\n"
           "  peuvent différer si une seule localité correspond. Après --, un argument peut\n"
           "  commencer par un tiret.\n"
           "\n"
           "Options : -h, --help (cette aide) ; --version (la version).\n"
           "Sortie : 0 si tout va bien, 1 si une région, une localité ou un fichier pose\n"
           "  problème, 2 si la ligne de commande est incorrecte.\n";
}

int runQuery(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const std::filesystem::path& programDir) {
    try {
        const CommandLine cl = parseCommandLine(args);
        if (cl.help) {
            out << usageText();
            return kExitOk;
        }
        if (cl.version) {
            out << kProgram << ' ' << LOCALYX_VERSION << '\n';
            return kExitOk;
        }
        return run(cl, out, err, programDir);
    } catch (const Failure& failure) {
        err << kProgram << " : " << failure.message << '\n';
        if (failure.code == kExitUsage) err << '\n' << usageText();
        return failure.code;
    } catch (const std::exception& e) {
        err << kProgram << " : erreur inattendue : " << e.what() << '\n';
        return kExitFailure;
    }
}

}  // namespace localyx::query
