#include "core/sheets/columns.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <system_error>

#include "core/text_encoding.h"

namespace localyx {
namespace {

// Headers as people write them, best first within a role.
const std::array<std::vector<std::string_view>, kColumnRoles> kHeaders = {{
    {"code postal", "cp", "codepostal", "code post", "zip", "zip code", "code zip", "postal code", "postcode",
     "c p", "cp client", "code postal client", "cp ville"},
    {"ville", "commune", "localite", "nom commune", "nom de la commune", "libelle commune", "city", "town",
     "ville client", "commune client", "bureau distributeur", "libelle acheminement"},
    {"code insee", "insee", "cog", "code commune", "code insee commune", "code commune insee", "code geo",
     "codgeo", "depcom", "insee commune"},
    {"raison sociale", "societe", "enseigne", "entreprise", "client", "nom client", "nom du client",
     "nom commercial", "denomination", "etablissement", "company", "nom", "name"},
}};

std::string_view kRoleWords[kColumnRoles] = {"code-postal", "ville", "insee", "nom"};

// Folds the Latin letters a French header may carry; anything else that is
// not a letter or digit separates words.
std::string fold(std::string_view text) {
    static const std::vector<std::pair<std::string_view, std::string_view>> kAccents = {
        {"à", "a"}, {"â", "a"}, {"ä", "a"}, {"á", "a"}, {"ç", "c"}, {"é", "e"}, {"è", "e"}, {"ê", "e"},
        {"ë", "e"}, {"î", "i"}, {"ï", "i"}, {"í", "i"}, {"ô", "o"}, {"ö", "o"}, {"ó", "o"}, {"ù", "u"},
        {"û", "u"}, {"ü", "u"}, {"ú", "u"}, {"ÿ", "y"}, {"œ", "oe"}, {"æ", "ae"}, {"À", "a"}, {"Â", "a"},
        {"Ä", "a"}, {"Ç", "c"}, {"É", "e"}, {"È", "e"}, {"Ê", "e"}, {"Ë", "e"}, {"Î", "i"}, {"Ï", "i"},
        {"Ô", "o"}, {"Ö", "o"}, {"Ù", "u"}, {"Û", "u"}, {"Ü", "u"}, {"Œ", "oe"}, {"Æ", "ae"}, {"°", "o"},
    };
    std::string out;
    bool space = false;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        std::string_view piece;
        std::size_t used = 1;
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            piece = text.substr(i, 1);
        } else if (c >= 'A' && c <= 'Z') {
            out += space && !out.empty() ? " " : "";
            space = false;
            out += static_cast<char>(c - 'A' + 'a');
            ++i;
            continue;
        } else if (static_cast<unsigned char>(c) >= 0x80) {
            for (const auto& [from, to] : kAccents) {
                if (text.substr(i).starts_with(from)) {
                    piece = to;
                    used = from.size();
                    break;
                }
            }
            if (piece.empty()) {
                used = 1;
                while (i + used < text.size() && (static_cast<unsigned char>(text[i + used]) & 0xC0) == 0x80) ++used;
            }
        }
        if (piece.empty()) {
            space = true;
        } else {
            if (space && !out.empty()) out += ' ';
            space = false;
            out += piece;
        }
        i += used;
    }
    return out;
}

std::optional<std::size_t> byHeader(const std::vector<std::string>& folded, std::string_view wanted) {
    const auto it = std::find(folded.begin(), folded.end(), wanted);
    if (it == folded.end()) return std::nullopt;
    return static_cast<std::size_t>(it - folded.begin());
}

bool hasWord(std::string_view folded, std::string_view word) {
    const std::string padded = " " + std::string(folded) + " ";
    return padded.find(" " + std::string(word) + " ") != std::string::npos;
}

// A header that is none of the known ones but plainly says its role.
bool saysRole(ColumnRole role, std::string_view h) {
    const bool code = hasWord(h, "code") || hasWord(h, "cp") || hasWord(h, "insee") || hasWord(h, "no") ||
                      hasWord(h, "numero") || hasWord(h, "num") || hasWord(h, "id");
    switch (role) {
    case ColumnRole::Postcode:
        return hasWord(h, "postal") || hasWord(h, "cp") || hasWord(h, "zip");
    case ColumnRole::Town:
        return !code && (hasWord(h, "ville") || hasWord(h, "commune") || hasWord(h, "localite"));
    case ColumnRole::Insee:
        return hasWord(h, "insee") || hasWord(h, "cog");
    case ColumnRole::Name:
        return !code && (hasWord(h, "raison") || hasWord(h, "societe") || hasWord(h, "enseigne") ||
                         hasWord(h, "client"));
    }
    return false;
}

}  // namespace

std::string_view roleWord(ColumnRole role) { return kRoleWords[static_cast<std::size_t>(role)]; }

std::optional<ColumnRole> roleFromWord(std::string_view word) {
    const std::string w = fold(word);
    if (w == "code postal" || w == "cp" || w == "codepostal") return ColumnRole::Postcode;
    if (w == "ville" || w == "commune") return ColumnRole::Town;
    if (w == "insee" || w == "code insee") return ColumnRole::Insee;
    if (w == "nom" || w == "client") return ColumnRole::Name;
    return std::nullopt;
}

std::optional<ColumnChoice> parseColumnChoice(std::string_view text) {
    const std::size_t eq = text.find('=');
    if (eq == std::string_view::npos || eq + 1 == text.size()) return std::nullopt;
    const auto role = roleFromWord(text.substr(0, eq));
    if (!role) return std::nullopt;
    ColumnChoice choice{*role, std::string(text.substr(eq + 1)), 0};
    std::size_t n = 0;
    const auto [end, ec] = std::from_chars(choice.header.data(), choice.header.data() + choice.header.size(), n);
    if (ec == std::errc{} && end == choice.header.data() + choice.header.size() && n >= 1) {
        choice.number = n;
        choice.header.clear();
    }
    return choice;
}

std::string foldHeader(std::string_view header) { return fold(header); }

ColumnLayout findColumns(const std::vector<std::string>& firstRow, const std::vector<ColumnChoice>& choices) {
    ColumnLayout layout;
    std::vector<std::string> folded;
    for (const std::string& cell : firstRow) folded.push_back(fold(cell));

    std::array<bool, kColumnRoles> chosen{};
    for (const ColumnChoice& choice : choices) {
        const auto r = static_cast<std::size_t>(choice.role);
        chosen[r] = true;
        if (choice.number) {
            layout.columns[r] = choice.number - 1;
            continue;
        }
        layout.columns[r] = byHeader(folded, fold(choice.header));
        if (!layout.columns[r]) {
            layout.error = "aucune colonne « " + choice.header + " » (--column " + std::string(roleWord(choice.role)) + ")";
        }
        layout.headerRow = true;
    }
    for (std::size_t r = 0; r < kColumnRoles && layout.error.empty(); ++r) {
        if (chosen[r]) continue;
        for (std::string_view wanted : kHeaders[r]) {
            if ((layout.columns[r] = byHeader(folded, wanted))) break;
        }
        if (!layout.columns[r]) {
            for (std::size_t c = 0; c < folded.size() && !layout.columns[r]; ++c) {
                if (saysRole(static_cast<ColumnRole>(r), folded[c])) layout.columns[r] = c;
            }
        }
        if (layout.columns[r]) layout.headerRow = true;
    }
    // Two roles never share a column: the one chosen or found first keeps it.
    for (std::size_t r = 0; r < kColumnRoles; ++r) {
        for (std::size_t s = 0; s < r; ++s) {
            if (!layout.columns[r] || layout.columns[r] != layout.columns[s]) continue;
            (chosen[r] ? layout.columns[s] : layout.columns[r]).reset();
        }
    }
    const bool usable = layout.at(ColumnRole::Postcode) || layout.at(ColumnRole::Town) || layout.at(ColumnRole::Insee);
    if (layout.error.empty() && !usable) layout.error = "aucune colonne code postal, ville ou code INSEE";
    if (!layout.error.empty()) {
        std::string seen;
        for (std::size_t c = 0; c < firstRow.size() && c < 40; ++c) {
            seen += (c ? ", « " : "« ") + utf8Substr(firstRow[c], 0, 40) + " »";
        }
        layout.error += " ; en-têtes lus : " + (seen.empty() ? std::string("aucun") : seen) +
                        ". Indiquez les colonnes avec --column (ex. --column code-postal=3 --column ville=4).";
    }
    return layout;
}

}  // namespace localyx
