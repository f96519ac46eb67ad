#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/name_index.h"

namespace localyx {

/// Which way a town was recognised, most trusted first.
enum class TownRule {
    Item,          ///< the exact list item, "SAINT MALO-35400"
    InseeCode,     ///< a current INSEE code, "35288"
    FormerCode,    ///< a former INSEE code, "35213"
    Name,          ///< a name, an arrondissement or a routing label, with or without postcode or département
    City,          ///< Paris, Lyon or Marseille as a whole
    Part,          ///< a commune déléguée or associée
    Postcode       ///< a postcode serving a single commune
};

/// What a town as typed comes to.
struct TownMatch {
    enum class Kind { Found, Ambiguous, Unknown };
    Kind kind = Kind::Unknown;
    std::size_t place = 0;                 ///< Found: a place of the NameIndex
    TownRule rule = TownRule::Item;        ///< Found: how
    std::vector<std::string> notes;        ///< French, for standard error: a former code, a part
    std::vector<std::size_t> candidates;   ///< Ambiguous: every place it may be, in table order
    std::vector<std::size_t> suggestions;  ///< Unknown: up to five places spelt closest, closest first
    bool found() const { return kind == Kind::Found; }
};

/// Reads a town the way people write it, over a NameIndex (which must
/// outlive it). Accepted, in this order of trust:
/// 1. the exact list item (several rows with that item are ambiguous);
/// 2. an INSEE code, current or former (a note names the commune now); a
///    former code that is also a postcode in use is read as the postcode;
/// 3. a name in any case, with or without accents, hyphens or apostrophes,
///    ST for Saint, an article in parentheses at the end, a postcode before
///    or after it (any of the commune's; four digits for one that lost its
///    leading zero), CEDEX and its number left out (a CEDEX code then
///    tells only the département);
/// 4. Paris, Lyon and Marseille as cities, and their arrondissements by
///    name ("Paris 15e") or postcode (75015);
/// 5. a commune déléguée or associée (a note names its commune), then La
///    Poste's routing labels;
/// 6. a postcode alone, when it serves a single commune.
/// A postcode or a département after the name ("Saint-Denis 93") settles
/// homonyms; several places are never cut down to the first.
class TownResolver {
public:
    explicit TownResolver(const NameIndex& index);

    /// Resolving takes well under a millisecond once built (see bench/).
    TownMatch resolve(std::string_view text) const;

    const NameIndex& index() const { return m_index; }

private:
    TownMatch byItem(std::string_view text) const;
    TownMatch byName(std::string_view text) const;
    TownMatch suggest(const std::string& key, const std::vector<std::size_t>& near) const;

    const NameIndex& m_index;
};

}  // namespace localyx
