#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace localyx {

// Names compared the way people write them: the region names and the
// towns of every command, the window and the client files alike.

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

/// What two spellings of one town have in common: small unaccented letters
/// (Œ as oe, Æ as ae), words separated by one blank, where hyphens,
/// apostrophes (' ’ ʼ), punctuation and blanks all separate words; ST, STE,
/// STS, STES written out as saint, sainte, saints, saintes; an article in
/// parentheses at the end moved to the front ("ANDELYS (LES)" is
/// "les andelys"). Bytes that are not UTF-8 and other characters are kept.
/// Folding a folded text gives it back unchanged. Never throws.
std::string townKey(std::string_view text);

/// The number of single-character edits (insertions, deletions,
/// substitutions, swaps of two neighbours) that turn one byte string into
/// the other, counting up to cap.
/// @return the distance, or cap + 1 when it is larger than cap
std::size_t editDistance(std::string_view a, std::string_view b, std::size_t cap);

/// Up to `limit` indices into keys, the closest to query first: a key equal
/// to it, then keys it begins (or that begin it, a whole word short), the
/// nearest in length first, then keys within a few edits of it (one for up
/// to five characters, two up to ten, three beyond), fewest edits first;
/// ties in the keys' order. A key sharing only a first letter is never
/// among them. Keys and query are compared as given (see townKey).
std::vector<std::size_t> closestKeys(const std::vector<std::string_view>& keys, std::string_view query,
                                     std::size_t limit = 5);

}  // namespace localyx
