#include "core/locality_table.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

#include "core/region_file.h"
#include "core/table_text.h"
#include "core/text_encoding.h"

namespace fs = std::filesystem;

namespace localyx {
namespace {

constexpr std::string_view kHeader =
    "insee;nom;code_postal;departement;region;latitude;longitude;population";
constexpr std::size_t kColumns = 8;

// Splits one line at ";"; a cell in double quotes may hold ";" and doubled quotes.
std::vector<std::string> splitCells(std::string_view line) {
    if (line.find('"') == std::string_view::npos) {  // nearly every line: no copy per character
        std::vector<std::string> cells;
        cells.reserve(kColumns);
        for (std::size_t start = 0;;) {
            const std::size_t end = line.find(';', start);
            cells.emplace_back(line.substr(start, end - start));
            if (end == std::string_view::npos) return cells;
            start = end + 1;
        }
    }
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                cells.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cells.back() += c;
            }
        } else if (c == '"' && cells.back().empty()) {
            quoted = true;
        } else if (c == ';') {
            cells.emplace_back();
        } else {
            cells.back() += c;
        }
    }
    return cells;
}

std::optional<double> decimalCell(std::string_view text) {
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// Why a row cannot be used, or empty.
std::string readRow(const std::vector<std::string>& cells, Locality& row) {
    if (cells.size() != kColumns) {
        return std::to_string(cells.size()) + " colonnes au lieu de " + std::to_string(kColumns);
    }
    for (const std::string& cell : cells) {
        if (!isValidUtf8(cell)) return "texte qui n'est pas de l'UTF-8";
    }
    row.insee = cells[0];
    row.name = cells[1];
    row.postalCode = cells[2];
    row.departement = cells[3];
    row.region = cells[4];
    if (row.insee.empty() || row.name.empty() || row.postalCode.empty()) {
        return "code INSEE, nom ou code postal vide";
    }
    const auto lat = decimalCell(cells[5]);
    const auto lon = decimalCell(cells[6]);
    if (!lat || !lon || std::fabs(*lat) > 90 || std::fabs(*lon) > 180) {
        return "coordonnées illisibles";
    }
    row.latitude = *lat;
    row.longitude = *lon;
    row.population = -1;
    if (!cells[7].empty()) {
        std::int64_t people = 0;
        const std::string& p = cells[7];
        const auto [end, ec] = std::from_chars(p.data(), p.data() + p.size(), people);
        if (ec != std::errc{} || end != p.data() + p.size() || people < 0) return "population illisible";
        row.population = people;
    }
    return {};
}

}  // namespace

LocalityTable parseLocalityTable(std::string_view text) {
    LocalityTable table;
    table.rows.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
    table.error = walkTableText(text, kHeader, table.warnings, [&](std::string_view line) {
        Locality row;
        std::string problem = readRow(splitCells(line), row);
        if (problem.empty()) table.rows.push_back(std::move(row));
        return problem;
    });
    return table;
}

LocalityTable readLocalityTableAt(const fs::path& path) {
    std::string bytes;
    const RegionFileProblem problem = readWholeFile(path, kMaxLocalityTableBytes, bytes);
    LocalityTable table;
    switch (problem) {
    case RegionFileProblem::None:
        table = parseLocalityTable(bytes);
        break;
    case RegionFileProblem::NotFound:
        table.error = "fichier introuvable";
        break;
    case RegionFileProblem::Unreadable:
        table.error = "fichier illisible";
        break;
    case RegionFileProblem::TooLarge:
        table.error = "fichier trop volumineux (plus de " +
                      std::to_string(kMaxLocalityTableBytes / (1024u * 1024u)) + " Mo)";
        break;
    }
    table.path = path;
    return table;
}

LocalityTable loadLocalityTable(const fs::path& programDir) {
    const auto dirs = regionSearchDirs(programDir);
    for (const fs::path& dir : dirs) {
        std::error_code ec;
        const fs::path candidate = dir / kLocalityTableName;
        if (fs::exists(candidate, ec)) return readLocalityTableAt(candidate);
    }
    LocalityTable missing;
    missing.path = dirs.front() / kLocalityTableName;
    missing.error = "fichier introuvable";
    return missing;
}

}  // namespace localyx
