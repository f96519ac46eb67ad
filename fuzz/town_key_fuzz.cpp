// Any bytes as a town typed by someone: the folding is stable (a folded
// text folds to itself) and tidy, and the resolver, over a small table with
// its names, answers without crashing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/locality_table.h"
#include "core/name_folding.h"
#include "core/name_index.h"
#include "core/town_resolver.h"
#include "fuzz/fuzz_check.h"

namespace {

struct Place {
    localyx::LocalityTable table = localyx::parseLocalityTable(
        "insee;nom;code_postal;departement;region;latitude;longitude;population\n"
        "35238;RENNES;35200;35;Bretagne;48.111339;-1.681137;222485\n"
        "27016;LES ANDELYS;27700;27;HauteNormandie;49.246;1.412;7706\n"
        "11339;SAINT DENIS;11310;11;LanguedocRoussillon;43.4;2.2;523\n"
        "93066;SAINT DENIS;93200;93;Iledefrance;48.93;2.35;149077\n"
        "75115;PARIS 15E ARRONDISSEMENT;75015;75;Iledefrance;48.84;2.29;230000\n");
    localyx::NameIndex index{table.rows, localyx::parseTownNames(
        "insee;forme;type;codes_postaux;latitude;longitude;population\n"
        "35238;Rennes;officiel;35000 35200 35700;;;\n"
        "35238;35213;ancien_code;;;;\n"
        "93066;ST DENIS LA PLAINE;acheminement;93210;;;\n"
        "93066;Pierrefitte-sur-Seine;deleguee;;;;\n"
        "75056;Paris;ville;75015;48.86;2.33;2103778\n")};
    localyx::TownResolver resolver{index};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string key = localyx::townKey(bytes);
    FUZZ_CHECK(localyx::townKey(key) == key);
    FUZZ_CHECK(key.find("  ") == std::string::npos && !key.starts_with(' ') && !key.ends_with(' '));
    const std::string name = localyx::NameIndex::nameKey(bytes);
    FUZZ_CHECK(localyx::NameIndex::nameKey(name) == name);

    static const Place place;
    const localyx::TownMatch m = place.resolver.resolve(bytes);
    const std::size_t places = place.index.placeCount();
    FUZZ_CHECK(!m.found() || m.place < places);
    FUZZ_CHECK(m.kind != localyx::TownMatch::Kind::Ambiguous || m.candidates.size() > 1);
    FUZZ_CHECK(m.suggestions.size() <= 5);
    for (std::size_t p : m.candidates) FUZZ_CHECK(p < places);
    for (std::size_t p : m.suggestions) FUZZ_CHECK(p < places);
    return 0;
}
