#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace localyx {

/// What a column holds, for the spreadsheet to keep it right.
enum class CellType {
    Text,
    Code,        ///< postcode, INSEE code, département: text, its zeros kept
    Integer,     ///< e.g. population, shown "12 345"
    Kilometres,  ///< one decimal, "12,3"
    Degrees,     ///< six decimals, "48,117300"
};

struct SpreadsheetColumn {
    std::string header;
    CellType type = CellType::Text;
};

/// A table to write as CSV or .xlsx. Cells are UTF-8 as the CSV shows them:
/// numbers with a decimal comma, empty when unknown.
struct SpreadsheetTable {
    std::string title;  ///< names the .xlsx sheet
    std::vector<SpreadsheetColumn> columns;
    std::vector<std::vector<std::string>> rows;
};

/// The table as a CSV for a French spreadsheet: UTF-8 byte-order mark, ";",
/// code columns always in quotes so that an import keeping quoted fields as
/// text keeps their leading zeros.
void writeCsv(std::ostream& out, const SpreadsheetTable& table);

/// A sheet name Excel accepts: without []:*?/\, at most 31 characters,
/// "Feuille1" when nothing is left.
std::string sheetName(std::string_view title);

/// Writes the table as an .xlsx workbook of one sheet: codes as text cells,
/// numbers as numbers with French display formats, a bold frozen header row,
/// columns sized to their content. A cell that does not read as a number is
/// written as text.
/// @return empty on success, else a French message (the file is then removed).
std::string writeXlsxFile(const std::filesystem::path& path, const SpreadsheetTable& table);

/// The same workbook's bytes onto a stream, through a temporary file.
/// @return empty on success, else a French message.
std::string writeXlsx(std::ostream& out, const SpreadsheetTable& table);

}  // namespace localyx
