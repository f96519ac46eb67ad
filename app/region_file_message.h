#pragma once

#include <string>
#include <string_view>

#include "core/region_file.h"

namespace localyx {

/// The French sentence shown when a region's file cannot be had, naming the
/// file and the region; empty when the file was read.
/// @param regionCaption  the region's name as LblRegions shows it
std::string regionFileMessage(const RegionFileText& file, std::string_view regionCaption);

}  // namespace localyx
