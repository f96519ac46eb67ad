#include "core/region_catalogue.h"

namespace localyx {

const std::array<RegionEntry, kRegionCount>& regionCatalogue() {
    // Captions and base names are texts of their own, not derived from the
    // display items: the region files bear exactly these base names.
    static constexpr std::array<RegionEntry, kRegionCount> kCatalogue = {{
        {1, " Alsace  67, 68", "Alsace", "Alsace"},
        {2, " Aquitaines 24, 33, 40, 47, 64", "Aquitaine", "Aquitaine"},
        {3, " Auvergne  03, 15, 43, 63 ", "Auvergne", "Auvergne"},
        {4, " Basse-Normandie 14, 50,61", "Basse-Normandie", "BasseNormandie"},
        {5, " Bourgogne 21, 58, 71, 89", "Bourgogne", "Bourgogne"},
        {6, " Bretagne  22, 29, 35, 56", "Bretagne", "Bretagne"},
        {7, " Centre  18, 28, 36, 37, 41, 45", "Centre", "Centre"},
        {8, " Champagne-Ardenne   08, 10, 51, 52", "Champagne-Ardenne", "ChampagneArdenne"},
        {9, " Corse  2A, 2B", "Corse", "Corse"},
        {10, " Franche-Comté  25, 39, 70, 90", "Franche-Comté", "Franchecomte"},
        {11, " Haute-Normandie  27, 76", "Haute-Normandie", "HauteNormandie"},
        {12, " Île-de-France  75, 77, 78, 91, 92, 93, 94, 95 ", "Île de France", "Iledefrance"},
        {13, " Languedoc-Roussillon  11, 30, 34, 48, 66", "Languedoc-Roussillon", "LanguedocRoussillon"},
        {14, " Limousin  19, 23, 87", "Limousin", "Limousin"},
        {15, " Lorraines 54, 55, 57, 88", "Lorraine", "Lorraine"},
        {16, " Midi-Pyrénées  09, 12, 31, 32, 46, 65, 81, 82 ", "Midi-Pyrénées", "MidiPyrenees"},
        {17, " Nord-Pas-de-Calais  59, 62", "Nord-Pas-De-Calais", "NordPasdeCalais"},
        {18, " Pays de la Loire   44, 49, 53, 72, 85", "Pays de Loire", "PaysDeLoire"},
        {19, " Picardie   02, 60, 80", "Picardie", "Picardie"},
        {20, " Poitou-Charentes  16, 17, 79, 86", "Poitou-Charente", "PoitouCharente"},
        {21, " Provence-Alpes-C.Azur  04, 05, 06, 13, 83, 84", "Provence-Alpes-Côtes d'Azur", "Provence"},
        {22, " Rhône-Alpes  01, 07, 26, 38, 42, 69, 73, 74", "Rhône-Alpes", "Rhonealpes"},
    }};
    return kCatalogue;
}

std::optional<RegionEntry> regionByNumber(int n) {
    if (n < 1 || n > kRegionCount) return std::nullopt;
    return regionCatalogue()[static_cast<std::size_t>(n - 1)];
}

}  // namespace localyx
