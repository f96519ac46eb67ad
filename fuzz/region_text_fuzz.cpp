// Any bytes as a region file: decoding, the field reader, the numeric reading,
// the loader, the neighbour walk around its first locality, and the rework and
// addresses of a list item made of the whole text.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/field_reader.h"
#include "core/neighbours.h"
#include "core/numeric.h"
#include "core/region_loader.h"
#include "core/text_encoding.h"
#include "core/web_address.h"
#include "fuzz/fuzz_check.h"

namespace {

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// What a browser is handed: printable ASCII only, every "%" an escape, "#" last.
void checkBrowserUrl(const std::string& raw) {
    const std::string url = localyx::toBrowserUrl(raw);
    for (std::size_t i = 0; i < url.size(); ++i) {
        const auto c = static_cast<unsigned char>(url[i]);
        FUZZ_CHECK(c > 0x20 && c < 0x7F);
        FUZZ_CHECK(std::string_view("\"<>\\^`{|}").find(static_cast<char>(c)) == std::string_view::npos);
        if (c == '%') FUZZ_CHECK(i + 2 < url.size() && isHex(url[i + 1]) && isHex(url[i + 2]));
        if (c == '#') FUZZ_CHECK(i + 1 == url.size());
    }
}

void checkAddresses(const std::string& item) {
    const std::string reworked = localyx::reworkItem(item);
    const std::size_t n = localyx::utf8Length(item);
    const std::size_t hyphen = item.find('-');
    FUZZ_CHECK(reworked.find('+') != std::string::npos && localyx::isValidUtf8(reworked));
    if (n >= 5 && hyphen != std::string::npos &&
        localyx::utf8Length(std::string_view(item).substr(0, hyphen)) + 5 <= n) {
        // A well-formed item: its code, "+", a name part shorter than itself.
        FUZZ_CHECK(localyx::utf8Length(reworked) <= n + 1);
        FUZZ_CHECK(reworked.substr(0, reworked.size() - hyphen) == localyx::utf8Substr(item, n - 5, 5) + "+");
        FUZZ_CHECK(reworked.substr(reworked.size() - hyphen) == item.substr(0, hyphen));
    }
    const std::string map = localyx::mapAddress(item);
    FUZZ_CHECK(map.find(item) != std::string::npos);
    checkBrowserUrl(map);
    const std::string itinerary = localyx::itineraryAddress(reworked, reworked);
    FUZZ_CHECK(itinerary.back() == '#');
    checkBrowserUrl(itinerary);
}

}  // namespace

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

    // Around the file's first locality, as in the window, or none at all; the
    // first byte picks the radius. What is found is a subsequence of the names.
    const int radiusKm = size > 0 ? data[0] % 40 : 0;
    const bool town = lists.coordinates.size() >= 2;
    localyx::SearchDeltas deltas;
    localyx::FieldReader walk(text);
    const auto found = localyx::findNeighbours(walk, town ? lists.coordinates[0] : "",
                                               town ? lists.coordinates[1] : "", radiusKm, deltas);
    std::size_t next = 0;
    for (const auto& name : found) {
        while (next < lists.names.size() && lists.names[next] != name) ++next;
        FUZZ_CHECK(next < lists.names.size());
        ++next;
    }
    if (radiusKm == 0) FUZZ_CHECK(found.empty());
    // Infinite coordinates may leave a NaN difference, which lists nothing.
    FUZZ_CHECK(!(deltas.deltaLat < 0) && !(deltas.deltaLon < 0));

    // Blanks never change a number's value.
    std::string squeezed;
    for (char c : bytes) {
        if (c != ' ' && c != '\t' && c != '\n') squeezed.push_back(c);
    }
    FUZZ_CHECK(localyx::numericValue(bytes) == localyx::numericValue(squeezed));

    checkAddresses(text);
    return 0;
}
