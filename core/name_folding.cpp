#include "core/name_folding.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <tuple>

#include "core/text_encoding.h"

namespace localyx {
namespace {

// One decoded character: its code point, or the lone byte when the text is
// not UTF-8 there (kept as it is rather than refused).
struct Character {
    char32_t code;
    std::size_t size;
    bool valid;
};

Character decodeAt(std::string_view s, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) return {lead, 1, true};
    std::size_t size = 0;
    char32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        size = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        size = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        size = 4;
        code = lead & 0x07;
    } else {
        return {lead, 1, false};
    }
    if (pos + size > s.size()) return {lead, 1, false};
    for (std::size_t i = 1; i < size; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) return {lead, 1, false};
        code = (code << 6) | (byte(pos + i) & 0x3F);
    }
    return {code, size, true};
}


char32_t toSmall(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;  // À..Þ, not ×
    if (c == 0x152) return 0x153;                               // Œ
    if (c == 0x178) return 0xFF;                                // Ÿ
    return c;
}

// The unaccented form of a small letter of the Latin-1 range, or nothing.
std::string_view baseLetters(char32_t c) {
    if (c >= 0xE0 && c <= 0xE5) return "a";
    if (c == 0xE6) return "ae";
    if (c == 0xE7) return "c";
    if (c >= 0xE8 && c <= 0xEB) return "e";
    if (c >= 0xEC && c <= 0xEF) return "i";
    if (c == 0xF1) return "n";
    if ((c >= 0xF2 && c <= 0xF6) || c == 0xF8) return "o";
    if (c >= 0xF9 && c <= 0xFC) return "u";
    if (c == 0xFD || c == 0xFF) return "y";
    if (c == 0x153) return "oe";
    return {};
}

}  // namespace

std::string foldName(std::string_view text, Fold fold) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const Character ch = decodeAt(text, pos);
        if (!ch.valid) {
            out += text[pos];
        } else {
            const char32_t small = toSmall(ch.code);
            const std::string_view plain =
                fold == Fold::CaseAndAccents ? baseLetters(small) : std::string_view{};
            if (!plain.empty()) {
                out += plain;
            } else if (small != ch.code) {
                appendUtf8(out, small);
            } else {
                out += text.substr(pos, ch.size);
            }
        }
        pos += ch.size;
    }
    return out;
}

std::vector<std::string> suggestNames(const std::vector<std::string>& candidates,
                                      std::string_view query, Fold fold, std::size_t limit) {
    std::vector<std::string> found;
    if (limit == 0) return found;
    std::vector<std::string> foldedCandidates;
    foldedCandidates.reserve(candidates.size());
    std::size_t longest = 0;
    for (const std::string& c : candidates) {
        foldedCandidates.push_back(foldName(c, fold));
        longest = std::max(longest, foldedCandidates.back().size());
    }
    // The end of each character of the folded query, found once: a prefix
    // longer than every candidate cannot match, so a huge query costs one pass.
    const std::string folded = foldName(query, fold);
    std::vector<std::size_t> ends;
    for (std::size_t pos = 0; pos < folded.size() && pos < longest;) {
        pos += decodeAt(folded, pos).size;
        if (pos <= longest) ends.push_back(pos);
    }
    const std::size_t length = ends.size();
    const std::size_t shortest = std::min<std::size_t>(3, length);
    for (std::size_t keep = length; keep >= shortest && keep > 0 && found.empty(); --keep) {
        const std::string_view prefix = std::string_view(folded).substr(0, ends[keep - 1]);
        for (std::size_t i = 0; i < candidates.size() && found.size() < limit; ++i) {
            if (foldedCandidates[i].starts_with(prefix) &&
                std::find(found.begin(), found.end(), candidates[i]) == found.end()) {
                found.push_back(candidates[i]);
            }
        }
    }
    return found;
}

namespace {

bool isSeparator(char32_t c) {
    if (c < 0x80) {
        return !((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'));
    }
    return c == 0xA0 || c == 0xAB || c == 0xBB || c == 0xB7 || c == 0x2BC || (c >= 0x2010 && c <= 0x201F) ||
           c == 0x2039 || c == 0x203A || c == 0x202F || c == 0x2026;
}

// Writes ST, STE, STS, STES out, for the word that ends the key.
void expandLastWord(std::string& key, std::size_t start) {
    const std::string_view word = std::string_view(key).substr(start);
    if (word.size() < 2 || word.size() > 4 || word[0] != 's' || word[1] != 't') return;
    if (word == "st") key.replace(start, 2, "saint");
    else if (word == "ste") key.replace(start, 3, "sainte");
    else if (word == "sts") key.replace(start, 3, "saints");
    else if (word == "stes") key.replace(start, 4, "saintes");
}

// Appends the folded words of the text to the key, one blank between words.
void appendWords(std::string& key, std::string_view text) {
    bool inWord = false;
    std::size_t start = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const Character ch = decodeAt(text, pos);
        if (ch.valid && isSeparator(ch.code)) {
            if (inWord) expandLastWord(key, start);
            inWord = false;
        } else {
            if (!inWord) {
                if (!key.empty()) key += ' ';
                start = key.size();
                inWord = true;
            }
            if (!ch.valid) {
                key += text[pos];
            } else if (ch.code < 0x80) {
                const char c = static_cast<char>(ch.code);
                key += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            } else {
                const char32_t small = toSmall(ch.code);
                const std::string_view plain = baseLetters(small);
                if (!plain.empty()) {
                    key += plain;
                } else if (small != ch.code) {
                    appendUtf8(key, small);
                } else {
                    key += text.substr(pos, ch.size);
                }
            }
        }
        pos += ch.size;
    }
    if (inWord) expandLastWord(key, start);
}

}  // namespace

std::string townKey(std::string_view text) {
    std::string key;
    key.reserve(text.size() + 8);
    const std::size_t end = text.find_last_not_of(" \t\r\n");
    const std::size_t open = end == std::string_view::npos ? end : text.rfind('(', end);
    if (end != std::string_view::npos && text[end] == ')' && open != std::string_view::npos) {
        appendWords(key, text.substr(open + 1, end - open - 1));
        if (key == "le" || key == "la" || key == "les" || key == "l") {
            const std::size_t articleEnd = key.size();
            appendWords(key, text.substr(0, open));
            if (key.size() > articleEnd) return key;
        }
        key.clear();
    }
    appendWords(key, text);
    return key;
}

std::size_t editDistance(std::string_view a, std::string_view b, std::size_t cap) {
    if (a.size() > b.size()) std::swap(a, b);
    if (b.size() - a.size() > cap) return cap + 1;
    // Three rows of the classic table: the swap of two neighbours looks two
    // back. Town names fit on the stack, which spares an allocation per key.
    constexpr std::size_t kShort = 64;
    std::array<std::size_t, 3 * (kShort + 1)> stack;
    std::vector<std::size_t> heap(a.size() < kShort ? 0 : 3 * (a.size() + 1));
    std::size_t* rows = a.size() < kShort ? stack.data() : heap.data();
    std::size_t* twoBack = rows;
    std::size_t* previous = rows + a.size() + 1;
    std::size_t* current = rows + 2 * (a.size() + 1);
    for (std::size_t i = 0; i <= a.size(); ++i) previous[i] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
        current[0] = j;
        std::size_t rowBest = current[0];
        for (std::size_t i = 1; i <= a.size(); ++i) {
            const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            std::size_t d = std::min({previous[i] + 1, current[i - 1] + 1, previous[i - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) d = std::min(d, twoBack[i - 2] + 1);
            current[i] = d;
            rowBest = std::min(rowBest, d);
        }
        if (rowBest > cap) return cap + 1;
        std::swap(twoBack, previous);
        std::swap(previous, current);
    }
    return std::min(previous[a.size()], cap + 1);
}

std::vector<std::size_t> closestKeys(const std::vector<std::string_view>& keys, std::string_view query,
                                     std::size_t limit) {
    std::vector<std::tuple<int, std::size_t, std::size_t>> ranked;  // tier, score, index
    if (query.empty() || limit == 0) return {};
    const std::size_t cap = query.size() <= 5 ? 1 : query.size() <= 10 ? 2 : 3;
    // Letters counted: an edit changes the counts by two at most, so keys
    // whose counts differ by more than twice the cap need no table.
    using Counts = std::array<int, 32>;
    const auto count = [](std::string_view text) {
        Counts c{};
        for (char ch : text) ++c[static_cast<unsigned char>(ch) & 31];
        return c;
    };
    const Counts wanted = count(query);
    const auto farApart = [&](std::string_view key) {
        const Counts have = count(key);
        std::size_t diff = 0;
        for (std::size_t i = 0; i < have.size(); ++i) diff += static_cast<std::size_t>(std::abs(have[i] - wanted[i]));
        return diff > 2 * cap;
    };
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::string_view key = keys[i];
        if (key.empty()) continue;
        if (key == query) {
            ranked.emplace_back(0, 0, i);
        } else if (query.size() >= 3 && key.starts_with(query)) {
            ranked.emplace_back(1, key.size() - query.size(), i);
        } else if (key.size() >= 3 && query.size() > key.size() && query.starts_with(key) &&
                   query[key.size()] == ' ') {
            ranked.emplace_back(1, query.size() - key.size(), i);
        } else if (key.size() + cap < query.size() || key.size() > query.size() + cap || farApart(key)) {
            continue;
        } else if (const std::size_t d = editDistance(key, query, cap); d <= cap && d < query.size()) {
            ranked.emplace_back(2, d, i);
        }
    }
    const std::size_t kept = std::min(limit, ranked.size());
    std::partial_sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(kept), ranked.end());
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < kept; ++i) found.push_back(std::get<2>(ranked[i]));
    return found;
}

}  // namespace localyx
