#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace localyx {

/// Walks the text of one of our ";" tables: a UTF-8 mark is dropped, the
/// first line must be `header`, blank lines are passed over, and every other
/// line goes to `readRow`, which returns "" when it took the row, or why it
/// did not (one French warning a refused row, naming its line).
/// @return a French error when the header is wrong or the text empty, else ""
template <class ReadRow>
std::string walkTableText(std::string_view text, std::string_view header, std::vector<std::string>& warnings,
                          ReadRow readRow) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::size_t lineNumber = 0;
    bool headerSeen = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++lineNumber;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (!headerSeen) {
            if (line != header) return "la première ligne n'est pas l'en-tête attendu « " + std::string(header) + " »";
            headerSeen = true;
            continue;
        }
        if (line.empty()) continue;
        const std::string problem = readRow(line);
        if (!problem.empty()) warnings.push_back("ligne " + std::to_string(lineNumber) + " ignorée : " + problem);
    }
    return headerSeen ? std::string() : std::string("le fichier est vide");
}

}  // namespace localyx
