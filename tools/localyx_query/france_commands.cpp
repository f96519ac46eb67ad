#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>
#include <unordered_map>

#include "core/around.h"
#include "core/locality_table.h"
#include "core/tour.h"
#include "core/web_address.h"
#include "tools/localyx_query/client_file.h"
#include "tools/localyx_query/commands.h"
#include "exports/map_formats.h"
#include "exports/spreadsheet.h"
#include "core/name_folding.h"
#include "tools/localyx_query/output.h"

namespace localyx::query {
namespace {

constexpr std::size_t kMaxStops = 1000;

// The table with its look-ups: by item, by item without regard to case, by INSEE code.
class Localities {
public:
    explicit Localities(const Invocation& run) : m_table(loadLocalityTable(run.programDir)) {
        if (!m_table.ok()) {
            fail("table des localités " + shortened(m_table.path.string()) + " : " + m_table.error + ".");
        }
        constexpr std::size_t kShown = 3;
        for (std::size_t i = 0; i < m_table.warnings.size() && i < kShown; ++i) {
            run.err << kProgram << " : attention : " << shortened(m_table.path.string()) << ", "
                    << m_table.warnings[i] << ".\n";
        }
        if (const std::size_t more = m_table.warnings.size() - std::min(m_table.warnings.size(), kShown)) {
            run.err << kProgram << " : attention : et " << more
                    << (more == 1 ? " autre ligne ignorée.\n" : " autres lignes ignorées.\n");
        }
        for (std::size_t i = 0; i < rows().size(); ++i) {
            const std::string item = rows()[i].item();
            m_byItem[item].push_back(i);
            m_byInsee.emplace(rows()[i].insee, i);
        }
    }

    const std::vector<Locality>& rows() const { return m_table.rows; }
    const std::filesystem::path& path() const { return m_table.path; }

    // A list item (its exact text first, then without regard to case) or an
    // INSEE code; fails with suggestions when unknown or ambiguous.
    std::size_t find(std::string_view arg) const {
        const std::string text(arg);
        if (const auto exact = m_byItem.find(text); exact != m_byItem.end()) return single(arg, exact->second);
        std::string code = text;
        for (char& c : code) c = c == 'a' ? 'A' : c == 'b' ? 'B' : c;  // Corsica: 2A, 2B
        if (const auto insee = m_byInsee.find(code); insee != m_byInsee.end()) return insee->second;
        // Folding every item costs more than the rest of a search: only when asked.
        if (m_byFoldedItem.empty()) {
            for (std::size_t i = 0; i < rows().size(); ++i) m_byFoldedItem[foldName(rows()[i].item(), Fold::Case)].push_back(i);
        }
        if (const auto folded = m_byFoldedItem.find(foldName(arg, Fold::Case)); folded != m_byFoldedItem.end()) {
            return single(arg, folded->second);
        }
        std::vector<std::string> items;
        items.reserve(rows().size());
        for (const Locality& l : rows()) items.push_back(l.item());
        std::string message = "localité inconnue : " + inQuotes(arg) + ".\n";
        const std::vector<std::string> close = suggestNames(items, arg, Fold::CaseAndAccents);
        if (!close.empty()) {
            message += "Vouliez-vous dire :\n";
            for (const std::string& name : close) message += "  " + printable(name) + "\n";
        }
        message += "Une localité s'écrit NOM-CODE (RENNES-35200) ou par son code INSEE (35238).";
        fail(message);
    }

private:
    std::size_t single(std::string_view arg, const std::vector<std::size_t>& found) const {
        if (found.size() == 1) return found.front();
        std::string message = inQuotes(arg) + " désigne plusieurs localités ; donnez son code INSEE :";
        for (std::size_t i : found) {
            const Locality& l = rows()[i];
            message += "\n  " + printable(l.insee) + "  " + printable(l.item()) + " (" + regionCaption(l.region) + ")";
        }
        fail(message);
    }

    LocalityTable m_table;
    std::unordered_map<std::string, std::vector<std::size_t>> m_byItem;
    mutable std::unordered_map<std::string, std::vector<std::size_t>> m_byFoldedItem;
    std::unordered_map<std::string, std::size_t> m_byInsee;
};

// The reading options go with a client file only.
void checkClientOptions(const Invocation& run) {
    if (run.cl.clients) return;
    for (std::string_view option : {"--sheet", "--encoding", "--separator", "--column"}) {
        if (std::find(run.cl.given.begin(), run.cl.given.end(), option) != run.cl.given.end()) {
            usageError("l'option " + std::string(option) + " va avec --clients FICHIER.");
        }
    }
}

std::string format(const Invocation& run, const std::vector<std::string_view>& known) {
    const std::string chosen = run.cl.format.value_or("text");
    if (std::find(known.begin(), known.end(), chosen) == known.end()) {
        std::string list;
        for (std::string_view k : known) list += (list.empty() ? "" : ", ") + std::string(k);
        usageError("format inconnu : " + inQuotes(chosen) + " ; formats possibles : " + list + ".");
    }
    return chosen;
}

std::int64_t parsePopulation(const std::optional<std::string>& text) {
    if (!text) return 0;
    std::int64_t n = 0;
    const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), n);
    if (ec != std::errc{} || end != text->data() + text->size() || n < 0 || text->front() == '-') {
        usageError("population minimale invalide : " + inQuotes(*text) + " ; il faut un nombre entier positif.");
    }
    return n;
}

// CSV or .xlsx, on standard output.
void writeTable(const Invocation& run, const std::string& form, const SpreadsheetTable& table) {
    if (form == "csv") {
        writeCsv(run.out, table);
    } else if (const std::string error = writeXlsx(run.out, table); !error.empty()) {
        fail(error);
    }
}

std::string frenchDegrees(double value) {
    std::string text = degrees(value);
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

std::string population(const Locality& l) { return l.population >= 0 ? std::to_string(l.population) : ""; }

std::string inhabitants(const Locality& l) {
    if (l.population < 0) return "population inconnue";
    return std::to_string(l.population) + (l.population > 1 ? " habitants" : " habitant");
}

}  // namespace

void runAround(const Invocation& run) {
    checkClientOptions(run);
    const double radiusKm = parseKm(run.args[1], 0.1, 1000, "rayon");
    const std::int64_t populationMin = parsePopulation(run.cl.populationMin);
    const std::string form = format(run, {"text", "csv", "xlsx", "geojson", "kml", "gpx"});
    std::optional<ClientFile> clients;
    if (run.cl.clients) clients.emplace(readClientFile(run, *run.cl.clients));
    const Localities table(run);
    const std::size_t centre = table.find(run.args[0]);
    const std::vector<Locality>& rows = table.rows();
    if (run.cl.clients) {
        if (run.cl.populationMin) usageError("l'option --population-min ne va pas avec --clients.");
        const ClientPlacing placing(run, rows, table.path());
        runAroundClients(run, *clients, placing.rows, *placing.placer, centre, radiusKm, form);
        return;
    }
    const std::vector<Nearby> found = localitiesAround(rows, centre, radiusKm, populationMin);

    if (form == "text") {
        for (const Nearby& n : found) {
            const Locality& l = rows[n.row];
            run.out << printable(l.item()) << '\t' << decimalComma(n.km) << '\t' << regionCaption(l.region)
                    << '\t' << population(l) << '\n';
        }
        return;
    }
    const Locality& from = rows[centre];
    if (form == "csv" || form == "xlsx") {
        SpreadsheetTable table{decimalComma(radiusKm) + " km de " + from.item(),
                               {{"Localité"}, {"Code postal", CellType::Code}, {"Code INSEE", CellType::Code},
                                {"Département", CellType::Code}, {"Région"}, {"Population", CellType::Integer},
                                {"Latitude", CellType::Degrees}, {"Longitude", CellType::Degrees},
                                {"Distance (km)", CellType::Kilometres}},
                               {}};
        for (const Nearby& n : found) {
            const Locality& l = rows[n.row];
            table.rows.push_back({l.name, l.postalCode, l.insee, l.departement, regionCaption(l.region), population(l),
                                  frenchDegrees(l.latitude), frenchDegrees(l.longitude), decimalComma(n.km)});
        }
        writeTable(run, form, table);
        return;
    }
    const std::string title = "Localités à " + decimalComma(radiusKm) + " km de " + from.item();
    std::vector<MapPoint> points{{&from, from.item(), "Centre de la recherche ; " + inhabitants(from), "", true}};
    std::vector<double> kms{0.0};
    for (const Nearby& n : found) {
        const Locality& l = rows[n.row];
        points.push_back({&l, l.item(), decimalComma(n.km) + " km ; " + inhabitants(l), "", false});
        kms.push_back(n.km);
    }
    if (form == "geojson") {
        writeGeoJson(run.out, points, kms);
    } else if (form == "kml") {
        writeKml(run.out, title, points, {});
    } else {
        writeGpx(run.out, title, points, false);
    }
}

namespace {

// The stops as written: the arguments, with "-" (or none at all) standing for
// standard input, one per line, its first tab-separated column.
std::vector<std::string> stopTexts(const Invocation& run) {
    std::vector<std::string> texts;
    std::vector<std::string> args(run.args.begin() + 1, run.args.end());
    if (args.empty()) args.push_back("-");
    const auto add = [&](std::string text) {
        const std::size_t first = text.find_first_not_of(" \r");
        const std::size_t last = text.find_last_not_of(" \r");
        if (first == std::string::npos) return;
        texts.push_back(text.substr(first, last - first + 1));
        // Many times the most that can be visited, so a runaway input stops early.
        if (texts.size() > 100 * kMaxStops) fail("trop d'étapes : au plus " + std::to_string(kMaxStops) + ".");
    };
    bool inputRead = false;
    for (const std::string& arg : args) {
        if (arg != "-") {
            add(arg);
            continue;
        }
        if (inputRead) continue;
        inputRead = true;
        std::string line;
        while (std::getline(run.in, line)) add(line.substr(0, line.find('\t')));
    }
    return texts;
}

}  // namespace

void runTour(const Invocation& run) {
    checkClientOptions(run);
    const std::string form = format(run, {"text", "csv", "xlsx", "kml", "gpx"});
    const bool returns = !run.cl.noReturn;
    std::optional<ClientFile> clients;
    if (run.cl.clients) clients.emplace(readClientFile(run, *run.cl.clients));
    const Localities table(run);
    const std::size_t start = table.find(run.args[0]);
    std::optional<ClientPlacing> placing;
    if (run.cl.clients) placing.emplace(run, table.rows(), table.path());
    const std::vector<Locality>& rows = placing ? placing->rows : table.rows();
    std::vector<std::size_t> stops{start};
    std::vector<std::string> labels{rows[start].item()};
    if (placing) {
        labels.front() = placing->placer->officialName(start);
        // Clients of one commune share its point: each is a stop of its own.
        for (ClientStop& stop : clientStops(run, *clients, *placing->placer, kMaxStops)) {
            stops.push_back(stop.row);
            labels.push_back(std::move(stop.label));
        }
        if (stops.size() == 1) fail("aucun client placé à visiter.");
    }
    for (const std::string& text : run.cl.clients ? std::vector<std::string>{} : stopTexts(run)) {
        const std::size_t row = table.find(text);
        if (std::find(stops.begin(), stops.end(), row) != stops.end()) {
            run.err << kProgram << " : note : " << inQuotes(rows[row].item())
                    << (row == start ? " est le départ" : " figure plusieurs fois") << " ; visitée une fois.\n";
            continue;
        }
        stops.push_back(row);
        labels.push_back(rows[row].item());
    }
    if (stops.size() == 1) fail("aucune étape à visiter après " + inQuotes(rows[start].item()) + ".");
    if (stops.size() - 1 > kMaxStops) {
        fail(std::to_string(stops.size() - 1) + " étapes : au plus " + std::to_string(kMaxStops) + ".");
    }

    LegTable legs(stops.size());
    for (std::size_t i = 0; i < stops.size(); ++i) {
        for (std::size_t j = i + 1; j < stops.size(); ++j) legs.set(i, j, kmBetween(rows[stops[i]], rows[stops[j]]));
    }
    std::vector<std::size_t> order = planTour(legs, returns).order;
    if (returns) order.push_back(0);

    // One row per place of the visit, the start first (and last on a round trip).
    struct Visit {
        const Locality* place;
        std::string label;
        double leg, total;
        std::string itinerary;
    };
    std::vector<Visit> visits;
    double total = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const double leg = i ? legs.at(order[i - 1], order[i]) : 0.0;
        total += leg;
        const Locality& here = rows[stops[order[i]]];
        std::string address;
        if (i && run.cl.itineraries) {
            const Locality& before = rows[stops[order[i - 1]]];
            address = itineraryAddress(reworkItem(before.item()), reworkItem(here.item()));
        }
        visits.push_back({&here, labels[order[i]], leg, total, std::move(address)});
    }

    if (form == "text") {
        for (std::size_t i = 1; i < visits.size(); ++i) {
            run.out << i << '\t' << printable(visits[i - 1].label) << '\t' << printable(visits[i].label)
                    << '\t' << decimalComma(visits[i].leg) << '\t' << decimalComma(visits[i].total) << '\n';
            if (run.cl.itineraries) run.out << printable(visits[i].itinerary) << '\n';
        }
        run.out << "Total : " << decimalComma(total) << " km à vol d'oiseau\n";
        return;
    }
    if (form == "csv" || form == "xlsx") {
        SpreadsheetTable table{"Tournée depuis " + rows[start].item(),
                               {{"Étape", CellType::Integer}, {"Localité"}, {"Code postal", CellType::Code},
                                {"Latitude", CellType::Degrees}, {"Longitude", CellType::Degrees},
                                {"Distance depuis l'étape précédente (km)", CellType::Kilometres},
                                {"Distance cumulée (km)", CellType::Kilometres}},
                               {}};
        if (run.cl.clients) table.columns.insert(table.columns.begin() + 1, {"Client"});
        if (run.cl.itineraries) table.columns.push_back({"Itinéraire"});
        for (std::size_t i = 0; i < visits.size(); ++i) {
            const Locality& l = *visits[i].place;
            table.rows.push_back({std::to_string(i), l.name, l.postalCode, frenchDegrees(l.latitude),
                                  frenchDegrees(l.longitude), decimalComma(visits[i].leg),
                                  decimalComma(visits[i].total)});
            if (run.cl.clients) table.rows.back().insert(table.rows.back().begin() + 1, visits[i].label);
            if (run.cl.itineraries) table.rows.back().push_back(visits[i].itinerary);
        }
        writeTable(run, form, table);
        return;
    }
    const std::string title = "Tournée depuis " + rows[start].item() + " : " + decimalComma(total) + " km";
    std::vector<MapPoint> points;
    std::vector<const Locality*> path;
    for (std::size_t i = 0; i < visits.size(); ++i) {
        const Visit& v = visits[i];
        path.push_back(v.place);
        const bool last = returns && i + 1 == visits.size();
        // A round trip ends where it began: on the map, the start once.
        if (form == "kml" && last) continue;
        const std::string description = i ? decimalComma(v.leg) + " km depuis l'étape précédente, " +
                                                decimalComma(v.total) + " km en tout"
                                          : std::string("Départ");
        const std::string link = v.itinerary.empty() ? "" : toBrowserUrl(v.itinerary);
        points.push_back({v.place, std::to_string(i) + ". " + v.label, description, link, i == 0, {}});
    }
    if (form == "kml") {
        writeKml(run.out, title, points, path);
    } else {
        writeGpx(run.out, title, points, true);
    }
}

void runClients(const Invocation& run) {
    // Refused before the file is read: a long read for nothing otherwise.
    if (run.cl.output) {
        std::error_code ec;
        if (std::filesystem::equivalent(*run.cl.output, run.args[0], ec)) {
            fail("la sortie " + inQuotes(*run.cl.output) + " est le fichier des clients.");
        }
    }
    ClientFile file = readClientFile(run, run.args[0]);
    const Localities table(run);
    const ClientPlacing placing(run, table.rows(), table.path());
    runClientsOn(run, file, placing.rows, *placing.placer);
}

}  // namespace localyx::query
