#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>
#include <system_error>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "core/distance.h"
#include "core/field_reader.h"
#include "core/locality_table.h"
#include "core/name_index.h"
#include "core/neighbours.h"
#include "core/numeric.h"
#include "core/region_catalogue.h"
#include "core/region_file.h"
#include "core/region_loader.h"
#include "core/text_encoding.h"
#include "core/town_resolver.h"
#include "core/web_address.h"
#include "tools/localyx_query/commands.h"
#include "core/name_folding.h"
#include "tools/localyx_query/output.h"

namespace localyx::query {
namespace {

constexpr int kMaxRadiusKm = 9999;

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
    std::string label;      // names the file in messages, printable
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
                where += (where.empty() ? "" : ", ") + printable(dir.string());
            }
            return "fichier de région introuvable : " + printable(file.fileName) +
                   " (cherché dans : " + where + ").";
        }
        return "fichier introuvable : " + shortened(shownPath) + ".";
    }
    case RegionFileProblem::Unreadable:
        return "impossible de lire le fichier " + shortened(shownPath) + ".";
    case RegionFileProblem::TooLarge:
        return "fichier trop volumineux pour un fichier de région (plus de " +
               std::to_string(kMaxRegionFileBytes / (1024u * 1024u)) + " Mo) : " +
               shortened(shownPath) + ".";
    case RegionFileProblem::None:
        break;
    }
    return {};
}

// The line of the text at a byte offset, from 1; CR LF, LF and CR each end one.
std::size_t lineAt(std::string_view text, std::size_t offset) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) ++line;
    }
    return line;
}

// Names the first field that breaks the "latitude, longitude, name" cycle,
// since everything after it is judged on another locality's coordinates.
std::optional<std::string> formatProblem(const std::string& text) {
    FieldReader reader(text);
    std::string lastName;
    std::size_t position = 0;
    while (!reader.atEnd()) {
        const std::size_t offset = reader.offset();
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
            return "le champ " + inQuotes(field) + ", ligne " + std::to_string(lineAt(text, offset)) +
                   (lastName.empty() ? std::string(", avant la première localité")
                                     : ", après la localité " + inQuotes(lastName)) +
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

// The region named by the first argument, or by --file.
Region loadRegion(const Invocation& run) {
    Region region;
    RegionFileText file;
    const CommandLine& cl = run.cl;
    if (cl.file) {
        file = readRegionFileAt(*cl.file);
        region.label = shortened(*cl.file);
        region.townsHint = std::string(kProgram) + " --file " + shellWord(*cl.file) + " towns";
        if (!file.ok()) fail(describeProblem(file, *cl.file, {}));
    } else {
        const auto entry = findRegion(run.args.front());
        if (!entry) failUnknownRegion(run.args.front());
        file = readRegionFile(run.programDir, entry->baseName);
        region.label = std::string(entry->caption) + " (" + printable(file.fileName) + ")";
        region.townsHint = std::string(kProgram) + " towns " + std::string(entry->baseName);
        if (!file.ok()) fail(describeProblem(file, file.path.string(), run.programDir));
    }
    region.text = std::move(file.text);
    FieldReader reader(region.text);
    region.lists = loadRegionLists(reader);
    if (const auto problem = formatProblem(region.text)) {
        run.err << kProgram << " : attention : " << region.label << " est mal formé : " << *problem
                << " ; les localités qui suivent peuvent être jugées sur d'autres coordonnées.\n";
    }
    return region;
}

// The arguments after the region, which --file leaves out.
const std::string& argAfterRegion(const Invocation& run, std::size_t i) {
    return run.args[(run.cl.file ? 0 : 1) + i];
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

// A town of the region as people write it: the exact item first, as the
// window takes it, then the rules of the France-wide commands over the
// region's own items.
std::size_t findTown(const Invocation& run, const Region& region, std::string_view arg) {
    const std::vector<std::string>& names = region.lists.names;
    const auto exact = std::find(names.begin(), names.end(), arg);
    if (exact != names.end()) return static_cast<std::size_t>(exact - names.begin());

    // The items the France-wide table lists too take its INSEE codes, so
    // that its names (official, postcodes, parts) lead to them as well. A
    // whole city is no item of a region: its arrondissements are.
    std::vector<Locality> rows(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) std::tie(rows[i].name, rows[i].postalCode) = splitItem(names[i]);
    const LocalityTable table = loadLocalityTable(run.programDir);
    TownNames known;
    if (table.ok()) {
        std::unordered_map<std::string, const Locality*> byItem;
        byItem.reserve(table.rows.size());
        for (const Locality& l : table.rows) byItem.emplace(l.item(), &l);
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (const auto found = byItem.find(names[i]); found != byItem.end()) rows[i] = *found->second;
        }
        known = loadTownNames(table.path.parent_path());
        std::erase_if(known.rows, [](const TownName& n) { return n.kind == NameKind::City; });
    }
    const NameIndex index(rows, std::move(known));
    const TownMatch match = TownResolver(index).resolve(arg);
    for (const std::string& note : match.notes) run.err << kProgram << " : note : " << printable(note) << '\n';
    if (match.found()) return match.place;
    if (match.kind == TownMatch::Kind::Ambiguous) {
        std::vector<std::string> texts;  // the distinct items: one text is the window's first
        for (std::size_t i : match.candidates) {
            if (std::find(texts.begin(), texts.end(), names[i]) == texts.end()) texts.push_back(names[i]);
        }
        if (texts.size() == 1) return match.candidates.front();
        std::string message = inQuotes(arg) + " désigne plusieurs localités de " + region.label +
                              " ; écrivez-la exactement :";
        for (const std::string& text : texts) message += "\n  " + printable(text);
        fail(message);
    }
    std::string message = "localité inconnue dans " + region.label + " : " + inQuotes(arg) + ".\n";
    if (!match.suggestions.empty()) {
        message += "Vouliez-vous dire :\n";
        for (std::size_t i : match.suggestions) message += "  " + printable(names[i]) + "\n";
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

std::string describeCoordinates(const std::string& town, const std::string& lat, const std::string& lon) {
    return "une coordonnée de " + inQuotes(town) + " se lit comme 0 (latitude " + inQuotes(lat) +
           ", longitude " + inQuotes(lon) + ")";
}

bool readsAsZero(const std::string& lat, const std::string& lon) {
    return numericValue(lat) == 0 || numericValue(lon) == 0;
}

void writeNeighbourCsv(std::ostream& out, const Region& region, const std::string& lat,
                       const std::string& lon, int radiusKm) {
    // The window's walk, keeping for each neighbour the coordinate texts the
    // rule judged it by.
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
    for (Row& row : rows) {
        row.km = CalcDistance(numericValue(lon), numericValue(lat), numericValue(row.lon), numericValue(row.lat));
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        return std::max(a.km, 0.0) < std::max(b.km, 0.0);
    });
    out << kUtf8Bom;
    writeCsvLine(out, {"Localité", "Code postal", "Latitude", "Longitude", "Distance (km)"});
    for (const Row& row : rows) {
        const auto [name, code] = splitItem(row.item);
        writeCsvLine(out, {name, code, row.lat, row.lon, decimalComma(row.km)});
    }
}

// The window opens no itinerary for an item too short to hold its code, and
// its walk never ends on an item without a hyphen.
void checkItineraryItem(const std::string& item) {
    if (utf8Length(item) < 5 || item.find('-') == std::string::npos) {
        fail("la fenêtre n'ouvre pas d'itinéraire pour " + inQuotes(item) +
             " : une localité s'écrit NOM-CODE (un tiret, puis un code de cinq caractères).");
    }
}

}  // namespace

void runRegions(const Invocation& run) {
    for (const RegionEntry& entry : regionCatalogue()) {
        std::string count = "-";
        RegionFileText file = readRegionFile(run.programDir, entry.baseName);
        if (file.ok()) {
            FieldReader reader(std::move(file.text));
            count = std::to_string(loadRegionLists(reader).names.size());
        }
        run.out << entry.number << '\t' << entry.caption << '\t' << entry.baseName << '\t' << count << '\n';
    }
}

void runTowns(const Invocation& run) {
    for (const std::string& name : loadRegion(run).lists.names) run.out << printable(name) << '\n';
}

void runNeighbours(const Invocation& run) {
    const int radiusKm = parseRadius(argAfterRegion(run, 1));  // before any file is read
    const Region region = loadRegion(run);
    const std::size_t index = findTown(run, region, argAfterRegion(run, 0));
    const std::string& town = region.lists.names[index];
    const auto [lat, lon] = townCoordinates(region, index);
    if (readsAsZero(lat, lon)) {
        run.err << kProgram << " : attention : " << describeCoordinates(town, lat, lon)
                << " ; la recherche se fait quand même, comme dans la fenêtre.\n";
    }
    if (run.cl.csv) {
        writeNeighbourCsv(run.out, region, lat, lon, radiusKm);
        return;
    }
    FieldReader reader(region.text);
    SearchDeltas deltas;  // as at the first search of a run
    for (const std::string& name : findNeighbours(reader, lat, lon, radiusKm, deltas)) {
        run.out << printable(name) << '\n';
    }
}

void runDistance(const Invocation& run) {
    const Region region = loadRegion(run);
    const std::size_t first = findTown(run, region, argAfterRegion(run, 0));
    const std::size_t second = findTown(run, region, argAfterRegion(run, 1));
    const std::string& firstTown = region.lists.names[first];
    const std::string& secondTown = region.lists.names[second];
    if (first == second) {
        fail(inQuotes(firstTown) +
             " est choisie deux fois : la fenêtre n'affiche pas de distance pour une même localité.");
    }
    const auto [lat1, lon1] = townCoordinates(region, first);
    const auto [lat2, lon2] = townCoordinates(region, second);
    for (const auto& [town, lat, lon] :
         {std::tuple{firstTown, lat1, lon1}, std::tuple{secondTown, lat2, lon2}}) {
        if (readsAsZero(lat, lon)) {
            fail("distance non calculable : " + describeCoordinates(town, lat, lon) +
                 " ; la fenêtre n'afficherait aucune distance.");
        }
    }
    double km = CalcDistance(numericValue(lon1), numericValue(lat1), numericValue(lon2), numericValue(lat2));
    if (!(km >= 1)) km = 0.0;  // failures and near points alike
    run.out << static_cast<long long>(std::floor(km)) << '\n';
}

void runMapUrl(const Invocation& run) {
    run.out << printable(mapAddress(asListItems(run, {run.args[0]}).front())) << '\n';
}

void runItineraryUrl(const Invocation& run) {
    const std::vector<std::string> items = asListItems(run, {run.args[0], run.args[1]});
    for (const std::string& item : items) checkItineraryItem(item);
    run.out << printable(itineraryAddress(reworkItem(items[0]), reworkItem(items[1]))) << '\n';
}

}  // namespace localyx::query
