#include <algorithm>
#include <charconv>
#include <map>
#include <optional>
#include <string_view>
#include <system_error>

#include "core/around.h"
#include "core/locality_table.h"
#include "core/name_index.h"
#include "core/tour.h"
#include "core/text_encoding.h"
#include "core/town_resolver.h"
#include "core/web_address.h"
#include "tools/localyx_query/client_file.h"
#include "tools/localyx_query/commands.h"
#include "core/exports/around_files.h"
#include "core/exports/map_formats.h"
#include "core/exports/spreadsheet.h"
#include "tools/localyx_query/map_output.h"
#include "tools/localyx_query/output.h"

namespace localyx::query {
namespace {

constexpr std::size_t kMaxStops = 1000;

// The table with its names and the resolver over both.
class Localities {
public:
    // Without the table, an optional one reads as empty, a required one fails.
    explicit Localities(const Invocation& run, bool required = true)
        : m_table(loadLocalityTable(run.programDir)),
          m_index(m_table.rows, m_table.ok() ? loadTownNames(m_table.path.parent_path()) : TownNames{}),
          m_resolver(m_index),
          m_err(run.err) {
        if (!m_table.ok() && !required) return;
        if (!m_table.ok()) {
            fail("table des localités " + shortened(m_table.path.string()) + " : " + m_table.error + ".");
        }
        warn(m_table.path, m_table.warnings);
        const TownNames& names = m_index.names();
        if (!names.ok()) {
            m_err << kProgram << " : attention : " << shortened(names.path.string()) << " : " << names.error
                  << " ; seuls les noms de la liste sont reconnus.\n";
        }
        warn(names.path, names.warnings);
    }

    const std::vector<Locality>& rows() const { return m_table.rows; }
    const NameIndex& index() const { return m_index; }
    const Locality& place(std::size_t id) const { return m_index.place(id); }
    // How a place is shown: its list item, or a whole city by its name.
    std::string label(std::size_t id) const {
        return m_index.isCity(id) ? std::string(m_index.officialName(id)) : m_index.place(id).item();
    }
    // The official name of a row, for the exports; empty when not known.
    std::string official(const Locality& l) const {
        const auto id = m_index.withInsee(l.insee);
        return id ? std::string(m_index.officialName(*id)) : std::string();
    }

    // A town as people write it (see TownResolver); fails with the
    // candidates or suggestions when it is not one place.
    std::size_t find(std::string_view arg) const {
        const TownMatch match = m_resolver.resolve(arg);
        if (const auto place = single(arg, match)) return *place;
        std::string message = "localité inconnue : " + inQuotes(arg) + ".\n";
        if (!match.suggestions.empty()) {
            message += "Vouliez-vous dire :\n";
            for (std::size_t place : match.suggestions) message += "  " + printable(m_index.place(place).item()) + "\n";
        }
        message += "Une localité s'écrit par son nom (Saint-Malo, « 35400 Saint-Malo »), comme dans la liste "
                   "(SAINT MALO-35400) ou par son code INSEE (35288).";
        fail(message);
    }

    // The place, nothing when unknown; fails when it may be several.
    std::optional<std::size_t> lookUp(std::string_view arg) const { return single(arg, m_resolver.resolve(arg)); }

private:
    std::optional<std::size_t> single(std::string_view arg, const TownMatch& match) const {
        for (const std::string& note : match.notes) m_err << kProgram << " : note : " << printable(note) << '\n';
        if (match.found()) return match.place;
        if (match.kind == TownMatch::Kind::Ambiguous) {
            std::string message = inQuotes(arg) + " désigne " + std::to_string(match.candidates.size()) +
                                  " localités ; ajoutez le code postal ou le département (« Saint-Denis 93 »), "
                                  "ou donnez le code INSEE :";
            for (std::size_t place : match.candidates) {
                const Locality& l = m_index.place(place);
                message += "\n" + printable(l.item()) + "\t" + printable(l.departement) + "\t" +
                           regionCaption(l.region) + "\t" + printable(l.insee);
            }
            fail(message);
        }
        return std::nullopt;
    }

    void warn(const std::filesystem::path& path, const std::vector<std::string>& warnings) const {
        constexpr std::size_t kShown = 3;
        for (std::size_t i = 0; i < warnings.size() && i < kShown; ++i) {
            m_err << kProgram << " : attention : " << shortened(path.string()) << ", " << warnings[i] << ".\n";
        }
        if (const std::size_t more = warnings.size() - std::min(warnings.size(), kShown)) {
            m_err << kProgram << " : attention : et " << more
                  << (more == 1 ? " autre ligne ignorée.\n" : " autres lignes ignorées.\n");
        }
    }

    LocalityTable m_table;
    NameIndex m_index;
    TownResolver m_resolver;
    std::ostream& m_err;
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

// The client file of --clients, read before the table: the two are never in
// memory at their largest together.
std::optional<ClientFile> clientFile(const Invocation& run) {
    if (!run.cl.clients) return std::nullopt;
    return readClientFile(run, *run.cl.clients);
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

}  // namespace

void runAround(const Invocation& run) {
    checkClientOptions(run);
    const double radiusKm = parseKm(run.args[1], 0.1, 1000, "rayon");
    const std::int64_t populationMin = parsePopulation(run.cl.populationMin);
    const std::string form = format(run, {"text", "csv", "xlsx", "geojson", "kml", "gpx", "svg", "png", "pdf"});
    if (run.cl.size && !isMapFormat(form)) usageError("l'option --size ne vaut que pour les formats svg, png et pdf.");
    if (run.cl.clients && run.cl.populationMin) usageError("l'option --population-min ne va pas avec --clients.");
    std::optional<ClientFile> clients = clientFile(run);
    const Localities table(run);
    const std::size_t centre = table.find(run.args[0]);
    if (clients) {
        const ClientPlacer placer(table.index());
        runAroundClients(run, *clients, table.index(), placer, centre, radiusKm, form);
        return;
    }
    const std::vector<Locality>& rows = table.rows();
    const Locality& from = table.place(centre);
    const std::vector<Nearby> found = localitiesAround(rows, from, centre, radiusKm, populationMin);

    if (form == "text") {
        for (const Nearby& n : found) {
            const Locality& l = rows[n.row];
            run.out << printable(l.item()) << '\t' << decimalComma(n.km) << '\t' << regionCaption(l.region)
                    << '\t' << (l.population >= 0 ? std::to_string(l.population) : "") << '\n';
        }
        return;
    }
    if (isMapFormat(form)) {
        render::MapScene scene;
        scene.title = "Localités à " + decimalComma(radiusKm) + " km de " + table.label(centre);
        scene.note = localityCount(found.size());
        scene.circle = render::SearchCircle{from.latitude, from.longitude, radiusKm};
        scene.places.push_back({from.latitude, from.longitude, table.label(centre), from.population, render::PlaceRole::Centre});
        for (const Nearby& n : found) {
            const Locality& l = rows[n.row];
            scene.places.push_back({l.latitude, l.longitude, l.name, l.population, render::PlaceRole::Locality});
        }
        writeMap(run, form, scene);
        return;
    }
    AroundAnswer answer{&from, radiusKm, {}, {}, table.label(centre), table.official(from), {}};
    for (const Nearby& n : found) {
        answer.found.push_back(&rows[n.row]);
        answer.kms.push_back(n.km);
        answer.officialNames.push_back(table.official(rows[n.row]));
    }
    const AroundFormat written = form == "csv"       ? AroundFormat::Csv
                                 : form == "xlsx"    ? AroundFormat::Xlsx
                                 : form == "geojson" ? AroundFormat::GeoJson
                                 : form == "kml"     ? AroundFormat::Kml
                                                     : AroundFormat::Gpx;
    writeAround(run.out, written, answer);
    if (written == AroundFormat::Xlsx && !run.out) fail("écriture du classeur impossible.");
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
    const std::string form = format(run, {"text", "csv", "xlsx", "kml", "gpx", "svg", "png", "pdf"});
    if (run.cl.size && !isMapFormat(form)) usageError("l'option --size ne vaut que pour les formats svg, png et pdf.");
    const bool returns = !run.cl.noReturn;
    std::optional<ClientFile> clients = clientFile(run);
    const Localities table(run);
    const std::size_t start = table.find(run.args[0]);
    std::vector<std::size_t> stops{start};
    // How each stop is shown: its place, or the client visited there; and on a map.
    std::vector<std::string> labels{table.label(start)};
    std::vector<std::string> mapLabels{table.place(start).item()};
    if (clients) {
        const ClientPlacer placer(table.index());
        // Clients of one commune share its point: each is a stop of its own.
        for (ClientStop& stop : clientStops(run, *clients, placer, kMaxStops)) {
            stops.push_back(stop.place);
            labels.push_back(std::move(stop.label));
            mapLabels.push_back(std::move(stop.mapLabel));
        }
        if (stops.size() == 1) fail("aucun client placé à visiter.");
    }
    for (const std::string& text : clients ? std::vector<std::string>{} : stopTexts(run)) {
        const std::size_t row = table.find(text);
        if (std::find(stops.begin(), stops.end(), row) != stops.end()) {
            run.err << kProgram << " : note : " << inQuotes(table.label(row))
                    << (row == start ? " est le départ" : " figure plusieurs fois") << " ; visitée une fois.\n";
            continue;
        }
        stops.push_back(row);
        labels.push_back(table.label(row));
        mapLabels.push_back(table.place(row).name);
    }
    if (stops.size() == 1) fail("aucune étape à visiter après " + inQuotes(table.label(start)) + ".");
    if (stops.size() - 1 > kMaxStops) {
        fail(std::to_string(stops.size() - 1) + " étapes : au plus " + std::to_string(kMaxStops) + ".");
    }

    LegTable legs(stops.size());
    for (std::size_t i = 0; i < stops.size(); ++i) {
        for (std::size_t j = i + 1; j < stops.size(); ++j) legs.set(i, j, kmBetween(table.place(stops[i]), table.place(stops[j])));
    }
    const TourPlan plan = planTour(legs, returns);
    std::vector<std::size_t> order = plan.order;
    if (returns) order.push_back(0);

    // One row per place of the visit, the start first (and last on a round trip).
    struct Visit {
        std::size_t id;
        const Locality* place;
        std::string label, mapLabel;
        double leg, total;
        std::string itinerary;
    };
    std::vector<Visit> visits;
    double total = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const double leg = i ? legs.at(order[i - 1], order[i]) : 0.0;
        total += leg;
        const Locality& here = table.place(stops[order[i]]);
        std::string address;
        if (i && (run.cl.itineraries || form == "pdf")) {
            const Locality& before = table.place(stops[order[i - 1]]);
            address = itineraryAddress(reworkItem(before.item()), reworkItem(here.item()));
        }
        visits.push_back(
            {stops[order[i]], &here, labels[order[i]], mapLabels[order[i]], leg, total, std::move(address)});
    }

    if (form == "text") {
        for (std::size_t i = 1; i < visits.size(); ++i) {
            run.out << i << '\t' << printable(visits[i - 1].label) << '\t' << printable(visits[i].label)
                    << '\t' << decimalComma(visits[i].leg) << '\t' << decimalComma(visits[i].total) << '\n';
            if (run.cl.itineraries) run.out << printable(visits[i].itinerary) << '\n';
        }
        run.out << "Total : " << decimalComma(total) << " km à vol d'oiseau"
                << (plan.exact ? " (ordre optimal)\n" : " (ordre optimisé)\n");
        return;
    }
    if (form == "csv" || form == "xlsx") {
        SpreadsheetTable sheet{"Tournée depuis " + table.label(start),
                               {{"Étape", CellType::Integer}, {"Localité"}, {"Code postal", CellType::Code},
                                {"Latitude", CellType::Degrees}, {"Longitude", CellType::Degrees},
                                {"Distance depuis l'étape précédente (km)", CellType::Kilometres},
                                {"Distance cumulée (km)", CellType::Kilometres}, {"Nom officiel"}},
                               {}};
        if (clients) sheet.columns.insert(sheet.columns.begin() + 1, {"Client"});
        if (run.cl.itineraries) sheet.columns.push_back({"Itinéraire"});
        for (std::size_t i = 0; i < visits.size(); ++i) {
            const Locality& l = *visits[i].place;
            std::vector<std::string> cells{std::to_string(i), l.name, l.postalCode, frenchDegrees(l.latitude),
                                           frenchDegrees(l.longitude), decimalComma(visits[i].leg),
                                           decimalComma(visits[i].total),
                                           std::string(table.index().officialName(visits[i].id))};
            if (clients) cells.insert(cells.begin() + 1, visits[i].label);
            if (run.cl.itineraries) cells.push_back(visits[i].itinerary);
            sheet.rows.push_back(std::move(cells));
        }
        writeTable(run, form, sheet);
        return;
    }
    const std::string title = "Tournée depuis " + table.label(start) + " : " + decimalComma(total) + " km";
    if (isMapFormat(form)) {
        render::MapScene scene;
        scene.title = title;
        // One place per locality: a round trip ends on the start's marker, and
        // clients of one commune share one disc, numbered for the first of them.
        const std::size_t places = returns ? visits.size() - 1 : visits.size();
        std::map<std::size_t, std::pair<std::size_t, std::size_t>> byPlace;  // locality -> scene index, stops
        constexpr std::size_t kStartKey = static_cast<std::size_t>(-1);    // the start apart: no locality's id
        for (std::size_t i = 0; i < places; ++i) {
            const Locality& l = *visits[i].place;
            const auto [at, added] = byPlace.try_emplace(i ? visits[i].id : kStartKey, scene.places.size(), 0);
            if (added) {
                scene.places.push_back({l.latitude, l.longitude, visits[i].mapLabel, l.population,
                                        i ? render::PlaceRole::Stop : render::PlaceRole::Start, static_cast<int>(i)});
            }
            ++at->second.second;
            scene.path.push_back(at->second.first);
        }
        for (const auto& [id, shown] : byPlace) {
            if (shown.second > 1) scene.places[shown.first].label += " +" + std::to_string(shown.second - 1);
        }
        if (returns) scene.path.push_back(0);
        if (form != "pdf") {
            writeMap(run, form, scene);
            return;
        }
        render::RouteSheet sheet;
        sheet.date = frenchToday();
        sheet.start = table.label(start);
        sheet.stops = stops.size() - 1;
        sheet.totalKm = total;
        sheet.map = std::move(scene);
        for (std::size_t i = 0; i < visits.size(); ++i) {
            const Visit& v = visits[i];
            const std::string link = v.itinerary.empty() ? "" : toBrowserUrl(v.itinerary);
            // A client's row names the client, its commune under it.
            const bool client = clients && i && !(returns && i + 1 == visits.size());
            const std::string_view official = table.index().officialName(v.id);
            const std::string commune = official.empty() ? v.place->name : std::string(official);
            sheet.rows.push_back({static_cast<int>(i), client ? v.label : v.place->name, client ? commune : "",
                                  v.place->postalCode, v.place->population, v.leg, v.total, link});
        }
        writeRouteSheet(run, std::move(sheet));
        return;
    }
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
        points.push_back({v.place, std::to_string(i) + ". " + v.label, description, link, i == 0,
                          std::string(table.index().officialName(v.id))});
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
    const ClientPlacer placer(table.index());
    runClientsOn(run, file, table.index(), placer);
}

std::vector<std::string> asListItems(const Invocation& run, const std::vector<std::string>& texts) {
    // NAME-CODE is what the window works with: taken as it is, without the table.
    const auto itemShaped = [](const std::string& text) {
        const std::size_t length = utf8Length(text);
        return length > 6 && utf8Substr(text, length - 6, 1) == "-";
    };
    if (std::all_of(texts.begin(), texts.end(), itemShaped)) return texts;
    const Localities table(run, false);
    std::vector<std::string> items;
    for (const std::string& text : texts) {
        const auto place = itemShaped(text) ? std::nullopt : table.lookUp(text);
        items.push_back(place ? table.place(*place).item() : text);
    }
    return items;
}

}  // namespace localyx::query
