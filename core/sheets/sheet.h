#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace localyx {

/// How to read a spreadsheet; what is not given is found from the file.
struct SheetOptions {
    std::optional<std::string> sheet;     ///< a sheet's name or its 1-based number (.xlsx, .ods)
    std::optional<std::string> encoding;  ///< "utf-8", "windows-1252" or "utf-16" (text files)
    std::optional<char> separator;        ///< ';', '\t', ',' or '|' (text files)
};

/// The rows of one sheet, every cell UTF-8 as the spreadsheet shows it, and
/// how the file was read.
struct Sheet {
    std::vector<std::vector<std::string>> rows;
    std::string format;     ///< "CSV", "XLSX" or "ODS"
    std::string encoding;   ///< "UTF-8", "UTF-16LE", "UTF-16BE", "Windows-1252" (text files)
    char separator = 0;     ///< text files only
    std::string sheetName;  ///< office files only
    std::string error;      ///< French, empty when the rows were read
    bool ok() const { return error.empty(); }
};

/// Caps against hostile or mistaken files; no client file comes near them.
/// The file itself: decoded (up to three times larger) and split into cells,
/// a text file at the cap still takes less than 300 MB.
inline constexpr std::uintmax_t kMaxSheetFileBytes = 32u * 1024u * 1024u;
inline constexpr std::size_t kMaxSheetCells = 2'000'000;    ///< cells of the sheet read
inline constexpr std::size_t kMaxCellChars = 32'767;        ///< a spreadsheet cell's own limit
inline constexpr std::size_t kMaxSheetTextBytes = 64u * 1024u * 1024u;  ///< all the cells of a workbook's sheet
inline constexpr std::size_t kMaxZipEntries = 10'000;      ///< entries of an office file
inline constexpr std::size_t kMaxXmlPartBytes = 32u * 1024u * 1024u;  ///< one part, inflated
/// Elements, attributes and texts of the XML parsed at once, some 50 bytes each
/// once parsed: an .ods file's whole content, an .xlsx file's sheet a slice at a time.
inline constexpr std::size_t kMaxXmlMarkup = 2'500'000;

/// Reads a spreadsheet file: .xlsx or .ods when it is a zip archive, else a
/// delimited text file. Never throws, never blocks on a FIFO; a directory, a
/// device, an oversized or malformed file gives a French error.
Sheet readSheetFile(const std::filesystem::path& path, const SheetOptions& options = {});

/// Reads a delimited text file's bytes: a byte-order mark says UTF-8 or
/// UTF-16; otherwise valid UTF-8 is UTF-8 and anything else Windows-1252. The
/// separator is the one among ; tab , | whose count outside quotes stays the
/// same over the first 100 rows (ties go to ;). Never throws.
Sheet readDelimitedText(std::string_view bytes, const SheetOptions& options = {});
/// The same, freeing the bytes once decoded.
Sheet readOwnedText(std::string&& bytes, const SheetOptions& options = {});

/// Reads an .xlsx or .ods file's bytes (which one is told by its parts).
/// Never throws.
Sheet readOfficeFile(std::string_view bytes, const SheetOptions& options = {});

/// The separator in words for a French message: "« ; »", "tabulation".
std::string separatorName(char separator);

}  // namespace localyx
