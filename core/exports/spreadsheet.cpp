#include "core/exports/spreadsheet.h"

#include <stdlib.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <system_error>

#include "core/text_encoding.h"
#include "core/exports/text_cells.h"

namespace localyx {
namespace {

constexpr std::size_t kMaxCellChars = 32'767;  // Excel's own limit
constexpr double kMaxColumnWidth = 60;

// "12,3" or "-4.48" as a number; false for anything else, however close.
bool readNumber(std::string_view text, double& value) {
    std::string plain(text);
    std::replace(plain.begin(), plain.end(), ',', '.');
    if (plain.empty() || plain.find_first_not_of("-.0123456789") != std::string::npos) return false;
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    return ec == std::errc{} && end == plain.data() + plain.size();
}

std::string displayFormat(CellType type) {
    switch (type) {
    case CellType::Integer: return "#,##0";
    case CellType::Kilometres: return "0.0";
    case CellType::Degrees: return "0.000000";
    default: return "@";
    }
}

}  // namespace

void writeCsv(std::ostream& out, const SpreadsheetTable& table) {
    out << kUtf8Bom;
    std::vector<std::string> header;
    for (const SpreadsheetColumn& c : table.columns) header.push_back(c.header);
    writeCsvLine(out, header);
    std::vector<bool> quoted;
    for (const SpreadsheetColumn& c : table.columns) quoted.push_back(c.type == CellType::Code);
    for (const auto& row : table.rows) writeCsvLine(out, row, quoted);
}

std::string sheetName(std::string_view title) {
    std::string name;
    for (char c : title) {
        if (std::string_view("[]:*?/\\").find(c) == std::string_view::npos) name += c;
    }
    name = utf8Substr(name, 0, 31);
    // Excel refuses a name that begins or ends with an apostrophe.
    while (!name.empty() && name.front() == '\'') name.erase(0, 1);
    while (!name.empty() && name.back() == '\'') name.pop_back();
    return name.empty() ? "Feuille1" : name;
}

std::string writeXlsxFile(const std::filesystem::path& path, const SpreadsheetTable& table) {
    lxw_workbook* book = workbook_new(path.c_str());
    if (!book) return "impossible de créer " + shortened(path.string()) + ".";
    const std::string name = sheetName(table.title);
    lxw_worksheet* sheet = workbook_add_worksheet(book, name.c_str());
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    std::vector<lxw_format*> formats;
    for (const SpreadsheetColumn& column : table.columns) {
        lxw_format* f = workbook_add_format(book);
        format_set_num_format(f, displayFormat(column.type).c_str());
        formats.push_back(f);
    }
    std::vector<double> widths(table.columns.size(), 0);
    const auto cut = [](std::string_view text) {
        return utf8Length(text) > kMaxCellChars ? utf8Substr(text, 0, kMaxCellChars) : std::string(text);
    };
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        const std::string header = cut(printable(table.columns[c].header));
        worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), header.c_str(), bold);
        widths[c] = static_cast<double>(utf8Length(header)) + 2;
    }
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const auto row = static_cast<lxw_row_t>(r + 1);
        for (std::size_t c = 0; c < table.rows[r].size() && c < table.columns.size(); ++c) {
            const std::string& cell = table.rows[r][c];
            const auto col = static_cast<lxw_col_t>(c);
            double value = 0;
            const CellType type = table.columns[c].type;
            if (cell.empty()) continue;
            if (type != CellType::Text && type != CellType::Code && readNumber(cell, value)) {
                worksheet_write_number(sheet, row, col, value, formats[c]);
            } else {
                const std::string text = cut(printable(cell));
                worksheet_write_string(sheet, row, col, text.c_str(), formats[c]);
            }
            widths[c] = std::max(widths[c], static_cast<double>(utf8Length(cell)) + 2);
        }
    }
    for (std::size_t c = 0; c < widths.size(); ++c) {
        worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                             std::min(widths[c], kMaxColumnWidth), nullptr);
    }
    worksheet_freeze_panes(sheet, 1, 0);
    if (workbook_close(book) != LXW_NO_ERROR) {
        std::error_code ec;
        std::filesystem::remove(path, ec);
        return "impossible d'écrire " + shortened(path.string()) + ".";
    }
    return {};
}

std::string writeXlsx(std::ostream& out, const SpreadsheetTable& table) {
    std::string pattern = (std::filesystem::temp_directory_path() / "localyx-XXXXXX.xlsx").string();
    const int fd = ::mkstemps(pattern.data(), 5);
    if (fd < 0) return "impossible de créer un fichier temporaire.";
    ::close(fd);
    const std::filesystem::path temp = pattern;
    std::string error = writeXlsxFile(temp, table);
    if (error.empty()) {
        std::ifstream in(temp, std::ios::binary);
        out << in.rdbuf();
        if (!out) error = "écriture de la sortie impossible.";
    }
    std::error_code ec;
    std::filesystem::remove(temp, ec);
    return error;
}

}  // namespace localyx
