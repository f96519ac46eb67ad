#include "core/web_address.h"

#include "core/text_encoding.h"

namespace localyx {

std::string mapAddress(std::string_view town, std::string_view host) {
    std::string address = "http://";
    address += host;
    address +=
        "/viamichelin/fra/dyn/controller/mapPerformPage?expressMap=false&act=&pim=true&strAddress=&strCP=&strLocation=";
    address += town;
    address += "%20&%20%20&strCountry=1424&x=33&y=11";
    return address;
}

std::string reworkItem(std::string_view item) {
    const std::size_t n = utf8Length(item);
    const std::size_t tail = n < 5 ? n : 5;
    std::string out = utf8Substr(item, n - tail, tail);
    out += '+';
    // "-" is ASCII and never a byte of a longer UTF-8 character, so the first
    // hyphen's byte offset ends the name part; without one the whole item is
    // the name, so the walk ends instead of running forever.
    const std::size_t hyphen = item.find('-');
    out += item.substr(0, hyphen == std::string_view::npos ? item.size() : hyphen);
    return out;
}

std::string itineraryAddress(std::string_view startMerged, std::string_view destMerged,
                             std::string_view host) {
    std::string address = "http://";
    address += host;
    address +=
        "/viamichelin/fra/dyn/controller/ItiWGPerformPage?ie=utf-8&reinit=1&strStartCityCountry=1424&strStartAddress=&strStartMerged=";
    address += startMerged;
    address += "&strDestCityCountry=1424&strDestAddress=&strDestMerged=";
    address += destMerged;
    address += " &image2.x=0&image2.y=0#";
    return address;
}

std::string toBrowserUrl(std::string_view raw) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    auto isHex = [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    };
    std::string out;
    out.reserve(raw.size() + raw.size() / 4);
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        const auto b = static_cast<unsigned char>(c);
        bool encode = b <= 0x20 || b >= 0x7F;
        switch (c) {
            case '"': case '<': case '>': case '\\': case '^': case '`': case '{': case '|': case '}':
                encode = true;
                break;
            case '%':
                encode = !(i + 2 < raw.size() && isHex(raw[i + 1]) && isHex(raw[i + 2]));
                break;
            case '#':
                // Only an address's own closing "#" starts its fragment; one
                // inside a town name would cut the query short.
                encode = i + 1 != raw.size();
                break;
            default:
                break;
        }
        if (encode) {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace localyx
