// Any bytes as the France-wide table: the parser, then a search around its
// first locality.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/around.h"
#include "core/locality_table.h"
#include "core/text_encoding.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const localyx::LocalityTable table = localyx::parseLocalityTable(bytes);
    FUZZ_CHECK(table.ok() || table.rows.empty());
    for (const localyx::Locality& row : table.rows) {
        FUZZ_CHECK(std::isfinite(row.latitude) && std::fabs(row.latitude) <= 90);
        FUZZ_CHECK(std::isfinite(row.longitude) && std::fabs(row.longitude) <= 180);
        FUZZ_CHECK(localyx::isValidUtf8(row.item()) && !row.insee.empty());
    }
    if (!table.rows.empty()) {
        double last = 0;
        for (const localyx::Nearby& n : localyx::localitiesAround(table.rows, 0, 1000)) {
            FUZZ_CHECK(n.row != 0 && n.km >= last && n.km <= 1000);
            last = n.km;
        }
    }
    return 0;
}
