#include "core/client_placement.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <set>
#include <system_error>
#include <unordered_map>
#include <utility>

#include "core/name_folding.h"

namespace localyx {
namespace {

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

}  // namespace

std::string placeKey(std::string_view name) {
    // "S/MER", "S/ MER": sur, written so by La Poste and old files.
    std::string text;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const bool wordStart = i == 0 || std::string_view(" -'").find(name[i - 1]) != std::string_view::npos;
        if (wordStart && (name[i] == 'S' || name[i] == 's') && i + 1 < name.size() && name[i + 1] == '/') {
            text += "sur ";
            ++i;
        } else {
            text += name[i];
        }
    }
    std::string key = townKey(text);
    for (char& c : key) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return key;
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

    const NameIndex& names;
    Map byPostcode, byDepartement, byInsee;
    // Current names: whole, without small words, without blanks; former names apart.
    Map byKey, byShortKey, byJoinedKey, byFormerKey, byFormerShortKey;
    Map byRouting;  // postcode + "|" + key
    std::vector<std::string> joinedKeys;  // per place, for close spellings

    explicit Index(const NameIndex& n) : names(n) {
        joinedKeys.resize(names.placeCount());
        const auto add = [](Map& map, const std::string& key, std::size_t place) {
            if (key.empty()) return;
            Rows& list = map[key];
            if (std::find(list.begin(), list.end(), place) == list.end()) list.push_back(place);
        };
        for (std::size_t i = 0; i < names.placeCount(); ++i) {
            const Locality& l = names.place(i);
            // A city's arrondissements carry its postcodes: a postcode alone names one of them.
            if (!names.isCity(i)) {
                for (const std::string& p : names.postcodes(i)) add(byPostcode, p, i);
            }
            add(byDepartement, names.departement(i), i);
            add(byInsee, l.insee, i);
            for (const TownName* other : names.otherNames(i)) {
                const std::string key = placeKey(other->form);
                if (other->kind == NameKind::RoutingLabel) {
                    for (const std::string& p : other->postcodes) add(byRouting, p + "|" + key, i);
                } else if (other->kind == NameKind::Delegated || other->kind == NameKind::Associated) {
                    add(byFormerKey, key, i);
                    add(byFormerShortKey, withoutSmallWords(key), i);
                }
            }
            for (const std::string_view name : {std::string_view(l.name), names.officialName(i)}) {
                const std::string key = placeKey(name);
                if (key.empty()) continue;
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

    const Locality& place(std::size_t p) const { return names.place(p); }

    std::string official(std::size_t p) const {
        const std::string_view name = names.officialName(p);
        return name.empty() ? names.place(p).name : std::string(name);
    }

    std::string caption(std::size_t p) const { return official(p) + " (" + place(p).postalCode + ")"; }
};

ClientPlacer::ClientPlacer(const NameIndex& index) : m_index(std::make_unique<Index>(index)) {}

ClientPlacer::~ClientPlacer() = default;

std::string ClientPlacer::officialName(std::size_t place) const { return m_index->official(place); }

std::string ClientPlacer::postcodeFor(std::size_t place, std::string_view given) const {
    const Index& x = *m_index;
    if (const auto* served = x.find(x.byPostcode, std::string(given))) {
        if (std::find(served->begin(), served->end(), place) != served->end()) return std::string(given);
    }
    return x.place(place).postalCode;
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
    std::vector<std::string> list = words(placeKey(town));
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
    clean.key = joined(kept);
    return clean;
}

}  // namespace

Placement ClientPlacer::place(const ClientAddress& address) const {
    const Index& x = *m_index;
    Placement p;
    const auto placed = [&](PlacementStatus status, PlacementRule rule, std::size_t row) {
        p.status = status;
        p.rule = rule;
        p.place = row;
        return p;
    };
    const auto listed = [&](const std::vector<std::size_t>& candidates) {
        std::vector<std::size_t> sorted = candidates;
        std::sort(sorted.begin(), sorted.end(), [&](std::size_t a, std::size_t b) { return x.place(a).insee < x.place(b).insee; });
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
    std::string insee;
    for (char c : address.insee) {
        if (c != ' ') insee += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
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
        std::vector<std::size_t> found;
        if (const auto* current = x.find(x.byInsee, insee)) found = *current;
        const bool former = found.empty();
        if (former) {
            const auto now = x.names.withFormerCode(insee);
            found.assign(now.begin(), now.end());
        }
        if (found.size() > 1) return ambiguous(PlacementRule::InseeCode, found);
        if (found.size() == 1) {
            const std::size_t row = found.front();
            if (former) p.corrections.push_back("ancien code INSEE " + insee);
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
            if (isArrondissement(x.place(r).insee) && town.key == cityOfArrondissement(x.place(r).insee)) {
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
                const std::vector<std::string> theirs = words(withoutSmallWords(placeKey(x.place(r).name)));
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
