// The neighbour walk over any file, around any town, at any radius.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/field_reader.h"
#include "core/neighbours.h"
#include "core/numeric.h"
#include "core/region_loader.h"
#include "core/text_encoding.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const int radiusKm = data[0] % 40;
    const std::string text =
        localyx::decodeRegionText(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));

    localyx::FieldReader loader(text);
    const auto lists = localyx::loadRegionLists(loader);
    // The town is a locality of the file, as in the window; or none at all.
    std::string lat = lists.coordinates.size() >= 2 ? lists.coordinates[0] : "";
    std::string lon = lists.coordinates.size() >= 2 ? lists.coordinates[1] : "";

    localyx::SearchDeltas deltas;
    localyx::FieldReader reader(text);
    const auto found = localyx::findNeighbours(reader, lat, lon, radiusKm, deltas);

    // What is found is a subsequence of the names, in file order.
    std::size_t next = 0;
    for (const auto& name : found) {
        FUZZ_CHECK(localyx::numericValue(name) == 0);
        while (next < lists.names.size() && lists.names[next] != name) ++next;
        FUZZ_CHECK(next < lists.names.size());
        ++next;
    }
    if (radiusKm == 0) FUZZ_CHECK(found.empty());
    // Infinite coordinates may leave a NaN difference, which lists nothing.
    FUZZ_CHECK(!(deltas.deltaLat < 0) && !(deltas.deltaLon < 0));
    return 0;
}
