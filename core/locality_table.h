#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace localyx {

/// One locality of the France-wide table.
struct Locality {
    std::string insee;        ///< the INSEE code, e.g. "35238", "2A004"
    std::string name;         ///< as the region lists write it, without its code
    std::string postalCode;   ///< five characters
    std::string departement;  ///< e.g. "35", "2A"
    std::string region;       ///< the region file's base name, e.g. "Bretagne"
    double latitude = 0;      ///< decimal degrees, north positive
    double longitude = 0;     ///< decimal degrees, east positive
    std::int64_t population = -1;  ///< inhabitants; -1 when not known

    /// The list item "NAME-CODE", as the window shows it.
    std::string item() const { return name + "-" + postalCode; }
};

/// The file name of the table, looked for where the region files are.
inline constexpr std::string_view kLocalityTableName = "localites.csv";
/// A table above this size is refused rather than read (the real one is a few MB).
inline constexpr std::uintmax_t kMaxLocalityTableBytes = 64u * 1024u * 1024u;

/// The table, or why it could not be had.
struct LocalityTable {
    std::vector<Locality> rows;    ///< in file order
    std::filesystem::path path;    ///< where it was read (or last looked for)
    std::string error;             ///< French, empty when rows were read
    std::vector<std::string> warnings;  ///< rows skipped, one French line each
    bool ok() const { return error.empty(); }
};

/// Parses the table's text: UTF-8 (a byte-order mark is dropped), ";"
/// separated, the header
/// "insee;nom;code_postal;departement;region;latitude;longitude;population",
/// a cell in double quotes may hold ";". A malformed row is skipped with a
/// warning naming its line; a wrong header is an error. Never throws.
LocalityTable parseLocalityTable(std::string_view text);

/// Reads kLocalityTableName from the first of regionSearchDirs(programDir)
/// that holds it. Never throws, never blocks on a FIFO.
LocalityTable loadLocalityTable(const std::filesystem::path& programDir);

/// Reads a table file given by its path. Never throws.
LocalityTable readLocalityTableAt(const std::filesystem::path& path);

}  // namespace localyx
