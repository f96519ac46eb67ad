#include "core/exports/text_cells.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

#include "core/text_encoding.h"

namespace localyx {

std::string printable(std::string_view text) {
    constexpr std::string_view kHex = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        std::size_t size = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        if (byte >= 0x80 && i + size <= text.size() && isValidUtf8(text.substr(i, size))) {
            const auto second = static_cast<unsigned char>(text[i + 1]);
            if (byte == 0xC2 && second < 0xA0) {  // U+0080..U+009F, the C1 controls
                out += "\\u00";
                out += kHex[second >> 4];
                out += kHex[second & 0xF];
            } else {
                out += text.substr(i, size);
            }
            i += size;
            continue;
        }
        if (byte == '\n') {
            out += "\\n";
        } else if (byte == '\r') {
            out += "\\r";
        } else if (byte == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte >= 0x7F) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += static_cast<char>(byte);
        }
        ++i;
    }
    return out;
}

std::string shortened(std::string_view text, std::size_t shown) {
    return printable(utf8Length(text) > shown ? utf8Substr(text, 0, shown) + "…" : std::string(text));
}

// A runaway field (a quote left open swallows the rest of a file) or a huge
// argument must not flood the terminal.
std::string inQuotes(std::string_view text) { return "« " + shortened(text, 60) + " »"; }

std::string decimalComma(double value, int decimals) {
    if (!(value > 0) || !std::isfinite(value)) value = 0.0;
    std::array<char, 400> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::fixed, decimals);
    std::string text = ec == std::errc{} ? std::string(buffer.data(), end) : std::string("0");
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

namespace {

bool plainNumber(std::string_view text) {
    if (text.starts_with('-')) text.remove_prefix(1);
    const std::size_t mark = text.find_first_of(".,");
    const auto digits = [](std::string_view s) {
        return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    return mark == std::string_view::npos ? digits(text)
                                          : digits(text.substr(0, mark)) && digits(text.substr(mark + 1));
}

}  // namespace

namespace {

std::string cellText(std::string_view text, bool alwaysQuoted) {
    std::string cell;
    // A spreadsheet runs a cell that begins so as a formula.
    if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos &&
        !plainNumber(text)) {
        cell = "'";
    }
    cell += printable(text);
    if (!alwaysQuoted && cell.find_first_of(";\"") == std::string::npos) return cell;
    std::string quoted = "\"";
    for (char c : cell) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace

std::string csvCell(std::string_view text) { return cellText(text, false); }

std::string quotedCsvCell(std::string_view text) { return cellText(text, true); }

void writeCsvLine(std::ostream& out, const std::vector<std::string>& cells, const std::vector<bool>& quoted) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        out << (i ? ";" : "") << (i < quoted.size() && quoted[i] ? quotedCsvCell(cells[i]) : csvCell(cells[i]));
    }
    out << '\n';
}

}  // namespace localyx
