// The itinerary rework of any list item and both address builders, and the
// browser form of the addresses.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/text_encoding.h"
#include "core/web_address.h"
#include "fuzz/fuzz_check.h"

namespace {

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Items come from decoded region files: always UTF-8.
    const std::string item =
        localyx::decodeRegionText(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string reworked = localyx::reworkItem(item);
    const std::size_t n = localyx::utf8Length(item);
    const std::size_t hyphen = item.find('-');

    FUZZ_CHECK(reworked.find('+') != std::string::npos);
    if (n >= 5 && hyphen != std::string::npos &&
        localyx::utf8Length(std::string_view(item).substr(0, hyphen)) + 5 <= n) {
        // A well-formed item: its code, "+", a name part shorter than itself.
        FUZZ_CHECK(localyx::utf8Length(reworked) <= n + 1);
        FUZZ_CHECK(reworked.substr(0, reworked.size() - hyphen) == localyx::utf8Substr(item, n - 5, 5) + "+");
        FUZZ_CHECK(reworked.substr(reworked.size() - hyphen) == item.substr(0, hyphen));
    }
    FUZZ_CHECK(localyx::isValidUtf8(reworked));

    const std::string map = localyx::mapAddress(item);
    FUZZ_CHECK(map.find(item) != std::string::npos);
    checkBrowserUrl(map);
    const std::string iti = localyx::itineraryAddress(reworked, reworked);
    FUZZ_CHECK(iti.back() == '#');
    checkBrowserUrl(iti);
    return 0;
}
