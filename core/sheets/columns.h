#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace localyx {

/// What a column of a client file holds.
enum class ColumnRole { Postcode, Town, Insee, Name };
inline constexpr std::size_t kColumnRoles = 4;

/// The French word of a role, as --column takes it: "code-postal", "ville",
/// "insee", "nom".
std::string_view roleWord(ColumnRole role);

/// The role of a --column word ("cp", "commune" accepted too), or nothing.
std::optional<ColumnRole> roleFromWord(std::string_view word);

/// A --column choice: the column by its header text or its 1-based number.
struct ColumnChoice {
    ColumnRole role;
    std::string header;      ///< empty when given by number
    std::size_t number = 0;  ///< 1-based; 0 when given by header
};

/// Parses "ROLE=HEADER" or "ROLE=NUMBER"; nothing when the role is unknown or
/// the value empty.
std::optional<ColumnChoice> parseColumnChoice(std::string_view text);

/// Where each role's column is (0-based), and whether row 0 is a header.
struct ColumnLayout {
    std::optional<std::size_t> columns[kColumnRoles];
    bool headerRow = false;
    std::string error;  ///< French, empty when the layout is usable
    std::optional<std::size_t> at(ColumnRole role) const { return columns[static_cast<std::size_t>(role)]; }
};

/// A header folded for comparison: lower case, accents and punctuation gone,
/// single spaces ("Code_Postal " → "code postal").
std::string foldHeader(std::string_view header);

/// Finds the columns from the first row's headers (case and accents ignored),
/// the choices given overriding. Without a recognised header the first row is
/// data and every column must be chosen by number. The layout is an error when
/// no postcode, town or INSEE column is found, or a choice names no column;
/// the message then lists the headers seen.
ColumnLayout findColumns(const std::vector<std::string>& firstRow, const std::vector<ColumnChoice>& choices);

}  // namespace localyx
