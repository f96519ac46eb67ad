#include "core/region_loader.h"

#include "core/field_reader.h"
#include "core/numeric.h"

namespace localyx {

RegionLists loadRegionLists(FieldReader& reader) {
    RegionLists lists;
    while (!reader.atEnd()) {
        std::string field = reader.next();
        if (numericValue(field) == 0) {
            lists.names.push_back(std::move(field));
        } else {
            lists.coordinates.push_back(std::move(field));
        }
    }
    return lists;
}

}  // namespace localyx
