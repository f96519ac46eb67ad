#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "core/locality_table.h"
#include "core/exports/spreadsheet.h"

namespace localyx {

/// The localities found around a town, as the files of a search write them.
struct AroundAnswer {
    const Locality* centre = nullptr;
    double radiusKm = 0;                  ///< the radius asked for, km
    std::vector<const Locality*> found;   ///< nearest first, the centre not among them
    std::vector<double> kms;              ///< each found locality's distance to the centre, km
    std::string centreLabel;              ///< how the files name the centre; its item when empty
    std::string centreOfficialName;       ///< the name people know, empty when unknown
    std::vector<std::string> officialNames;  ///< the same for each found locality; may be left empty
};

enum class AroundFormat { Csv, Xlsx, GeoJson, Kml, Gpx };

/// The found localities as a table for a spreadsheet (see writeCsv, writeXlsx):
/// codes as codes, numbers as numbers, the sheet named after the search.
SpreadsheetTable aroundSheet(const AroundAnswer& answer);

/// Writes the answer in one format: a spreadsheet CSV (UTF-8 with its mark,
/// ";" separated, decimal commas, the codes in quotes) or .xlsx workbook of
/// the found localities, or a GeoJSON, KML
/// or GPX file of the centre and the found localities; the official names,
/// when given, go beside the list items (a CSV column « Nom officiel »). The stream's state
/// tells whether it was written.
void writeAround(std::ostream& out, AroundFormat format, const AroundAnswer& answer);

}  // namespace localyx
