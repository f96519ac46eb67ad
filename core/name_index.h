#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory_resource>
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
/// reference to the rows, which must outlive it, and owns the names.
class NameIndex {
public:
    struct Entry {
        std::size_t place;
        NameKind kind;
    };

    explicit NameIndex(const std::vector<Locality>& rows, TownNames names = {});

    /// The key a name is looked up by: townKey, with an ordinal written as
    /// its number ("15e", "3ème", "1er" as 15, 3, 1) and the word
    /// "arrondissement" dropped after one, so "Lyon 3e" finds "Lyon 3e Arrondissement".
    static std::string nameKey(std::string_view text);

    /// The names file it was built with (its warnings included).
    const TownNames& names() const { return m_names; }
    std::size_t rowCount() const { return m_rows.size(); }
    std::size_t placeCount() const { return m_rows.size() + m_cities.size(); }
    bool isCity(std::size_t place) const { return place >= m_rows.size(); }
    /// The row, or the city with its own point and population.
    const Locality& place(std::size_t place) const;
    /// The official name ("Saint-Malo"); empty when the names file lacks it.
    std::string_view officialName(std::size_t place) const;
    /// Every postcode of the place, the table's own first.
    std::span<const std::string> postcodes(std::size_t place) const;
    /// The département ("35", "2A"); for a place without one, its postcode's first two digits.
    std::string departement(std::size_t place) const;
    /// La Poste's routing labels that differ from the official name (with
    /// their postcodes), then the communes déléguées and associées, as rows
    /// of names().
    std::vector<const TownName*> otherNames(std::size_t place) const;

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
    static constexpr std::uint32_t kNone = UINT32_MAX;
    struct Info {
        std::uint32_t official = kNone;      // row of m_names
        std::uint32_t firstPostcode = 0, postcodeCount = 0;  // in m_postcodes
        std::vector<std::uint32_t> others;   // rows of m_names: labels, parts
    };
    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    template <class Value>
    using Map = std::pmr::unordered_map<std::pmr::string, Value, KeyHash, std::equal_to<>>;

    std::string_view add(std::string_view key, std::size_t place, NameKind kind);
    void sortInsee();

    const std::vector<Locality>& m_rows;
    TownNames m_names;
    // Tens of thousands of small keys and lists, freed all at once: an arena
    // spares most of the time the allocator would take.
    std::pmr::monotonic_buffer_resource m_arena{std::size_t{1} << 20};
    std::vector<Locality> m_cities;
    std::vector<Info> m_info;
    std::vector<std::string> m_postcodes;
    Map<std::pmr::vector<Entry>> m_byKey{&m_arena};
    std::vector<std::string_view> m_keyOrder;
    Map<std::pmr::vector<std::size_t>> m_byPostcode{&m_arena};
    std::vector<std::pair<std::uint64_t, std::size_t>> m_byInsee;  // packed code, place; sorted
    std::unordered_map<std::string, std::vector<std::size_t>> m_byFormerCode;
};

}  // namespace localyx
