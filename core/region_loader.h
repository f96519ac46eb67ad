#pragma once

#include <string>
#include <vector>

namespace localyx {

class FieldReader;

/// A region text sorted into the window's lists: names (numeric value 0) for
/// Combo1/Combo2, every other field for Combo3/Combo4, each in file order.
/// In a well-formed file the locality at name position i has its latitude at
/// coordinates[2i] and its longitude at coordinates[2i + 1].
struct RegionLists {
    std::vector<std::string> names;
    std::vector<std::string> coordinates;
};

/// Reads every field left in the reader and sorts it by its numeric value.
RegionLists loadRegionLists(FieldReader& reader);

}  // namespace localyx
