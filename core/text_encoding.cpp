#include "core/text_encoding.h"

#include <array>
#include <cstdint>

namespace localyx {
namespace {

// Code points of bytes 0x80..0x9F in Windows-1252; the five undefined bytes
// keep their own value, as Windows maps them.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Length of the well-formed UTF-8 sequence at i, or 0 when there is none.
std::size_t sequenceLength(std::string_view s, std::size_t i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) return 1;
    std::size_t len = 0;
    char32_t min = 0;
    char32_t cp = 0;
    if ((b0 & 0xE0) == 0xC0) { len = 2; min = 0x80; cp = b0 & 0x1F; }
    else if ((b0 & 0xF0) == 0xE0) { len = 3; min = 0x800; cp = b0 & 0x0F; }
    else if ((b0 & 0xF8) == 0xF0) { len = 4; min = 0x10000; cp = b0 & 0x07; }
    else return 0;
    if (i + len > s.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

constexpr std::string_view kBom = "\xEF\xBB\xBF";

}  // namespace

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) out.push_back(c);
        else if (b < 0xA0) appendUtf8(out, kHighControls[b - 0x80]);
        else appendUtf8(out, b);
    }
    return out;
}

bool isValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t len = sequenceLength(bytes, i);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

std::string decodeRegionText(std::string_view bytes) {
    if (bytes.substr(0, kBom.size()) == kBom) {
        bytes.remove_prefix(kBom.size());
        // A marked file that is not valid UTF-8 after all still must not
        // yield broken text: decode it as the code page.
        return isValidUtf8(bytes) ? std::string(bytes) : windows1252ToUtf8(bytes);
    }
    bool ascii = true;
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) { ascii = false; break; }
    }
    if (ascii) return std::string(bytes);
    // Accented French in Windows-1252 is never valid UTF-8 in practice, so
    // a valid UTF-8 file was written as such.
    return isValidUtf8(bytes) ? std::string(bytes) : windows1252ToUtf8(bytes);
}

std::size_t utf8Length(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++count) {
        const std::size_t len = sequenceLength(text, i);
        i += len == 0 ? 1 : len;
    }
    return count;
}

std::string utf8Substr(std::string_view text, std::size_t first, std::size_t count) {
    std::size_t i = 0;
    std::size_t index = 0;
    std::size_t begin = text.size();
    for (; i < text.size() && index < first; ++index) {
        const std::size_t len = sequenceLength(text, i);
        i += len == 0 ? 1 : len;
    }
    begin = i;
    for (std::size_t n = 0; i < text.size() && n < count; ++n) {
        const std::size_t len = sequenceLength(text, i);
        i += len == 0 ? 1 : len;
    }
    return std::string(text.substr(begin, i - begin));
}

std::string xmlSafe(std::string_view text) {
    constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            const bool allowed = byte >= 0x20 || byte == '\t' || byte == '\n' || byte == '\r';
            out += allowed ? std::string_view(&text[i], 1) : kReplacement;
            ++i;
            continue;
        }
        const std::size_t size = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
        const std::string_view one = text.substr(i, size);
        if (one.size() != size || !isValidUtf8(one)) {
            out += kReplacement;
            ++i;
            continue;
        }
        // U+FFFE and U+FFFF: EF BF BE, EF BF BF.
        const bool nonCharacter = size == 3 && byte == 0xEF && static_cast<unsigned char>(one[1]) == 0xBF &&
                                  static_cast<unsigned char>(one[2]) >= 0xBE;
        out += nonCharacter ? kReplacement : one;
        i += size;
    }
    return out;
}

}  // namespace localyx
