#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace localyx {

/// A text fit for a terminal: control characters (C0, DEL, C1) and bytes that
/// are not UTF-8 are written as visible escapes (\t, \x01, \u0085...).
std::string printable(std::string_view text);

/// The text cut to `shown` characters ("…" marks the cut), printable: for
/// file names, which may be as long as the user cares to type.
std::string shortened(std::string_view text, std::size_t shown = 200);

/// The text in French quotes for a message, cut to 60 characters, printable.
std::string inQuotes(std::string_view text);

/// Kilometres with the given decimals and a decimal comma; a negative or
/// non-finite value reads 0.
std::string decimalComma(double value, int decimals = 1);

/// One spreadsheet cell: printable, quoted when it holds ";" or a quote, and
/// behind an apostrophe when it begins like a formula (=, +, -, @, tab, CR)
/// without being a plain number such as "-4,48".
std::string csvCell(std::string_view text);

/// The same cell always in quotes: an import that keeps quoted fields as text
/// keeps a code's leading zeros (01250, not 1250).
std::string quotedCsvCell(std::string_view text);

/// Writes cells as one ";" separated line; a cell whose place in `quoted` is
/// true is always in quotes.
void writeCsvLine(std::ostream& out, const std::vector<std::string>& cells,
                  const std::vector<bool>& quoted = {});

/// The byte-order mark that tells a spreadsheet the CSV is UTF-8.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace localyx
