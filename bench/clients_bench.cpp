// Speed of the client files: 10,000 rows read from a CSV and from an .xlsx
// and placed on their communes, and the placing index built over the table
// and its names.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/client_placement.h"
#include "core/locality_table.h"
#include "core/name_index.h"
#include "core/region_file.h"
#include "core/exports/spreadsheet.h"
#include "core/sheets/columns.h"
#include "core/sheets/sheet.h"

namespace {

constexpr int kClients = 10'000;

const std::vector<localyx::Locality>& table() {
    static const std::vector<localyx::Locality> rows = [] {
        std::string bytes;
        localyx::readWholeFile(LOCALYX_FRANCE_DIR "/localites.csv", localyx::kMaxLocalityTableBytes, bytes);
        return localyx::parseLocalityTable(bytes).rows;
    }();
    return rows;
}

const localyx::NameIndex& names() {
    static const localyx::TownNames read = localyx::loadTownNames(LOCALYX_FRANCE_DIR);
    static const localyx::NameIndex index(table(), read);
    return index;
}

// Client rows as files carry them: names in capitals or as written, some
// postcodes without their zero, some with CEDEX.
const localyx::SpreadsheetTable& clients() {
    static const localyx::SpreadsheetTable made = [] {
        localyx::SpreadsheetTable t{"Clients", {{"Raison sociale"}, {"Adresse"}, {"CP"}, {"Ville"}}, {}};
        std::mt19937 random(7);
        std::uniform_int_distribution<std::size_t> pick(0, table().size() - 1);
        for (int i = 0; i < kClients; ++i) {
            const localyx::Locality& l = table()[pick(random)];
            std::string postcode = l.postalCode;
            if (i % 5 == 0 && postcode.starts_with('0')) postcode.erase(0, 1);
            std::string town = l.name;
            if (i % 7 == 0) town += " CEDEX";
            t.rows.push_back({"Client " + std::to_string(i), std::to_string(i) + " rue de la Gare", postcode, town});
        }
        return t;
    }();
    return made;
}

std::string csvBytes() {
    std::ostringstream out;
    localyx::writeCsv(out, clients());
    return out.str();
}

std::string xlsxBytes() {
    std::ostringstream out;
    localyx::writeXlsx(out, clients());
    return out.str();
}

void place(benchmark::State& state, const localyx::Sheet& sheet, const localyx::ClientPlacer& placer) {
    const localyx::ColumnLayout layout = localyx::findColumns(sheet.rows.front(), {});
    std::size_t placed = 0;
    for (std::size_t r = 1; r < sheet.rows.size(); ++r) {
        const auto& row = sheet.rows[r];
        const localyx::Placement p = placer.place({row[*layout.at(localyx::ColumnRole::Postcode)],
                                                   row[*layout.at(localyx::ColumnRole::Town)], {}});
        placed += p.placed();
    }
    state.counters["placed"] = static_cast<double>(placed);
}

void BM_PlacerBuilt(benchmark::State& state) {
    for (auto _ : state) {
        const localyx::ClientPlacer placer(names());
        benchmark::DoNotOptimize(&placer);
    }
}
BENCHMARK(BM_PlacerBuilt)->Unit(benchmark::kMillisecond);

void BM_CsvRowsPlaced(benchmark::State& state) {
    const localyx::ClientPlacer placer(names());
    const std::string bytes = csvBytes();
    for (auto _ : state) {
        const localyx::Sheet sheet = localyx::readDelimitedText(bytes);
        place(state, sheet, placer);
    }
}
BENCHMARK(BM_CsvRowsPlaced)->Unit(benchmark::kMillisecond);

void BM_XlsxRowsPlaced(benchmark::State& state) {
    const localyx::ClientPlacer placer(names());
    const std::string bytes = xlsxBytes();
    for (auto _ : state) {
        const localyx::Sheet sheet = localyx::readOfficeFile(bytes);
        place(state, sheet, placer);
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_XlsxRowsPlaced)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
