// Any bytes as a region file: decoding, the field reader, the numeric reading
// and the loader.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/field_reader.h"
#include "core/numeric.h"
#include "core/region_loader.h"
#include "core/text_encoding.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = localyx::decodeRegionText(bytes);
    FUZZ_CHECK(localyx::isValidUtf8(text) || !localyx::isValidUtf8(bytes));

    const bool quoted = text.find('"') != std::string::npos;
    localyx::FieldReader reader(text);
    std::size_t fields = 0;
    std::size_t names = 0;
    while (!reader.atEnd()) {
        const std::string field = reader.next();
        ++fields;
        // Only a quote lets a comma or a line end into a field.
        if (!quoted) FUZZ_CHECK(field.find_first_of(",\r\n") == std::string::npos);
        FUZZ_CHECK(field.size() <= text.size());
        const double v = localyx::numericValue(field);
        FUZZ_CHECK(!std::isnan(v));
        if (v == 0) ++names;
        FUZZ_CHECK(fields <= text.size());  // every field consumes input
    }

    localyx::FieldReader again(text);
    const auto lists = localyx::loadRegionLists(again);
    FUZZ_CHECK(lists.names.size() == names);
    FUZZ_CHECK(lists.names.size() + lists.coordinates.size() == fields);

    // Blanks never change a number's value.
    std::string squeezed;
    for (char c : bytes) {
        if (c != ' ' && c != '\t' && c != '\n') squeezed.push_back(c);
    }
    const double a = localyx::numericValue(bytes);
    const double b = localyx::numericValue(squeezed);
    FUZZ_CHECK(a == b);
    return 0;
}
