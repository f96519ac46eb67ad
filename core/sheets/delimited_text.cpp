#include <array>
#include <cstdint>
#include <map>

#include "core/text_encoding.h"
#include "core/sheets/sheet.h"

namespace localyx {
namespace {

constexpr std::array<char, 4> kSeparators = {';', '\t', ',', '|'};
constexpr std::size_t kSniffedRows = 100;


// A lone surrogate or an odd last byte becomes U+FFFD rather than an error:
// the rest of the file is still worth reading.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size());
    const auto unit = [&](std::size_t i) -> char16_t {
        const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const char16_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
            const char16_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        appendUtf8(out, u >= 0xD800 && u <= 0xDFFF ? 0xFFFD : u);
    }
    if (i < bytes.size()) appendUtf8(out, 0xFFFD);
    return out;
}

// Without a mark, UTF-16 shows as a zero byte in every other place.
std::optional<bool> looksUtf16(std::string_view bytes) {
    if (bytes.size() < 4) return std::nullopt;
    std::size_t evenZeros = 0, oddZeros = 0;
    const std::size_t n = std::min<std::size_t>(bytes.size(), 4096) & ~std::size_t{1};
    for (std::size_t i = 0; i < n; i += 2) {
        evenZeros += bytes[i] == '\0';
        oddZeros += bytes[i + 1] == '\0';
    }
    if (oddZeros * 4 >= n && evenZeros == 0) return false;  // little-endian
    if (evenZeros * 4 >= n && oddZeros == 0) return true;
    return std::nullopt;
}

bool decode(std::string_view bytes, const SheetOptions& options, Sheet& sheet, std::string& text) {
    const std::string wanted = options.encoding.value_or("");
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
        // A mark that lies (a file saved over in another program) loses no letter.
        sheet.encoding = isValidUtf8(bytes) ? "UTF-8" : "Windows-1252";
        if (sheet.encoding != "UTF-8") text = windows1252ToUtf8(bytes);
    } else if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        const bool big = bytes[0] == '\xFE';
        sheet.encoding = big ? "UTF-16BE" : "UTF-16LE";
        text = utf16ToUtf8(bytes.substr(2), big);
    } else if (wanted == "utf-16" || (wanted.empty() && looksUtf16(bytes))) {
        const bool big = looksUtf16(bytes).value_or(false);
        sheet.encoding = big ? "UTF-16BE" : "UTF-16LE";
        text = utf16ToUtf8(bytes, big);
    } else if (wanted == "windows-1252" || (wanted.empty() && !isValidUtf8(bytes))) {
        sheet.encoding = "Windows-1252";
        text = windows1252ToUtf8(bytes);
    } else {
        sheet.encoding = "UTF-8";
        if (!isValidUtf8(bytes)) {
            sheet.error = "le fichier n'est pas en UTF-8 comme demandé (essayez --encoding windows-1252).";
            return false;
        }
    }
    if (sheet.encoding == "UTF-8") text.assign(bytes);
    if (text.find('\0') != std::string::npos) {
        sheet.error = "le fichier contient un octet nul : ce n'est pas un tableau en texte "
                      "(CSV ou TSV), ni un classeur .xlsx ou .ods.";
        return false;
    }
    return true;
}

// Counts of each separator outside quotes, per row, over the first rows.
char sniffSeparator(std::string_view text) {
    std::vector<std::array<std::size_t, 4>> counts(1);
    bool quoted = false;
    for (std::size_t i = 0; i < text.size() && counts.size() <= kSniffedRows; ++i) {
        const char c = text[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == '\n' || c == '\r')) {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            counts.emplace_back();
        } else if (!quoted) {
            for (std::size_t k = 0; k < kSeparators.size(); ++k) counts.back()[k] += c == kSeparators[k];
        }
    }
    // Blank lines (often the last) say nothing.
    std::erase_if(counts, [](const auto& row) { return row == std::array<std::size_t, 4>{}; });
    if (counts.empty()) return ';';
    std::size_t best = 0, bestScore = 0;
    for (std::size_t k = 0; k < kSeparators.size(); ++k) {
        const std::size_t first = counts.front()[k];
        if (first == 0) continue;
        std::size_t same = 0;
        for (const auto& row : counts) same += row[k] == first;
        // Steady rows first, then the most separators in a row.
        const std::size_t score = same * 100'000 + std::min<std::size_t>(first, 99'999);
        if (score > bestScore) {
            best = k;
            bestScore = score;
        }
    }
    return kSeparators[best];
}

}  // namespace

std::string separatorName(char separator) {
    if (separator == '\t') return "tabulation";
    return std::string("« ") + separator + " »";
}

namespace {

Sheet parseText(Sheet sheet, std::string text, const SheetOptions& options) {
    const char sep = options.separator.value_or(sniffSeparator(text));
    sheet.separator = sep;

    std::size_t cells = 0, line = 1, quoteLine = 0;
    std::vector<std::string> row;
    std::string cell;
    bool quoted = false, wasQuoted = false;
    const auto tooLong = [&]() { return cell.size() > kMaxCellChars && utf8Length(cell) > kMaxCellChars; };
    const auto longCell = [&]() {
        sheet.rows.clear();
        sheet.error = quoted ? "guillemet ouvert ligne " + std::to_string(quoteLine) +
                                   " et jamais fermé : le reste du fichier tiendrait dans une cellule."
                             : "ligne " + std::to_string(line) + " : cellule de plus de " +
                                   std::to_string(kMaxCellChars) + " caractères.";
        return sheet;
    };
    const auto endCell = [&]() {
        if (tooLong()) return false;
        row.push_back(std::move(cell));
        cell.clear();
        wasQuoted = false;
        return ++cells <= kMaxSheetCells;
    };
    const auto refused = [&]() {
        if (tooLong()) return longCell();
        sheet.rows.clear();
        sheet.error = "plus de " + std::to_string(kMaxSheetCells) + " cellules : fichier refusé.";
        return sheet;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    cell += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == '\n' || (c == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) ++line;
                cell += c;
            }
        } else if (c == '"' && cell.empty() && !wasQuoted) {
            quoted = wasQuoted = true;
            quoteLine = line;
        } else if (c == sep) {
            if (!endCell()) return refused();
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            if (!endCell()) return refused();
            ++line;
            sheet.rows.push_back(std::move(row));
            row.clear();
        } else {
            cell += c;
        }
        // A character takes four bytes at most: past that, a quote left open
        // is caught before it takes the whole file.
        if (cell.size() > 4 * kMaxCellChars) return longCell();
    }
    if (quoted) {
        sheet.rows.clear();
        sheet.error = "guillemet ouvert ligne " + std::to_string(quoteLine) + " et jamais fermé.";
        return sheet;
    }
    if (!cell.empty() || !row.empty() || wasQuoted) {
        if (!endCell()) return refused();
        sheet.rows.push_back(std::move(row));
    }
    // Blank lines at the end are no rows of the table.
    while (!sheet.rows.empty() && sheet.rows.back().size() == 1 && sheet.rows.back()[0].empty()) {
        sheet.rows.pop_back();
    }
    return sheet;
}

}  // namespace

Sheet readDelimitedText(std::string_view bytes, const SheetOptions& options) {
    Sheet sheet;
    sheet.format = "CSV";
    std::string text;
    if (!decode(bytes, options, sheet, text)) return sheet;
    return parseText(std::move(sheet), std::move(text), options);
}

Sheet readOwnedText(std::string&& bytes, const SheetOptions& options) {
    Sheet sheet;
    sheet.format = "CSV";
    std::string text;
    if (!decode(bytes, options, sheet, text)) return sheet;
    // The file's bytes go before the cells are made: a file near the cap
    // must not be held three times.
    if (sheet.encoding == "UTF-8" && text.size() == bytes.size()) {
        text = std::move(bytes);
    } else {
        std::string().swap(bytes);
    }
    return parseText(std::move(sheet), std::move(text), options);
}

}  // namespace localyx
