#include "core/name_index.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <system_error>
#include <tuple>

#include "core/name_folding.h"
#include "core/region_file.h"
#include "core/table_text.h"
#include "core/text_encoding.h"

namespace fs = std::filesystem;

namespace localyx {
namespace {

constexpr std::string_view kHeader = "insee;forme;type;codes_postaux;latitude;longitude;population";
constexpr std::size_t kColumns = 7;

std::optional<NameKind> kindOf(std::string_view type) {
    if (type == "officiel") return NameKind::Official;
    if (type == "ville") return NameKind::City;
    if (type == "acheminement") return NameKind::RoutingLabel;
    if (type == "deleguee") return NameKind::Delegated;
    if (type == "associee") return NameKind::Associated;
    if (type == "ancien_code") return NameKind::FormerCode;
    return std::nullopt;
}

bool isPostcode(std::string_view s) {
    return s.size() == 5 && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Why a row cannot be used, or empty.
std::string readRow(std::string_view line, TownName& row) {
    std::array<std::string_view, kColumns> cells;
    std::size_t count = 0;
    for (std::size_t start = 0;; ++count) {
        const std::size_t end = line.find(';', start);
        if (count < kColumns) cells[count] = line.substr(start, end - start);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    if (++count != kColumns) return std::to_string(count) + " colonnes au lieu de " + std::to_string(kColumns);
    if (!isValidUtf8(line)) return "texte qui n'est pas de l'UTF-8";
    const auto kind = kindOf(cells[2]);
    if (!kind || *kind == NameKind::Item) return "type inconnu";
    if (cells[0].empty() || cells[1].empty()) return "code INSEE ou forme vide";
    row.insee = cells[0];
    row.form = cells[1];
    row.kind = *kind;
    for (std::size_t start = 0; start < cells[3].size();) {
        const std::size_t end = std::min(cells[3].find(' ', start), cells[3].size());
        const std::string_view code = cells[3].substr(start, end - start);
        if (!isPostcode(code)) return "code postal illisible";
        row.postcodes.emplace_back(code);
        start = end + 1;
    }
    if (row.kind != NameKind::City) return {};
    const auto number = [](std::string_view text, auto& value) {
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        return !text.empty() && ec == std::errc{} && end == text.data() + text.size();
    };
    if (!number(cells[4], row.latitude) || !number(cells[5], row.longitude) || !std::isfinite(row.latitude) ||
        !std::isfinite(row.longitude) || std::fabs(row.latitude) > 90 || std::fabs(row.longitude) > 180) {
        return "coordonnées illisibles";
    }
    if (!cells[6].empty() && (!number(cells[6], row.population) || row.population < 0)) return "population illisible";
    return {};
}

bool isOrdinal(std::string_view word, std::string& number) {
    std::size_t digits = 0;
    while (digits < word.size() && word[digits] >= '0' && word[digits] <= '9') ++digits;
    if (digits == 0 || digits > 2) return false;
    const std::string_view suffix = word.substr(digits);
    for (std::string_view s : {"", "e", "eme", "ieme", "er", "ere", "re", "em", "me"}) {
        if (suffix == s) {
            // "01er" is the first; a bare "05" stays a département.
            const bool dropZero = !suffix.empty() && word[0] == '0' && digits == 2;
            number = std::string(word.substr(dropZero ? 1 : 0, dropZero ? 1 : digits));
            return true;
        }
    }
    return false;
}

// An INSEE code as a number, for a compact sorted index; 0 for what is not one.
std::uint64_t packCode(std::string_view code) {
    if (code.size() != 5) return 0;
    std::uint64_t packed = 0;
    for (char c : code) packed = packed << 8 | static_cast<unsigned char>(c);
    return packed;
}

}  // namespace

TownNames parseTownNames(std::string_view text) {
    TownNames names;
    names.error = walkTableText(text, kHeader, names.warnings, [&](std::string_view line) {
        TownName row;
        std::string problem = readRow(line, row);
        if (problem.empty()) names.rows.push_back(std::move(row));
        return problem;
    });
    return names;
}

TownNames loadTownNames(const fs::path& folder) {
    TownNames names;
    const fs::path path = folder / kTownNamesFileName;
    std::string bytes;
    switch (readWholeFile(path, kMaxLocalityTableBytes, bytes)) {
    case RegionFileProblem::None:
        names = parseTownNames(bytes);
        break;
    case RegionFileProblem::NotFound:
        break;
    case RegionFileProblem::Unreadable:
        names.error = "fichier illisible";
        break;
    case RegionFileProblem::TooLarge:
        names.error = "fichier trop volumineux";
        break;
    }
    names.path = path;
    return names;
}

std::string NameIndex::nameKey(std::string_view text) {
    std::string key = townKey(text);
    if (key.find_first_of("0123456789") == std::string::npos) return key;
    std::string out, number;
    bool afterNumber = false;
    for (std::size_t start = 0; start < key.size();) {
        const std::size_t end = std::min(key.find(' ', start), key.size());
        const std::string_view word = std::string_view(key).substr(start, end - start);
        start = end + 1;
        if (afterNumber && (word == "arrondissement" || word == "arr" || word == "arrt")) continue;
        afterNumber = isOrdinal(word, number);
        out += (out.empty() ? "" : " ") + (afterNumber ? number : std::string(word));
    }
    return out;
}

NameIndex::NameIndex(const std::vector<Locality>& rows, TownNames names) : m_rows(rows), m_names(std::move(names)) {
    const std::vector<TownName>& named = m_names.rows;
    m_byKey.reserve(rows.size() + named.size() / 4);
    m_byInsee.reserve(rows.size() + 8);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (const std::uint64_t code = packCode(rows[i].insee)) m_byInsee.emplace_back(code, i);
    }
    sortInsee();
    // The cities first, so that every place has its info slot.
    for (const TownName& n : named) {
        if (n.kind != NameKind::City || withInsee(n.insee) || n.postcodes.empty() || !packCode(n.insee)) continue;
        Locality city;
        city.insee = n.insee;
        city.name = n.form;
        for (char& c : city.name) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        city.postalCode = n.postcodes.front();
        city.departement = n.insee.substr(0, 2);
        for (const Locality& row : rows) {
            if (row.departement == city.departement) {
                city.region = row.region;
                break;
            }
        }
        city.latitude = n.latitude;
        city.longitude = n.longitude;
        city.population = n.population;
        m_byInsee.emplace_back(packCode(city.insee), rows.size() + m_cities.size());
        m_cities.push_back(std::move(city));
    }
    sortInsee();
    m_info.resize(placeCount());
    std::vector<std::string_view> itemKeys(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) itemKeys[i] = add(nameKey(rows[i].name), i, NameKind::Item);
    // The file is grouped by locality in table order: the next row is
    // nearly always the one, and a look-up is the exception.
    const std::string* lastInsee = nullptr;
    std::optional<std::size_t> lastPlace;
    std::size_t next = 0;
    for (std::size_t r = 0; r < named.size(); ++r) {
        const TownName& n = named[r];
        if (!lastInsee || *lastInsee != n.insee) {
            lastPlace = next < rows.size() && rows[next].insee == n.insee ? std::optional(next) : withInsee(n.insee);
            if (lastPlace) next = *lastPlace + 1;
            lastInsee = &n.insee;
        }
        if (!lastPlace) continue;
        const std::size_t place = *lastPlace;
        Info& info = m_info[place];
        switch (n.kind) {
        case NameKind::Official:
        case NameKind::City: {
            if (info.official != kNone) break;
            info.official = static_cast<std::uint32_t>(r);
            // Most official names fold to their item's key, which already leads here.
            std::string key = nameKey(n.form);
            if (place >= rows.size() || key != itemKeys[place]) add(key, place, n.kind);
            break;
        }
        case NameKind::RoutingLabel:
        case NameKind::Delegated:
        case NameKind::Associated:
            info.others.push_back(static_cast<std::uint32_t>(r));
            add(nameKey(n.form), place, n.kind);
            break;
        case NameKind::FormerCode:
            if (!withInsee(n.form)) m_byFormerCode[n.form].push_back(place);
            break;
        case NameKind::Item:
            break;
        }
    }
    // Every place's postcodes side by side: the table's, then the others the names give.
    m_postcodes.reserve(rows.size() + rows.size() / 4);
    for (std::size_t place = 0; place < placeCount(); ++place) {
        Info& info = m_info[place];
        info.firstPostcode = static_cast<std::uint32_t>(m_postcodes.size());
        if (place < rows.size()) m_postcodes.push_back(rows[place].postalCode);
        if (info.official != kNone) {
            for (const std::string& code : named[info.official].postcodes) {
                if (place >= rows.size() || code != rows[place].postalCode) m_postcodes.push_back(code);
            }
        }
        info.postcodeCount = static_cast<std::uint32_t>(m_postcodes.size() - info.firstPostcode);
    }
    m_byPostcode.reserve(rows.size() / 4);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (const std::string& code : postcodes(i)) {
            auto it = m_byPostcode.find(std::string_view(code));
            if (it == m_byPostcode.end()) {
                it = m_byPostcode.emplace(std::piecewise_construct, std::forward_as_tuple(code), std::forward_as_tuple()).first;
            }
            it->second.push_back(i);
        }
    }
}

std::string_view NameIndex::add(std::string_view key, std::size_t place, NameKind kind) {
    if (key.empty()) return {};
    auto it = m_byKey.find(key);
    if (it == m_byKey.end()) {
        it = m_byKey.emplace(std::piecewise_construct, std::forward_as_tuple(key), std::forward_as_tuple()).first;
        m_keyOrder.push_back(it->first);
    }
    for (Entry& e : it->second) {
        if (e.place != place) continue;
        e.kind = std::min(e.kind, kind);  // the most trusted way it is named
        return it->first;
    }
    it->second.push_back({place, kind});
    return it->first;
}

std::string_view NameIndex::officialName(std::size_t place) const {
    const std::uint32_t row = m_info[place].official;
    return row == kNone ? std::string_view{} : std::string_view(m_names.rows[row].form);
}

std::span<const std::string> NameIndex::postcodes(std::size_t place) const {
    return std::span<const std::string>(m_postcodes).subspan(m_info[place].firstPostcode, m_info[place].postcodeCount);
}

std::vector<const TownName*> NameIndex::otherNames(std::size_t place) const {
    std::vector<const TownName*> found;
    for (std::uint32_t row : m_info[place].others) found.push_back(&m_names.rows[row]);
    return found;
}

const Locality& NameIndex::place(std::size_t place) const {
    return place < m_rows.size() ? m_rows[place] : m_cities[place - m_rows.size()];
}

std::string NameIndex::departement(std::size_t place) const {
    const Locality& l = this->place(place);
    return l.departement.empty() ? l.postalCode.substr(0, 2) : l.departement;
}

std::span<const NameIndex::Entry> NameIndex::withKey(std::string_view key) const {
    const auto found = m_byKey.find(key);
    if (found == m_byKey.end()) return {};
    return found->second;
}

std::span<const std::size_t> NameIndex::withPostcode(std::string_view postcode) const {
    const auto found = m_byPostcode.find(postcode);
    if (found == m_byPostcode.end()) return {};
    return found->second;
}

void NameIndex::sortInsee() {
    std::stable_sort(m_byInsee.begin(), m_byInsee.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

std::optional<std::size_t> NameIndex::withInsee(std::string_view code) const {
    const std::uint64_t packed = packCode(code);
    const auto found = std::lower_bound(m_byInsee.begin(), m_byInsee.end(), packed,
                                        [](const auto& entry, std::uint64_t c) { return entry.first < c; });
    if (!packed || found == m_byInsee.end() || found->first != packed) return std::nullopt;
    return found->second;
}

std::span<const std::size_t> NameIndex::withFormerCode(std::string_view code) const {
    const auto found = m_byFormerCode.find(std::string(code));
    if (found == m_byFormerCode.end()) return {};
    return found->second;
}

}  // namespace localyx
