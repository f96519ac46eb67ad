#include "core/town_resolver.h"

#include <algorithm>

#include "core/name_folding.h"

namespace localyx {
namespace {

bool allDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A postcode as written, five digits or four that lost their leading zero.
std::string asPostcode(std::string_view word) {
    if (!allDigits(word)) return {};
    if (word.size() == 5) return std::string(word);
    if (word.size() == 4) return "0" + std::string(word);
    return {};
}

// A metropolitan département number, in the table's writing ("2A").
std::string asDepartement(std::string_view word) {
    if (word == "2a" || word == "2b") return word == "2a" ? "2A" : "2B";
    if (word.size() != 2 || !allDigits(word) || word == "00" || word == "20" || word > "95") return {};
    return std::string(word);
}

std::vector<std::string> splitWords(const std::string& key) {
    std::vector<std::string> words;
    for (std::size_t start = 0; start < key.size();) {
        const std::size_t end = std::min(key.find(' ', start), key.size());
        words.push_back(key.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

std::string joinWords(const std::vector<std::string>& words) {
    std::string key;
    for (const std::string& w : words) key += (key.empty() ? "" : " ") + w;
    return key;
}

// Names first, then parts of communes (said on standard error), then
// routing labels, which often spell a part's name the post's way.
int tierOf(NameKind kind) {
    switch (kind) {
    case NameKind::Item:
    case NameKind::Official:
    case NameKind::City:
        return 0;
    case NameKind::Delegated:
    case NameKind::Associated:
        return 1;
    default:
        return 2;
    }
}

TownMatch single(std::size_t place, TownRule rule) {
    TownMatch m;
    m.kind = TownMatch::Kind::Found;
    m.place = place;
    m.rule = rule;
    return m;
}

TownMatch several(std::vector<std::size_t> places) {
    std::sort(places.begin(), places.end());
    places.erase(std::unique(places.begin(), places.end()), places.end());
    TownMatch m;
    m.kind = TownMatch::Kind::Ambiguous;
    m.candidates = std::move(places);
    return m;
}

}  // namespace

TownResolver::TownResolver(const NameIndex& index) : m_index(index) {}

// NAME-CODE exactly as a row's item; several rows may share it. The row is
// among those its name's key leads to, so no index of items is needed.
TownMatch TownResolver::byItem(std::string_view text) const {
    const std::size_t dash = text.rfind('-');
    if (dash == std::string_view::npos) return {};
    const std::string_view name = text.substr(0, dash), code = text.substr(dash + 1);
    std::vector<std::size_t> found;
    for (const NameIndex::Entry& e : m_index.withKey(NameIndex::nameKey(name))) {
        if (e.kind != NameKind::Item) continue;
        const Locality& row = m_index.place(e.place);
        if (row.name == name && row.postalCode == code) found.push_back(e.place);
    }
    if (found.size() == 1) return single(found.front(), TownRule::Item);
    return found.empty() ? TownMatch{} : several(std::move(found));
}

TownMatch TownResolver::resolve(std::string_view text) const {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    const std::string_view trimmed =
        first == std::string_view::npos ? std::string_view{} : text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
    for (const std::string_view t : {text, trimmed}) {
        if (TownMatch m = byItem(t); m.kind != TownMatch::Kind::Unknown) return m;
    }
    if (trimmed.size() == 5) {
        std::string code(trimmed);
        if (code[1] == 'a' || code[1] == 'b') code[1] = static_cast<char>(code[1] - 'a' + 'A');  // Corsica: 2A, 2B
        if (const auto place = m_index.withInsee(code)) {
            return single(*place, m_index.isCity(*place) ? TownRule::City : TownRule::InseeCode);
        }
        // Old Seine codes (75015 was Bry-sur-Marne's) are postcodes of Paris today.
        const auto now = m_index.withPostcode(code).empty() ? m_index.withFormerCode(code)
                                                            : std::span<const std::size_t>{};
        if (now.size() > 1) return several({now.begin(), now.end()});
        if (now.size() == 1) {
            TownMatch m = single(now.front(), TownRule::FormerCode);
            const Locality& l = m_index.place(m.place);
            const std::string_view official = m_index.officialName(m.place);
            m.notes.push_back("« " + code + " » est un ancien code INSEE : la commune est aujourd'hui " +
                              (official.empty() ? l.item() : std::string(official)) + " (" + l.insee + ").");
            return m;
        }
    }
    return byName(trimmed);
}

TownMatch TownResolver::byName(std::string_view text) const {
    std::vector<std::string> words = splitWords(NameIndex::nameKey(text));
    bool cedex = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] != "cedex") continue;
        cedex = true;
        const bool numbered = i + 1 < words.size() && words[i + 1].size() <= 3 && allDigits(words[i + 1]);
        words.erase(words.begin() + static_cast<std::ptrdiff_t>(i),
                    words.begin() + static_cast<std::ptrdiff_t>(i + (numbered ? 2 : 1)));
        --i;
    }
    std::string postcode;
    if (!words.empty() && !(postcode = asPostcode(words.front())).empty()) {
        words.erase(words.begin());
    } else if (words.size() > 1 && !(postcode = asPostcode(words.back())).empty()) {
        words.pop_back();
    }
    if (words.empty()) {
        if (postcode.empty() || cedex) return {};
        const auto served = m_index.withPostcode(postcode);
        if (served.size() == 1) return single(served.front(), TownRule::Postcode);
        if (served.size() > 1) return several({served.begin(), served.end()});
        return {};
    }
    std::string departement;
    if (cedex && !postcode.empty()) {  // a CEDEX code is no commune's: only its département tells
        departement = postcode.substr(0, 2);
        postcode.clear();
    }
    std::string key = joinWords(words);
    std::span<const NameIndex::Entry> entries = m_index.withKey(key);
    if (entries.empty() && postcode.empty() && departement.empty() && words.size() > 1 &&
        !(departement = asDepartement(words.back())).empty()) {
        words.pop_back();
        key = joinWords(words);
        entries = m_index.withKey(key);
    }
    const auto fits = [&](std::size_t place) {
        if (!postcode.empty()) {
            const auto codes = m_index.postcodes(place);
            return std::find(codes.begin(), codes.end(), postcode) != codes.end();
        }
        if (departement == "20") return m_index.departement(place).starts_with("2");
        return departement.empty() || m_index.departement(place) == departement;
    };
    std::vector<std::size_t> unfiltered;
    for (int tier = 0; tier <= 2; ++tier) {
        std::vector<std::size_t> places;
        const NameIndex::Entry* how = nullptr;
        for (const NameIndex::Entry& e : entries) {
            if (tierOf(e.kind) != tier) continue;
            unfiltered.push_back(e.place);
            if (!fits(e.place)) continue;
            places.push_back(e.place);
            how = &e;
        }
        if (places.size() > 1) return several(std::move(places));
        if (places.empty()) continue;
        const std::size_t place = places.front();
        if (how->kind == NameKind::City) return single(place, TownRule::City);
        if (tier != 1) return single(place, TownRule::Name);
        TownMatch m = single(place, TownRule::Part);
        const std::string_view official = m_index.officialName(place);
        m.notes.push_back("« " + std::string(text) + " » est une commune " +
                          (how->kind == NameKind::Delegated ? "déléguée" : "associée") + " de " +
                          (official.empty() ? m_index.place(place).item() : std::string(official)) + " (" +
                          m_index.place(place).insee + ").");
        return m;
    }
    return suggest(key, unfiltered);
}

TownMatch TownResolver::suggest(const std::string& key, const std::vector<std::size_t>& near) const {
    constexpr std::size_t kLimit = 5;
    TownMatch m;
    const auto add = [&](std::size_t place) {
        if (m.suggestions.size() < kLimit &&
            std::find(m.suggestions.begin(), m.suggestions.end(), place) == m.suggestions.end()) {
            m.suggestions.push_back(place);
        }
    };
    for (std::size_t place : near) add(place);
    for (std::size_t i : closestKeys(m_index.keys(), key, kLimit)) {
        std::vector<NameIndex::Entry> entries(m_index.withKey(m_index.keys()[i]).begin(),
                                              m_index.withKey(m_index.keys()[i]).end());
        std::stable_sort(entries.begin(), entries.end(),
                         [](const auto& a, const auto& b) { return tierOf(a.kind) < tierOf(b.kind); });
        for (const NameIndex::Entry& e : entries) add(e.place);
    }
    return m;
}

}  // namespace localyx
