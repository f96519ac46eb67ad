#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace localyx::query {

/// How far two names may differ and still be the same name.
enum class Fold {
    Case,           ///< capitals and small letters alike, É and é included
    CaseAndAccents  ///< also É, È, e alike; Œ as OE, Æ as AE
};

/// The text with every letter of the Latin-1 range (and Œ, Ÿ) folded as asked.
/// Other characters, and bytes that are not UTF-8, are kept as they are.
std::string foldName(std::string_view text, Fold fold);

/// Up to `limit` distinct candidates, in their given order, that begin like
/// the query: first those that begin with the whole query, else those that
/// begin with its first characters, one character fewer at a time down to
/// three. The candidates are compared folded as asked.
std::vector<std::string> suggestNames(const std::vector<std::string>& candidates,
                                      std::string_view query, Fold fold,
                                      std::size_t limit = 5);

}  // namespace localyx::query
