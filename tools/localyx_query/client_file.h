#pragma once

#include <string>
#include <vector>

#include "core/client_placement.h"
#include "core/name_index.h"
#include "core/sheets/columns.h"
#include "core/sheets/sheet.h"
#include "tools/localyx_query/commands.h"

namespace localyx::query {

/// A client file read and placed, row by row.
struct ClientFile {
    std::string path;
    Sheet sheet;
    ColumnLayout layout;
    std::vector<std::string> header;             ///< the file's header row, or "Colonne N"
    std::vector<std::vector<std::string>> rows;  ///< the data rows, as wide as the header
    std::vector<Placement> placements;           ///< one per data row

    /// The client's name for a list: its name column, else "ligne N".
    std::string label(std::size_t row) const;
    /// The client's name for a map: its name column, else its commune.
    std::string mapLabel(std::size_t row, const ClientPlacer& placer) const;
    /// The file's line or row number of a data row, 1-based.
    std::size_t lineNumber(std::size_t row) const { return row + (layout.headerRow ? 2 : 1); }
};

/// Reads a client file with the reading options of the command line, before
/// the table is loaded: the two are never in memory at their largest together.
/// Fails (exit 1) when the file cannot be read or has no postcode, town or
/// INSEE column; a wrong reading option is a usage error.
ClientFile readClientFile(const Invocation& run, const std::string& path);

/// Places every row of the file.
void placeClients(ClientFile& file, const ClientPlacer& placer);

/// The French summary of a placed file on standard error.
void writeClientSummary(const Invocation& run, const ClientFile& file);

/// around --clients: the placed clients within km of the centre row, nearest first.
void runAroundClients(const Invocation& run, ClientFile& file, const NameIndex& places, const ClientPlacer& placer,
                      std::size_t centre, double radiusKm, const std::string& form);

/// A stop of a tour through clients: its place and the client's name.
struct ClientStop {
    std::size_t place;
    std::string label;     ///< as ClientFile::label
    std::string mapLabel;  ///< as ClientFile::mapLabel
};

/// tour --clients: every placed client (at most `max`), or those named on
/// standard input when stops are given there ("-"), by their name column.
std::vector<ClientStop> clientStops(const Invocation& run, ClientFile& file, const ClientPlacer& placer, std::size_t max);

/// The clients command over the table's rows.
void runClientsOn(const Invocation& run, ClientFile& file, const NameIndex& places, const ClientPlacer& placer);

}  // namespace localyx::query
