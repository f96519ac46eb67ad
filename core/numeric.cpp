#include "core/numeric.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace localyx {
namespace {

bool isIgnored(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// Radix numbers are read digit by digit; a long run simply grows the double.
double readRadix(const std::string& s, std::size_t pos, int radix) {
    double value = 0.0;
    for (; pos < s.size(); ++pos) {
        const int d = digitValue(s[pos]);
        if (d >= radix) break;
        value = value * radix + d;
    }
    return value;
}

// For a number too large or too small for a double: true when it is tiny.
// Its decimal magnitude is where the first non-zero digit stands against the
// point, shifted by the exponent.
bool magnitudeIsTiny(std::string_view number) {
    long magnitude = 0;
    bool seenNonZero = false;
    bool afterPoint = false;
    std::size_t i = 0;
    for (; i < number.size() && number[i] != 'E' && number[i] != 'e'; ++i) {
        const char c = number[i];
        if (c == '.') { afterPoint = true; continue; }
        if (!seenNonZero && c != '0') seenNonZero = true;
        if (!afterPoint && seenNonZero) ++magnitude;
        if (afterPoint && !seenNonZero) --magnitude;
    }
    long exponent = 0;
    bool expNegative = false;
    if (i < number.size()) {
        ++i;
        if (i < number.size() && (number[i] == '+' || number[i] == '-')) expNegative = number[i++] == '-';
        for (; i < number.size(); ++i) {
            if (exponent < 100000000) exponent = exponent * 10 + (number[i] - '0');
        }
    }
    return magnitude + (expNegative ? -exponent : exponent) < 0;
}

}  // namespace

double numericValue(std::string_view text) {
    // Blanks may stand anywhere, even inside the number ("4 8.5" is 48.5).
    std::string s;
    s.reserve(text.size());
    for (char c : text) {
        if (!isIgnored(c)) s.push_back(c);
    }

    std::size_t pos = 0;
    if (s.size() >= 2 && s[0] == '&') {
        if (s[1] == 'H' || s[1] == 'h') return readRadix(s, 2, 16);
        if (s[1] == 'O' || s[1] == 'o') return readRadix(s, 2, 8);
        return 0.0;
    }

    bool negative = false;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
        negative = s[pos] == '-';
        ++pos;
    }
    // Collect the longest leading number; from_chars then reads it exactly
    // and without regard to the C locale.
    const std::size_t start = pos;
    std::size_t intDigits = 0;
    while (pos < s.size() && isDigit(s[pos])) { ++pos; ++intDigits; }
    std::size_t fracDigits = 0;
    if (pos < s.size() && s[pos] == '.') {
        std::size_t p = pos + 1;
        while (p < s.size() && isDigit(s[p])) { ++p; ++fracDigits; }
        if (intDigits > 0 || fracDigits > 0) pos = p;
    }
    if (intDigits == 0 && fracDigits == 0) return 0.0;
    std::size_t end = pos;
    if (pos < s.size() && (s[pos] == 'E' || s[pos] == 'e')) {
        std::size_t p = pos + 1;
        if (p < s.size() && (s[p] == '+' || s[p] == '-')) ++p;
        const std::size_t expStart = p;
        while (p < s.size() && isDigit(s[p])) ++p;
        if (p > expStart) end = p;
    }

    double value = 0.0;
    const char* first = s.data() + start;
    const char* last = s.data() + end;
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        value = magnitudeIsTiny(std::string_view(first, static_cast<std::size_t>(last - first)))
                    ? 0.0
                    : std::numeric_limits<double>::infinity();
    } else if (ec != std::errc() || ptr != last) {
        return 0.0;
    }
    return negative ? -value : value;
}

}  // namespace localyx
