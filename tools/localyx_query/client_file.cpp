#include "tools/localyx_query/client_file.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <system_error>

#include "core/around.h"
#include "core/exports/map_formats.h"
#include "core/exports/spreadsheet.h"
#include "tools/localyx_query/map_output.h"
#include "tools/localyx_query/output.h"

namespace localyx::query {
namespace {

namespace fs = std::filesystem;

SheetOptions readingOptions(const CommandLine& cl) {
    SheetOptions options;
    options.sheet = cl.sheet;
    if (cl.encoding) {
        std::string e = *cl.encoding;
        std::transform(e.begin(), e.end(), e.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; });
        if (e == "utf8") e = "utf-8";
        if (e == "cp1252" || e == "windows1252" || e == "latin1" || e == "latin-1" || e == "iso-8859-1") e = "windows-1252";
        if (e == "utf16" || e == "utf-16le" || e == "unicode") e = "utf-16";
        if (e != "utf-8" && e != "windows-1252" && e != "utf-16") {
            usageError("codage inconnu : " + inQuotes(*cl.encoding) + " ; codages possibles : utf-8, windows-1252, utf-16.");
        }
        options.encoding = e;
    }
    if (cl.separator) {
        const std::string& s = *cl.separator;
        if (s == ";" || s == "," || s == "|") {
            options.separator = s[0];
        } else if (s == "tab" || s == "\t" || s == "\\t" || s == "tabulation") {
            options.separator = '\t';
        } else {
            usageError("séparateur inconnu : " + inQuotes(s) + " ; séparateurs possibles : ';', ',', tab, '|'.");
        }
    }
    return options;
}

std::vector<ColumnChoice> columnChoices(const CommandLine& cl) {
    std::vector<ColumnChoice> choices;
    for (const std::string& text : cl.columns) {
        const auto choice = parseColumnChoice(text);
        if (!choice) {
            usageError("--column attend RÔLE=EN-TÊTE ou RÔLE=NUMÉRO, RÔLE étant code-postal, ville, insee ou nom : " +
                       inQuotes(text) + ".");
        }
        choices.push_back(*choice);
    }
    return choices;
}

std::string columnCaption(const ClientFile& file, ColumnRole role) {
    const auto at = file.layout.at(role);
    if (!at) return {};
    return std::string(roleWord(role)) + " " + inQuotes(*at < file.header.size() ? file.header[*at] : "?");
}

}  // namespace

std::string ClientFile::label(std::size_t row) const {
    if (const auto name = layout.at(ColumnRole::Name); name && !rows[row][*name].empty()) return rows[row][*name];
    return "ligne " + std::to_string(lineNumber(row));
}

std::string ClientFile::mapLabel(std::size_t row, const ClientPlacer& placer) const {
    if (const auto name = layout.at(ColumnRole::Name); name && !rows[row][*name].empty()) return rows[row][*name];
    return placements[row].placed() ? placer.officialName(placements[row].place) : label(row);
}

ClientFile readClientFile(const Invocation& run, const std::string& path) {
    const SheetOptions options = readingOptions(run.cl);
    const std::vector<ColumnChoice> choices = columnChoices(run.cl);
    ClientFile file;
    file.path = path;
    file.sheet = readSheetFile(path, options);
    if (!file.sheet.ok()) fail(shortened(path) + " : " + file.sheet.error);
    if (file.sheet.rows.empty()) fail(shortened(path) + " : fichier vide.");
    file.layout = findColumns(file.sheet.rows.front(), choices);
    if (!file.layout.error.empty()) fail(shortened(path) + " : " + file.layout.error);

    std::size_t width = 0;
    for (const auto& row : file.sheet.rows) width = std::max(width, row.size());
    for (std::size_t r = 0; r < kColumnRoles; ++r) {
        if (file.layout.columns[r] && *file.layout.columns[r] >= width) {
            fail(shortened(path) + " : la colonne " + std::to_string(*file.layout.columns[r] + 1) +
                 " n'existe pas ; le fichier en a " + std::to_string(width) + ".");
        }
    }
    auto& all = file.sheet.rows;
    if (file.layout.headerRow) {
        file.header = all.front();
    }
    file.header.resize(width);
    for (std::size_t c = 0; c < width; ++c) {
        if (file.header[c].empty() && !file.layout.headerRow) file.header[c] = "Colonne " + std::to_string(c + 1);
    }
    file.rows.assign(std::make_move_iterator(all.begin() + (file.layout.headerRow ? 1 : 0)), std::make_move_iterator(all.end()));
    all.clear();
    for (auto& row : file.rows) row.resize(width);
    return file;
}

void placeClients(ClientFile& file, const ClientPlacer& placer) {
    const auto cell = [&](const std::vector<std::string>& row, ColumnRole role) {
        const auto at = file.layout.at(role);
        return at ? row[*at] : std::string();
    };
    file.placements.clear();
    file.placements.reserve(file.rows.size());
    for (const auto& row : file.rows) {
        file.placements.push_back(placer.place(
            {cell(row, ColumnRole::Postcode), cell(row, ColumnRole::Town), cell(row, ColumnRole::Insee)}));
    }
}

void writeClientSummary(const Invocation& run, const ClientFile& file) {
    std::map<PlacementStatus, std::size_t> byStatus;
    std::map<PlacementRule, std::size_t> byRule;
    for (const Placement& p : file.placements) {
        ++byStatus[p.status];
        if (p.rule != PlacementRule::None && p.rule != PlacementRule::Nothing) ++byRule[p.rule];
    }
    const std::size_t n = file.rows.size();
    run.err << kProgram << " : " << shortened(file.path) << " : " << n << (n > 1 ? " lignes lues" : " ligne lue") << " (";
    if (file.sheet.format == "CSV") {
        run.err << "texte " << file.sheet.encoding << ", séparateur " << separatorName(file.sheet.separator);
    } else {
        run.err << file.sheet.format << ", feuille " << inQuotes(file.sheet.sheetName);
    }
    run.err << (file.layout.headerRow ? "" : ", sans ligne d'en-tête") << ").\n  Colonnes :";
    bool first = true;
    for (ColumnRole role : {ColumnRole::Postcode, ColumnRole::Town, ColumnRole::Insee, ColumnRole::Name}) {
        const std::string caption = columnCaption(file, role);
        if (caption.empty()) continue;
        run.err << (first ? " " : ", ") << caption;
        first = false;
    }
    run.err << ".\n  Statuts :";
    first = true;
    for (PlacementStatus s : {PlacementStatus::Found, PlacementStatus::ToCheck, PlacementStatus::Ambiguous,
                              PlacementStatus::NotFound, PlacementStatus::Empty}) {
        run.err << (first ? " " : ", ") << statusWord(s) << " " << byStatus[s];
        first = false;
    }
    run.err << ".\n";
    if (!byRule.empty()) {
        run.err << "  Règles :";
        first = true;
        for (const auto& [rule, count] : byRule) {
            run.err << (first ? " " : ", ") << ruleWords(rule) << " " << count;
            first = false;
        }
        run.err << ".\n";
    }
}

void runAroundClients(const Invocation& run, ClientFile& file, const NameIndex& places, const ClientPlacer& placer,
                      std::size_t centre, double radiusKm, const std::string& form) {
    placeClients(file, placer);
    struct Near {
        std::size_t client;
        double km;
    };
    std::vector<Near> found;
    for (std::size_t i = 0; i < file.rows.size(); ++i) {
        const Placement& p = file.placements[i];
        if (!p.placed()) continue;
        const double km = kmBetween(places.place(centre), places.place(p.place));
        if (km <= radiusKm) found.push_back({i, km});
    }
    std::stable_sort(found.begin(), found.end(), [](const Near& a, const Near& b) { return a.km < b.km; });
    writeClientSummary(run, file);

    const Locality& from = places.place(centre);
    const std::string title = "Clients à " + decimalComma(radiusKm) + " km de " + placer.officialName(centre);
    if (form == "text") {
        for (const Near& n : found) {
            run.out << printable(file.label(n.client)) << '\t' << printable(placer.officialName(file.placements[n.client].place))
                    << '\t' << decimalComma(n.km) << '\n';
        }
        return;
    }
    if (form == "csv" || form == "xlsx") {
        SpreadsheetTable out{title, {}, {}};
        for (std::size_t c = 0; c < file.header.size(); ++c) {
            const bool code = file.layout.at(ColumnRole::Postcode) == c || file.layout.at(ColumnRole::Insee) == c;
            out.columns.push_back({file.header[c], code ? CellType::Code : CellType::Text});
        }
        out.columns.push_back({"Distance (km)", CellType::Kilometres});
        for (const Near& n : found) {
            out.rows.push_back(file.rows[n.client]);
            out.rows.back().push_back(decimalComma(n.km));
        }
        if (form == "csv") {
            writeCsv(run.out, out);
        } else if (const std::string error = writeXlsx(run.out, out); !error.empty()) {
            fail(error);
        }
        return;
    }
    if (isMapFormat(form)) {
        render::MapScene scene;
        scene.title = title;
        scene.note = clientCount(found.size());
        scene.circle = render::SearchCircle{from.latitude, from.longitude, radiusKm};
        scene.places.push_back({from.latitude, from.longitude, placer.officialName(centre), from.population,
                                render::PlaceRole::Centre});
        // Clients of one commune share its point: one marker, the first name and how many more.
        std::map<std::size_t, std::pair<std::size_t, std::size_t>> byPlace;  // place -> scene index, clients
        for (const Near& n : found) {
            const std::size_t row = file.placements[n.client].place;
            const auto [at, added] = byPlace.try_emplace(row, scene.places.size(), 0);
            if (added) {
                const Locality& l = places.place(row);
                scene.places.push_back({l.latitude, l.longitude, file.mapLabel(n.client, placer), l.population,
                                        render::PlaceRole::Client});
            }
            ++at->second.second;
        }
        for (const auto& [row, shown] : byPlace) {
            if (shown.second > 1) scene.places[shown.first].label += " +" + std::to_string(shown.second - 1);
        }
        writeMap(run, form, scene);
        return;
    }
    std::vector<MapPoint> points{{&from, placer.officialName(centre), "Centre de la recherche", "", true, {}}};
    std::vector<double> kms{0.0};
    for (const Near& n : found) {
        const std::size_t row = file.placements[n.client].place;
        MapPoint point{&places.place(row), file.label(n.client), decimalComma(n.km) + " km", "", false, {}};
        const auto name = file.layout.at(ColumnRole::Name);
        for (std::size_t c = 0; c < file.header.size(); ++c) {
            if (c == name || file.rows[n.client][c].empty()) continue;
            point.properties.emplace_back(file.header[c], file.rows[n.client][c]);
            point.description += " ; " + file.header[c] + " : " + file.rows[n.client][c];
        }
        point.properties.emplace_back("commune", placer.officialName(row));
        point.properties.emplace_back("insee", places.place(row).insee);
        points.push_back(std::move(point));
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

std::vector<ClientStop> clientStops(const Invocation& run, ClientFile& file, const ClientPlacer& placer,
                                    std::size_t max) {
    placeClients(file, placer);
    writeClientSummary(run, file);
    std::vector<ClientStop> stops;
    const std::vector<std::string> named(run.args.begin() + 1, run.args.end());
    if (named.empty()) {
        for (std::size_t i = 0; i < file.rows.size(); ++i) {
            if (!file.placements[i].placed()) continue;
            stops.push_back({file.placements[i].place, file.label(i), file.mapLabel(i, placer)});
        }
        if (stops.size() > max) {
            fail(std::to_string(stops.size()) + " clients placés : au plus " + std::to_string(max) +
                 " par tournée ; donnez ceux à visiter sur l'entrée standard (tour DÉPART - --clients FICHIER).");
        }
        return stops;
    }
    if (named.size() != 1 || named.front() != "-") {
        usageError("avec --clients, les clients à visiter se donnent sur l'entrée standard, un nom par ligne (tour DÉPART -).");
    }
    const auto key = [](std::string_view text) { return placeKey(text); };
    std::string line;
    while (std::getline(run.in, line)) {
        const std::string wanted = key(line.substr(0, line.find('\t')));
        if (wanted.empty()) continue;
        std::vector<std::size_t> matches;
        for (std::size_t i = 0; i < file.rows.size(); ++i) {
            if (key(file.label(i)) == wanted) matches.push_back(i);
        }
        if (matches.empty()) fail("client inconnu dans " + shortened(file.path) + " : " + inQuotes(line) + ".");
        for (std::size_t i : matches) {
            if (!file.placements[i].placed()) {
                fail("le client " + inQuotes(file.label(i)) + " (ligne " + std::to_string(file.lineNumber(i)) +
                     ") n'est pas placé : " + std::string(statusWord(file.placements[i].status)) + ".");
            }
            stops.push_back({file.placements[i].place, file.label(i), file.mapLabel(i, placer)});
        }
        if (stops.size() > max) fail("trop d'étapes : au plus " + std::to_string(max) + ".");
    }
    return stops;
}

void runClientsOn(const Invocation& run, ClientFile& file, const NameIndex& places, const ClientPlacer& placer) {
    const std::string& path = file.path;
    const bool xlsx = run.cl.output && fs::path(*run.cl.output).extension() == ".xlsx";
    placeClients(file, placer);

    SpreadsheetTable out;
    out.title = fs::path(path).stem().string();
    for (std::size_t c = 0; c < file.header.size(); ++c) {
        const bool code = file.layout.at(ColumnRole::Postcode) == c || file.layout.at(ColumnRole::Insee) == c;
        out.columns.push_back({file.header[c], code ? CellType::Code : CellType::Text});
    }
    for (const SpreadsheetColumn& c : std::vector<SpreadsheetColumn>{
             {"Statut"}, {"Règle"}, {"Code INSEE", CellType::Code}, {"Commune"}, {"Code postal", CellType::Code},
             {"Latitude", CellType::Degrees}, {"Longitude", CellType::Degrees}, {"Corrections"}, {"Suggestions"}}) {
        out.columns.push_back(c);
    }
    const auto joinedList = [](const std::vector<std::string>& list) {
        std::string text;
        for (const std::string& s : list) text += (text.empty() ? "" : " | ") + s;
        return text;
    };
    const auto postcodeColumn = file.layout.at(ColumnRole::Postcode);
    for (std::size_t r = 0; r < file.rows.size(); ++r) {
        const Placement& p = file.placements[r];
        std::vector<std::string> cells = std::move(file.rows[r]);
        cells.emplace_back(statusWord(p.status));
        cells.emplace_back(ruleWords(p.rule));
        if (p.placed()) {
            const Locality& l = places.place(p.place);
            std::string lat = degrees(l.latitude), lon = degrees(l.longitude);
            std::replace(lat.begin(), lat.end(), '.', ',');
            std::replace(lon.begin(), lon.end(), '.', ',');
            const std::string given = postcodeColumn ? cells[*postcodeColumn] : std::string();
            for (std::string value : {l.insee, placer.officialName(p.place), placer.postcodeFor(p.place, given), lat, lon}) {
                cells.push_back(std::move(value));
            }
        } else {
            cells.insert(cells.end(), 5, std::string());
        }
        cells.push_back(joinedList(p.corrections));
        cells.push_back(joinedList(p.suggestions));
        out.rows.push_back(std::move(cells));
    }

    if (!run.cl.output) {
        writeCsv(run.out, out);
        writeClientSummary(run, file);
        return;
    }
    // Written beside the target and renamed: a failed run leaves nothing behind.
    const fs::path target = *run.cl.output;
    fs::path temp = target;
    temp += ".localyx-" + std::to_string(::getpid());
    std::string error;
    if (xlsx) {
        error = writeXlsxFile(temp, out);
    } else {
        std::ofstream stream(temp, std::ios::binary);
        writeCsv(stream, out);
        stream.close();
        if (!stream) error = "impossible d'écrire " + shortened(target.string()) + ".";
    }
    std::error_code ec;
    if (error.empty()) {
        fs::rename(temp, target, ec);
        if (ec) error = "impossible d'écrire " + shortened(target.string()) + " : " + ec.message() + ".";
    }
    if (!error.empty()) {
        fs::remove(temp, ec);
        fail(error);
    }
    writeClientSummary(run, file);
}

}  // namespace localyx::query
