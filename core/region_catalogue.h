#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace localyx {

/// One of the 22 former regions of metropolitan France.
struct RegionEntry {
    int number;                    ///< 1..22, the item's position in ComboReg plus one
    std::string_view displayItem;  ///< the ComboReg item, blanks included
    std::string_view caption;      ///< shown in LblRegions
    std::string_view baseName;     ///< the region file is baseName + ".txt"
};

inline constexpr int kRegionCount = 22;

/// The catalogue in ComboReg order (entry n at index n - 1). All texts UTF-8.
const std::array<RegionEntry, kRegionCount>& regionCatalogue();

/// Entry n (1..22); std::nullopt for any other n.
std::optional<RegionEntry> regionByNumber(int n);

}  // namespace localyx
