#include "core/client_placement.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <set>
#include <system_error>
#include <unordered_map>
#include <utility>

namespace localyx {
namespace {

// --- Reducing names ----------------------------------------------------------

// The capital ASCII letters of a character, "" for a separator, or nothing
// (kept as a separator too) for what no French place name holds.
std::string_view letters(char32_t c) {
    static const std::array<std::string_view, 64> kLatin1 = {
        "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
        "D", "N", "O", "O", "O", "O", "O", "",  "O", "U", "U", "U", "U", "Y", "",  "SS",
        "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
        "D", "N", "O", "O", "O", "O", "O", "",  "O", "U", "U", "U", "U", "Y", "",  "Y"};
    if (c >= 0xC0 && c <= 0xFF) return kLatin1[c - 0xC0];
    switch (c) {
    case 0x152: case 0x153: return "OE";
    case 0x178: return "Y";
    case 0xFB01: return "FI";
    case 0xFB02: return "FL";
    case 0x160: case 0x161: return "S";
    case 0x17D: case 0x17E: return "Z";
    default: return "";
    }
}

char32_t decodeAt(std::string_view s, std::size_t& i) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t size = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    if (i + size > s.size()) size = 1;
    char32_t c = size == 1 ? b : b & (0x3F >> (size - 1));
    for (std::size_t k = 1; k < size; ++k) c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    i += size;
    return c;
}

// Capitals, digits, "/" and brackets; anything else a blank.
std::string capitals(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = decodeAt(text, i);
        if (c >= 'a' && c <= 'z') {
            out += static_cast<char>(c - 'a' + 'A');
        } else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/' || c == '(' || c == ')') {
            out += static_cast<char>(c);
        } else if (const std::string_view l = letters(c); !l.empty()) {
            out += l;
        } else {
            out += ' ';
        }
    }
    return out;
}

std::vector<std::string> words(std::string_view text) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') ++i;
        std::size_t j = i;
        while (j < text.size() && text[j] != ' ') ++j;
        if (j > i) out.emplace_back(text.substr(i, j - i));
        i = j;
    }
    return out;
}

std::string joined(const std::vector<std::string>& list, std::string_view between = " ") {
    std::string out;
    for (const std::string& w : list) out += (out.empty() ? "" : std::string(between)) + w;
    return out;
}

bool allDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The words of a name, before the abbreviations are spelt out.
std::vector<std::string> nameWords(std::string_view name) {
    std::string text = capitals(name);
    // "ANDELYS (LES)": the article goes first.
    static const std::array<std::string_view, 4> kArticles = {"LES", "LA", "LE", "L"};
    const std::size_t open = text.rfind('(');
    if (open != std::string::npos) {
        const std::size_t close = text.find(')', open);
        const std::string inside = joined(words(text.substr(open + 1, close == std::string::npos ? std::string::npos
                                                                                                  : close - open - 1)));
        if (std::find(kArticles.begin(), kArticles.end(), inside) != kArticles.end() &&
            words(close == std::string::npos ? std::string() : text.substr(close + 1)).empty()) {
            text = inside + " " + text.substr(0, open);
        }
    }
    std::replace(text.begin(), text.end(), '(', ' ');
    std::replace(text.begin(), text.end(), ')', ' ');
    std::vector<std::string> out;
    for (std::string w : words(text)) {
        // "S/MER", "S/ MER": sur.
        if (w == "S/" || w.starts_with("S/")) {
            out.push_back("SUR");
            w.erase(0, 2);
        }
        std::replace(w.begin(), w.end(), '/', ' ');
        for (std::string& piece : words(w)) out.push_back(std::move(piece));
    }
    return out;
}

std::string expanded(const std::vector<std::string>& list) {
    static const std::unordered_map<std::string_view, std::string_view> kShort = {
        {"ST", "SAINT"}, {"STE", "SAINTE"}, {"STS", "SAINTS"}, {"STES", "SAINTES"}};
    std::vector<std::string> out;
    for (const std::string& w : list) {
        const auto found = kShort.find(w);
        out.emplace_back(found == kShort.end() ? w : std::string(found->second));
    }
    return joined(out);
}

bool smallWord(std::string_view w) {
    static const std::set<std::string_view> kSmall = {"LE", "LA", "LES", "L", "DE", "DU", "DES", "D", "SUR", "SOUS",
                                                      "EN", "ET", "AU", "AUX", "A", "LEZ", "LS", "SS"};
    return kSmall.contains(w);
}

std::string withoutSmallWords(std::string_view key) {
    std::vector<std::string> kept;
    for (std::string& w : words(key)) {
        if (!smallWord(w)) kept.push_back(std::move(w));
    }
    return joined(kept);
}

std::string withoutSpaces(std::string_view key) {
    std::string out(key);
    std::erase(out, ' ');
    return out;
}

// Edit distance, given up past `limit`.
std::size_t editDistance(std::string_view a, std::string_view b, std::size_t limit) {
    if ((a.size() > b.size() ? a.size() - b.size() : b.size() - a.size()) > limit) return limit + 1;
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0], best = row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t up = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = up;
            best = std::min(best, row[j]);
        }
        if (best > limit) return limit + 1;
    }
    return row[b.size()];
}

// --- Codes -------------------------------------------------------------------

std::string digitsOf(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c >= '0' && c <= '9') out += c;
        else if (c != ' ' && c != '.' && c != '\xC2' && c != '\xA0') return std::string(text);  // not a code
    }
    return out;
}

std::string departementOf(std::string_view postcode) {
    if (postcode.size() != 5) return {};
    if (postcode.starts_with("97")) return std::string(postcode.substr(0, 3));
    if (postcode.starts_with("20")) return postcode[2] < '2' ? "2A" : "2B";
    return std::string(postcode.substr(0, 2));
}

// Paris, Lyon, Marseille: the INSEE code of an arrondissement by its number.
std::string arrondissementCode(std::string_view city, int number) {
    char buffer[8];
    if (city == "PARIS" && number >= 1 && number <= 20) {
        std::snprintf(buffer, sizeof buffer, "751%02d", number);
    } else if (city == "LYON" && number >= 1 && number <= 9) {
        std::snprintf(buffer, sizeof buffer, "6938%d", number);
    } else if (city == "MARSEILLE" && number >= 1 && number <= 16) {
        std::snprintf(buffer, sizeof buffer, "132%02d", number);
    } else {
        return {};
    }
    return buffer;
}

bool isArrondissement(std::string_view insee) {
    return (insee >= "75101" && insee <= "75120") || (insee >= "69381" && insee <= "69389") ||
           (insee >= "13201" && insee <= "13216");
}

std::string cityOfArrondissement(std::string_view insee) {
    if (insee.starts_with("751")) return "PARIS";
    if (insee.starts_with("6938")) return "LYON";
    return "MARSEILLE";
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> out;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        out.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) return out;
        start = end + 1;
    }
}

bool readDouble(std::string_view text, double& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc{} && end == text.data() + text.size() && std::isfinite(value);
}

}  // namespace

std::string placeKey(std::string_view name) { return expanded(nameWords(name)); }

CommuneNamesData parseCommuneNames(std::string_view text, const std::vector<Locality>& rows) {
    CommuneNamesData data;
    data.names.resize(rows.size());
    std::unordered_map<std::string_view, std::size_t> byInsee;
    for (std::size_t i = 0; i < rows.size(); ++i) byInsee.emplace(rows[i].insee, i);
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    bool header = true;
    for (std::string_view line : split(text, '\n')) {
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        if (std::exchange(header, false)) continue;
        const std::vector<std::string_view> f = split(line, ';');
        if (f.size() < 4 || f[1].empty()) {
            ++data.skipped;
            continue;
        }
        std::vector<std::string> postcodes;
        for (std::string_view code : split(f[3], ' ')) {
            if (code.size() == 5) postcodes.emplace_back(code);
        }
        if (f[2] == "ville") {
            Locality city;
            double lat = 0, lon = 0;
            if (f.size() < 6 || !readDouble(f[4], lat) || !readDouble(f[5], lon) || postcodes.empty()) {
                ++data.skipped;
                continue;
            }
            city.insee = f[0];
            city.name = placeKey(f[1]);
            city.postalCode = postcodes.front();
            city.latitude = lat;
            city.longitude = lon;
            // Département and region those of its first arrondissement.
            for (const Locality& l : rows) {
                if (l.postalCode == city.postalCode) {
                    city.departement = l.departement;
                    city.region = l.region;
                    break;
                }
            }
            std::int64_t population = -1;
            if (f.size() > 6) std::from_chars(f[6].data(), f[6].data() + f[6].size(), population);
            city.population = population;
            data.cities.push_back(std::move(city));
            data.cityNames.push_back({std::string(f[1]), {}, {}, {}, {}});
            continue;
        }
        const auto row = byInsee.find(f[0]);
        if (row == byInsee.end()) {
            ++data.skipped;
            continue;
        }
        CommuneNames& names = data.names[row->second];
        if (f[2] == "officiel") {
            names.officialName = f[1];
            names.postcodes = std::move(postcodes);
        } else if (f[2] == "acheminement") {
            for (std::string& code : postcodes) names.routingLabels.emplace_back(std::move(code), std::string(f[1]));
        } else if (f[2] == "deleguee" || f[2] == "associee") {
            names.formerNames.emplace_back(f[1]);
        } else if (f[2] == "ancien_code") {
            names.formerCodes.emplace_back(f[1]);
        } else {
            ++data.skipped;
        }
    }
    return data;
}

std::string_view statusWord(PlacementStatus status) {
    switch (status) {
    case PlacementStatus::Found: return "trouvé";
    case PlacementStatus::ToCheck: return "à vérifier";
    case PlacementStatus::Ambiguous: return "ambigu";
    case PlacementStatus::NotFound: return "introuvable";
    case PlacementStatus::Empty: return "vide";
    }
    return "";
}

std::string_view ruleWords(PlacementRule rule) {
    switch (rule) {
    case PlacementRule::None: return "";
    case PlacementRule::InseeCode: return "code INSEE";
    case PlacementRule::Arrondissement: return "arrondissement";
    case PlacementRule::PostcodeName: return "code postal et nom";
    case PlacementRule::Departement: return "nom dans le département";
    case PlacementRule::CloseSpelling: return "orthographe proche";
    case PlacementRule::PostcodeAlone: return "code postal seul";
    case PlacementRule::NameAlone: return "nom seul";
    case PlacementRule::Nothing: return "aucune";
    }
    return "";
}

struct ClientPlacer::Index {
    using Rows = std::vector<std::size_t>;
    using Map = std::unordered_map<std::string, Rows>;

    const std::vector<Locality>& rows;
    const std::vector<CommuneNames>& names;
    Map byPostcode, byDepartement, byInsee;
    // Current names: whole, without small words, without blanks; former names apart.
    Map byKey, byShortKey, byJoinedKey, byFormerKey, byFormerShortKey;
    Map byRouting;  // postcode + "|" + key
    std::vector<std::string> joinedKeys;  // per row, for close spellings

    Index(const std::vector<Locality>& r, const std::vector<CommuneNames>& n) : rows(r), names(n) {
        joinedKeys.resize(rows.size());
        const auto add = [](Map& map, const std::string& key, std::size_t row) {
            if (key.empty()) return;
            Rows& list = map[key];
            if (std::find(list.begin(), list.end(), row) == list.end()) list.push_back(row);
        };
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const Locality& l = rows[i];
            const CommuneNames* extra = i < names.size() ? &names[i] : nullptr;
            // A city's arrondissements carry its postcodes: a postcode alone names one of them.
            if (l.insee != "75056" && l.insee != "69123" && l.insee != "13055") add(byPostcode, l.postalCode, i);
            add(byDepartement, l.departement, i);
            add(byInsee, l.insee, i);
            std::vector<std::string> current{l.name};
            if (extra) {
                for (const std::string& p : extra->postcodes) add(byPostcode, p, i);
                for (const std::string& c : extra->formerCodes) add(byInsee, c, i);
                if (!extra->officialName.empty()) current.push_back(extra->officialName);
                for (const std::string& former : extra->formerNames) {
                    const std::string key = placeKey(former);
                    add(byFormerKey, key, i);
                    add(byFormerShortKey, withoutSmallWords(key), i);
                }
                for (const auto& [postcode, label] : extra->routingLabels) add(byRouting, postcode + "|" + placeKey(label), i);
            }
            for (const std::string& name : current) {
                const std::string key = placeKey(name);
                add(byKey, key, i);
                add(byShortKey, withoutSmallWords(key), i);
                add(byJoinedKey, withoutSpaces(key), i);
                joinedKeys[i] = withoutSpaces(key);
            }
        }
    }

    const Rows* find(const Map& map, const std::string& key) const {
        const auto it = map.find(key);
        return it == map.end() ? nullptr : &it->second;
    }

    const std::string& official(std::size_t row) const {
        return row < names.size() && !names[row].officialName.empty() ? names[row].officialName : rows[row].name;
    }

    std::string caption(std::size_t row) const { return official(row) + " (" + rows[row].postalCode + ")"; }
};

ClientPlacer::ClientPlacer(const std::vector<Locality>& rows, const std::vector<CommuneNames>& names)
    : m_index(std::make_unique<Index>(rows, names)) {}

ClientPlacer::~ClientPlacer() = default;

const std::string& ClientPlacer::officialName(std::size_t row) const { return m_index->official(row); }

std::string ClientPlacer::postcodeFor(std::size_t row, std::string_view given) const {
    const Index& x = *m_index;
    if (const auto* served = x.find(x.byPostcode, std::string(given))) {
        if (std::find(served->begin(), served->end(), row) != served->end()) return std::string(given);
    }
    return x.rows[row].postalCode;
}

namespace {

// The town as written, cleaned: CEDEX, BP, CS, TSA and their numbers out,
// a postcode written in it taken apart.
struct CleanTown {
    std::string key;            // placeKey of what is left
    std::string postcode;       // five digits found in the town, if any
    std::string arrondissement; // "PARIS 15E" and the like: its INSEE code
};

CleanTown cleanTown(std::string_view town, std::vector<std::string>& corrections) {
    CleanTown clean;
    std::vector<std::string> list = nameWords(town);
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string& w = list[i];
        const bool numberNext = i + 1 < list.size() && allDigits(list[i + 1]);
        if (w == "CEDEX") {
            corrections.emplace_back("CEDEX retiré");
            if (numberNext) ++i;
        } else if ((w == "BP" || w == "CS" || w == "TSA") && numberNext) {
            corrections.push_back(w + " retiré");
            ++i;
        } else if (w == "B" && i + 2 < list.size() && list[i + 1] == "P" && allDigits(list[i + 2])) {
            corrections.emplace_back("BP retiré");
            i += 2;
        } else if (allDigits(w) && (w.size() == 5 || w.size() == 4) && clean.postcode.empty() && kept.size() != 1) {
            clean.postcode = w.size() == 4 ? "0" + w : w;
        } else {
            kept.push_back(w);
        }
    }
    // "PARIS 15", "Lyon 3e", "MARSEILLE 1ER", "PARIS 15E ARRONDISSEMENT".
    if (kept.size() >= 2) {
        std::string number = kept[1];
        for (std::string_view suffix : {"EME", "ER", "E"}) {
            if (number.size() > suffix.size() && number.ends_with(suffix)) {
                number.resize(number.size() - suffix.size());
                break;
            }
        }
        int n = 0;
        const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), n);
        if (ec == std::errc{} && end == number.data() + number.size() &&
            (kept.size() == 2 || (kept.size() == 3 && kept[2].starts_with("ARR")))) {
            clean.arrondissement = arrondissementCode(kept[0], n);
            if (!clean.arrondissement.empty()) kept.resize(1);
        }
    }
    clean.key = expanded(kept);
    return clean;
}

}  // namespace

Placement ClientPlacer::place(const ClientAddress& address) const {
    const Index& x = *m_index;
    Placement p;
    const auto placed = [&](PlacementStatus status, PlacementRule rule, std::size_t row) {
        p.status = status;
        p.rule = rule;
        p.row = row;
        return p;
    };
    const auto listed = [&](const std::vector<std::size_t>& candidates) {
        std::vector<std::size_t> sorted = candidates;
        std::sort(sorted.begin(), sorted.end(), [&](std::size_t a, std::size_t b) { return x.rows[a].insee < x.rows[b].insee; });
        for (std::size_t i = 0; i < sorted.size() && i < 3; ++i) p.suggestions.push_back(x.caption(sorted[i]));
        if (sorted.size() > 3) p.suggestions.push_back("et " + std::to_string(sorted.size() - 3) + " autres");
    };
    const auto ambiguous = [&](PlacementRule rule, const std::vector<std::size_t>& candidates) {
        p.status = PlacementStatus::Ambiguous;
        p.rule = rule;
        listed(candidates);
        return p;
    };

    // 0. Clean.
    std::string postcode = digitsOf(address.postcode);
    if (postcode.size() == 4 && allDigits(postcode)) {
        p.corrections.push_back(postcode + " → 0" + postcode);
        postcode.insert(0, "0");
    }
    std::string insee = capitals(address.insee);
    std::erase(insee, ' ');
    if (insee.size() == 4 && allDigits(insee)) {
        p.corrections.push_back("code INSEE " + insee + " → 0" + insee);
        insee.insert(0, "0");
    }
    const CleanTown town = cleanTown(address.town, p.corrections);
    if (postcode.empty() && !town.postcode.empty()) {
        postcode = town.postcode;
        p.corrections.push_back("code postal " + postcode + " pris dans la ville");
    }
    const bool hasPostcode = !postcode.empty();
    const bool hasName = !town.key.empty() || !town.arrondissement.empty();
    if (!hasPostcode && !hasName && insee.empty()) return p;

    // The rows whose names match the town's, at the first step that gives any.
    const auto byName = [&](const Index::Rows* within, bool includeFormer) -> std::vector<std::size_t> {
        const auto keep = [&](const Index::Rows* found) {
            std::vector<std::size_t> out;
            if (!found) return out;
            for (std::size_t r : *found) {
                if (!within || std::find(within->begin(), within->end(), r) != within->end()) out.push_back(r);
            }
            return out;
        };
        for (const auto& [map, key] : std::vector<std::pair<const Index::Map*, std::string>>{
                 {&x.byKey, town.key}, {&x.byShortKey, withoutSmallWords(town.key)},
                 {&x.byJoinedKey, withoutSpaces(town.key)}}) {
            if (auto rows = keep(x.find(*map, key)); !rows.empty()) return rows;
        }
        if (!includeFormer) return {};
        if (auto rows = keep(x.find(x.byFormerKey, town.key)); !rows.empty()) {
            p.corrections.push_back("ancien nom ou commune déléguée");
            return rows;
        }
        if (auto rows = keep(x.find(x.byFormerShortKey, withoutSmallWords(town.key))); !rows.empty()) {
            p.corrections.push_back("ancien nom ou commune déléguée");
            return rows;
        }
        return {};
    };

    // 1. An INSEE code, current or former.
    if (!insee.empty()) {
        if (const auto* found = x.find(x.byInsee, insee); found && found->size() == 1) {
            const std::size_t row = found->front();
            if (x.rows[row].insee != insee) p.corrections.push_back("ancien code INSEE " + insee);
            if (hasName && !town.key.empty()) {
                const Index::Rows one{row};
                if (byName(&one, true).empty()) {
                    p.corrections.push_back("la ville « " + address.town + " » ne correspond pas au code INSEE");
                    return placed(PlacementStatus::ToCheck, PlacementRule::InseeCode, row);
                }
            }
            return placed(PlacementStatus::Found, PlacementRule::InseeCode, row);
        }
        p.corrections.push_back("code INSEE " + insee + " inconnu");
    }

    // 2. Paris, Lyon, Marseille: the arrondissement.
    if (!town.arrondissement.empty()) {
        if (const auto* found = x.find(x.byInsee, town.arrondissement); found && found->size() == 1) {
            return placed(PlacementStatus::Found, PlacementRule::Arrondissement, found->front());
        }
    }
    const Index::Rows* served = hasPostcode ? x.find(x.byPostcode, postcode) : nullptr;
    if (served && !town.key.empty()) {
        std::vector<std::size_t> arrondissements;
        for (std::size_t r : *served) {
            if (isArrondissement(x.rows[r].insee) && town.key == cityOfArrondissement(x.rows[r].insee)) {
                arrondissements.push_back(r);
            }
        }
        if (arrondissements.size() == 1) {
            return placed(PlacementStatus::Found, PlacementRule::Arrondissement, arrondissements.front());
        }
    }

    if (served && !town.key.empty()) {
        // 3, 4. The name among the postcode's communes, then routing labels.
        std::vector<std::size_t> rows = byName(served, true);
        if (rows.empty()) {
            if (const auto* routed = x.find(x.byRouting, postcode + "|" + town.key)) {
                rows = *routed;
                if (!rows.empty()) p.corrections.push_back("libellé d'acheminement");
            }
        }
        if (rows.size() == 1) return placed(PlacementStatus::Found, PlacementRule::PostcodeName, rows.front());
        if (rows.size() > 1) return ambiguous(PlacementRule::PostcodeName, rows);
    }

    if (hasPostcode && !town.key.empty()) {
        // 5. The name in the postcode's département.
        if (const auto* dept = x.find(x.byDepartement, departementOf(postcode))) {
            const std::vector<std::size_t> rows = byName(dept, true);
            if (rows.size() == 1) {
                p.corrections.push_back(served ? "le code postal " + postcode + " ne dessert pas cette commune"
                                               : "code postal " + postcode + " inconnu");
                return placed(served ? PlacementStatus::ToCheck : PlacementStatus::Found, PlacementRule::Departement,
                              rows.front());
            }
            if (rows.size() > 1) return ambiguous(PlacementRule::Departement, rows);
        }
        // 6. A close spelling within the postcode.
        if (served) {
            const std::string given = withoutSpaces(town.key);
            const std::vector<std::string> givenWords = words(withoutSmallWords(town.key));
            std::vector<std::size_t> close;
            for (std::size_t r : *served) {
                const std::string& candidate = x.joinedKeys[r];
                const std::vector<std::string> theirs = words(withoutSmallWords(placeKey(x.rows[r].name)));
                const auto subset = [](const std::vector<std::string>& a, const std::vector<std::string>& b) {
                    return !a.empty() && std::all_of(a.begin(), a.end(), [&](const std::string& w) {
                        return std::find(b.begin(), b.end(), w) != b.end();
                    });
                };
                const std::size_t shorter = std::min(given.size(), candidate.size());
                const bool prefix = shorter >= 6 && given.compare(0, shorter, candidate, 0, shorter) == 0;
                if (editDistance(given, candidate, 2) <= 2 || subset(givenWords, theirs) || subset(theirs, givenWords) ||
                    prefix) {
                    close.push_back(r);
                }
            }
            if (close.size() == 1) return placed(PlacementStatus::ToCheck, PlacementRule::CloseSpelling, close.front());
        }
    }

    // 7. A postcode alone.
    if (hasPostcode && town.key.empty() && town.arrondissement.empty()) {
        if (!served) {
            p.status = PlacementStatus::NotFound;
            p.rule = PlacementRule::Nothing;
            p.corrections.push_back("code postal " + postcode + " inconnu");
            return p;
        }
        if (served->size() == 1) return placed(PlacementStatus::Found, PlacementRule::PostcodeAlone, served->front());
        return ambiguous(PlacementRule::PostcodeAlone, *served);
    }

    // 8. A name alone.
    if (!hasPostcode && !town.key.empty()) {
        const std::vector<std::size_t> rows = byName(nullptr, true);
        if (rows.size() == 1) return placed(PlacementStatus::Found, PlacementRule::NameAlone, rows.front());
        if (rows.size() > 1) return ambiguous(PlacementRule::NameAlone, rows);
    }

    // Nothing: suggestions from the postcode's communes and its département,
    // closest spelling first.
    p.status = PlacementStatus::NotFound;
    p.rule = PlacementRule::Nothing;
    const std::string given = withoutSpaces(town.key);
    if (!given.empty()) {
        std::vector<std::pair<std::size_t, std::size_t>> ranked;  // distance, row
        const std::size_t limit = std::max<std::size_t>(2, given.size() / 3);
        const auto rank = [&](const Index::Rows* list) {
            if (!list) return;
            for (std::size_t r : *list) {
                const std::size_t d = editDistance(given, x.joinedKeys[r], limit);
                if (d <= limit && std::none_of(ranked.begin(), ranked.end(), [&](const auto& e) { return e.second == r; })) {
                    ranked.emplace_back(d, r);
                }
            }
        };
        rank(served);
        if (hasPostcode) rank(x.find(x.byDepartement, departementOf(postcode)));
        std::sort(ranked.begin(), ranked.end());
        for (std::size_t i = 0; i < ranked.size() && i < 3; ++i) p.suggestions.push_back(x.caption(ranked[i].second));
    }
    return p;
}

}  // namespace localyx
