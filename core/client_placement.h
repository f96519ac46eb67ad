#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/locality_table.h"

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

/// What the resolver data adds to a commune of the table; every field may be
/// empty. Communes déléguées and associées, absent from the table, are names
/// of the commune they belong to.
struct CommuneNames {
    std::string officialName;                 ///< "Saint-Malo"
    std::vector<std::string> postcodes;       ///< every postcode serving it
    std::vector<std::string> formerNames;     ///< communes déléguées, associées
    std::vector<std::string> formerCodes;     ///< INSEE codes it replaced
    std::vector<std::pair<std::string, std::string>> routingLabels;  ///< (postcode, label)
};

/// The names file read against the table.
struct CommuneNamesData {
    std::vector<CommuneNames> names;  ///< one per table row, in its order
    std::vector<Locality> cities;     ///< Paris, Lyon, Marseille as cities, absent from the table
    std::vector<CommuneNames> cityNames;
    std::size_t skipped = 0;          ///< lines not understood
};

/// Parses the names file ("insee;forme;type;codes_postaux;latitude;longitude;
/// population", types officiel, acheminement, deleguee, associee, ancien_code
/// and ville) against the table's rows. Never throws; a line it does not
/// understand is counted and left out.
CommuneNamesData parseCommuneNames(std::string_view text, const std::vector<Locality>& rows);

/// A row of a client file, as written.
struct ClientAddress {
    std::string postcode;
    std::string town;
    std::string insee;
};

struct Placement {
    PlacementStatus status = PlacementStatus::Empty;
    PlacementRule rule = PlacementRule::None;
    std::size_t row = 0;                    ///< the table row, when found or to check
    std::vector<std::string> corrections;   ///< French: « 1000 → 01000 », « CEDEX retiré »
    std::vector<std::string> suggestions;   ///< at most three, "Saint-Malo (35400)"
    bool placed() const { return status == PlacementStatus::Found || status == PlacementStatus::ToCheck; }
};

/// Places client rows on the communes of the table. Never takes the first of
/// several candidates: several give « ambigu » with them as suggestions.
class ClientPlacer {
public:
    /// @param rows   the France-wide table, kept by reference
    /// @param names  per table row (same order), or empty
    ClientPlacer(const std::vector<Locality>& rows, const std::vector<CommuneNames>& names);
    ~ClientPlacer();
    ClientPlacer(const ClientPlacer&) = delete;
    ClientPlacer& operator=(const ClientPlacer&) = delete;

    Placement place(const ClientAddress& address) const;

    /// The official name of a row when known, else the table's.
    const std::string& officialName(std::size_t row) const;
    /// The postcode to show for a row: the one given when it serves it, else its first.
    std::string postcodeFor(std::size_t row, std::string_view given) const;

private:
    struct Index;
    std::unique_ptr<Index> m_index;
};

/// A place name reduced for comparison: capitals without accents, words
/// split at blanks, hyphens and apostrophes, Œ as OE, ST/STE as SAINT/SAINTE,
/// "S/" as SUR, an article in brackets put first ("ANDELYS (LES)").
std::string placeKey(std::string_view name);

}  // namespace localyx
