#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/locality_table.h"

namespace localyx {

/// The file of names, beside the locality table.
inline constexpr std::string_view kTownNamesFileName = "noms.csv";

/// What a name of the names file is to its locality.
enum class NameKind : std::uint8_t {
    Item,          ///< the list item's name ("SAINT MALO"), from the table itself
    Official,      ///< the official name ("Saint-Malo")
    City,          ///< Paris, Lyon or Marseille as a whole
    Delegated,     ///< a commune déléguée of it
    Associated,    ///< a commune associée of it
    RoutingLabel,  ///< La Poste's libellé d'acheminement ("ST DENIS LA PLAINE")
    FormerCode     ///< a former INSEE code of it
};

/// One row of the names file.
struct TownName {
    std::string insee;                   ///< the locality (or city) it leads to
    std::string form;                    ///< the name, or the former code
    NameKind kind = NameKind::Official;
    std::vector<std::string> postcodes;  ///< five digits each; empty for parts and former codes
    double latitude = 0;                 ///< City only, decimal degrees, north positive
    double longitude = 0;                ///< City only, decimal degrees, east positive
    std::int64_t population = -1;        ///< City only; -1 when not known
};

/// The names file, or why it could not be had.
struct TownNames {
    std::vector<TownName> rows;
    std::filesystem::path path;
    std::string error;                  ///< French, empty when read
    std::vector<std::string> warnings;  ///< rows skipped, one French line each
    bool ok() const { return error.empty(); }
};

/// Parses the names file: UTF-8, ";" separated, never quoted, the header
/// "insee;forme;type;codes_postaux;latitude;longitude;population". A
/// malformed row is skipped with a warning; a wrong header is an error.
TownNames parseTownNames(std::string_view text);

/// Reads kTownNamesFileName from a folder (the one the table came from).
/// A missing file gives no rows and no error: the table's items still work.
TownNames loadTownNames(const std::filesystem::path& folder);

/// Every way the table's localities are named, folded with townKey, plus
/// Paris, Lyon and Marseille as cities. A place is an index: below
/// rowCount() a row of the table, above it one of the cities. Keeps a
/// reference to the rows, which must outlive it.
class NameIndex {
public:
    struct Entry {
        std::size_t place;
        NameKind kind;
    };

    explicit NameIndex(const std::vector<Locality>& rows, const TownNames& names = {});

    /// The key a name is looked up by: townKey, with an ordinal written as
    /// its number ("15e", "3ème", "1er" as 15, 3, 1) and the word
    /// "arrondissement" dropped after one, so "Lyon 3e" finds "Lyon 3e Arrondissement".
    static std::string nameKey(std::string_view text);

    std::size_t rowCount() const { return m_rows.size(); }
    std::size_t placeCount() const { return m_rows.size() + m_cities.size(); }
    bool isCity(std::size_t place) const { return place >= m_rows.size(); }
    /// The row, or the city with its own point and population.
    const Locality& place(std::size_t place) const;
    /// The official name ("Saint-Malo"); empty when the names file lacks it.
    const std::string& officialName(std::size_t place) const { return m_info[place].official; }
    /// Every postcode of the place; the table's own at least.
    const std::vector<std::string>& postcodes(std::size_t place) const { return m_info[place].postcodes; }
    /// The département ("35", "2A"); for a place without one, its postcode's first two digits.
    std::string departement(std::size_t place) const;
    /// La Poste's routing labels that differ from the official name, with their postcodes.
    const std::vector<TownName>& routingLabels(std::size_t place) const { return m_info[place].labels; }
    /// Its communes déléguées and associées.
    const std::vector<TownName>& parts(std::size_t place) const { return m_info[place].parts; }

    /// The places a key (see nameKey) names, with how; empty when none.
    std::span<const Entry> withKey(std::string_view key) const;
    /// Every distinct key, in first-seen order (for suggestions).
    const std::vector<std::string_view>& keys() const { return m_keyOrder; }
    /// The places a postcode serves (cities left out: their arrondissements stand for them).
    std::span<const std::size_t> withPostcode(std::string_view postcode) const;
    /// The place whose current INSEE code it is.
    std::optional<std::size_t> withInsee(std::string_view code) const;
    /// The places a former INSEE code now belongs to.
    std::span<const std::size_t> withFormerCode(std::string_view code) const;

private:
    struct Info {
        std::string official;
        std::vector<std::string> postcodes;
        std::vector<TownName> labels, parts;
    };
    void add(const std::string& key, std::size_t place, NameKind kind);
    void sortInsee();

    const std::vector<Locality>& m_rows;
    std::vector<Locality> m_cities;
    std::vector<Info> m_info;
    std::unordered_map<std::string, std::vector<Entry>> m_byKey;
    std::vector<std::string_view> m_keyOrder;
    std::unordered_map<std::string, std::vector<std::size_t>> m_byPostcode;
    std::vector<std::pair<std::uint64_t, std::size_t>> m_byInsee;  // packed code, place; sorted
    std::unordered_map<std::string, std::vector<std::size_t>> m_byFormerCode;
};

}  // namespace localyx
