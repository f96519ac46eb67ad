#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/name_index.h"

namespace localyx {

/// What placing a client's row came to.
enum class PlacementStatus { Found, ToCheck, Ambiguous, NotFound, Empty };

/// "trouvé", "à vérifier", "ambigu", "introuvable", "vide".
std::string_view statusWord(PlacementStatus status);

/// The rule that placed (or failed to place) a row, in the order they are tried.
enum class PlacementRule {
    None,           ///< an empty row
    InseeCode,      ///< 1: a current or former INSEE code
    Arrondissement, ///< 2: Paris, Lyon, Marseille by the postcode
    PostcodeName,   ///< 3, 4: the name among the postcode's communes
    Departement,    ///< 5: the name in the postcode's département
    CloseSpelling,  ///< 6: a close spelling within the postcode
    PostcodeAlone,  ///< 7: a postcode and no name
    NameAlone,      ///< 8: a name and no postcode
    Nothing,        ///< no rule gave a commune
};

/// The rule in a few French words, for the Règle column.
std::string_view ruleWords(PlacementRule rule);

/// A row of a client file, as written.
struct ClientAddress {
    std::string postcode;
    std::string town;
    std::string insee;
};

struct Placement {
    PlacementStatus status = PlacementStatus::Empty;
    PlacementRule rule = PlacementRule::None;
    std::size_t place = 0;                  ///< a place of the NameIndex, when found or to check
    std::vector<std::string> corrections;   ///< French: « 1000 → 01000 », « CEDEX retiré »
    std::vector<std::string> suggestions;   ///< at most three, "Saint-Malo (35400)"
    bool placed() const { return status == PlacementStatus::Found || status == PlacementStatus::ToCheck; }
};

/// Places client rows on the places of a NameIndex (the table's communes and
/// the three cities), by the rules a postal address follows: INSEE code,
/// arrondissement, postcode and name, name in the postcode's département,
/// close spelling, postcode alone, name alone. Never takes the first of
/// several candidates: several give « ambigu » with them as suggestions.
class ClientPlacer {
public:
    /// Keeps a reference to the index, which must outlive it.
    explicit ClientPlacer(const NameIndex& index);
    ~ClientPlacer();
    ClientPlacer(const ClientPlacer&) = delete;
    ClientPlacer& operator=(const ClientPlacer&) = delete;

    Placement place(const ClientAddress& address) const;

    /// The official name of a place when known, else the table's.
    std::string officialName(std::size_t place) const;
    /// The postcode to show for a place: the one given when it serves it, else the table's.
    std::string postcodeFor(std::size_t place, std::string_view given) const;

private:
    struct Index;
    std::unique_ptr<Index> m_index;
};

/// A place name reduced for comparison: townKey in capitals, "S/" read as SUR
/// ("BOULOGNE S/ MER").
std::string placeKey(std::string_view name);

}  // namespace localyx
