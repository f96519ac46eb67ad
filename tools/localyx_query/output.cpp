#include "tools/localyx_query/output.h"

#include <algorithm>

#include "tools/localyx_query/query.h"

namespace localyx::query {

void fail(std::string message) { throw Failure{kExitFailure, std::move(message)}; }
void usageError(std::string message) { throw Failure{kExitUsage, std::move(message)}; }

std::string shellWord(std::string_view word) {
    const bool plain = !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '.' || c == '/' || c == '_' || c == '-' || c == '+';
    });
    if (plain) return std::string(word);
    std::string out = "'";
    for (char c : word) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return printable(out + "'");
}

}  // namespace localyx::query
