#include "tools/localyx_query/query.h"

#include <algorithm>
#include <array>
#include <exception>
#include <sstream>

#include "tools/localyx_query/command_line.h"
#include "tools/localyx_query/commands.h"
#include "tools/localyx_query/output.h"

#ifndef LOCALYX_VERSION
#error "LOCALYX_VERSION comes from the project version"
#endif

namespace localyx::query {
namespace {

struct Command {
    std::string_view name;
    void (*run)(const Invocation&);
    bool takesRegion;                 // a RÉGION word, unless --file is given
    std::size_t minArgs, maxArgs;     // after the region, if any
    std::string_view form;            // options and arguments, for usage errors
    std::vector<std::string_view> options;
};

const std::vector<Command>& commands() {
    constexpr std::size_t kMany = static_cast<std::size_t>(-1);
    static const std::vector<Command> all = {
        {"regions", runRegions, false, 0, 0, "", {}},
        {"towns", runTowns, true, 0, 0, " RÉGION", {"--file"}},
        {"neighbours", runNeighbours, true, 2, 2, " [--csv] RÉGION VILLE KM", {"--file", "--csv"}},
        {"distance", runDistance, true, 2, 2, " RÉGION VILLE1 VILLE2", {"--file"}},
        {"map-url", runMapUrl, false, 1, 1, " VILLE", {}},
        {"itinerary-url", runItineraryUrl, false, 2, 2, " VILLE1 VILLE2", {}},
        {"around", runAround, false, 2, 2,
         " VILLE KM [--format text|csv|xlsx|geojson|kml|gpx|svg|png|pdf] [--size LxH] [--population-min N]"
         " [--clients FICHIER]",
         {"--format", "--population-min", "--size", "--clients", "--sheet", "--encoding", "--separator", "--column"}},
        {"tour", runTour, false, 1, kMany,
         " DÉPART [ÉTAPE...] [--no-return] [--format text|csv|xlsx|kml|gpx|svg|png|pdf] [--size LxH] [--itineraries]"
         " [--clients FICHIER]",
         {"--format", "--no-return", "--itineraries", "--size", "--clients", "--sheet", "--encoding", "--separator",
          "--column"}},
        {"clients", runClients, false, 1, 1,
         " FICHIER [-o SORTIE] [--sheet NOM|N] [--encoding utf-8|windows-1252|utf-16] "
         "[--separator ';'|','|tab|'|'] [--column RÔLE=EN-TÊTE|NUMÉRO...]",
         {"--output", "--sheet", "--encoding", "--separator", "--column"}},
    };
    return all;
}

// The expected form of a command, as its user wrote it (with or without --file).
std::string commandForm(const Command& command, bool withFile) {
    std::string form(kProgram);
    if (withFile) form += " --file FICHIER";
    form += ' ';
    form += command.name;
    std::string rest(command.form);
    if (withFile) {
        const std::size_t region = rest.find(" RÉGION");
        if (region != std::string::npos) rest.erase(region, std::string_view(" RÉGION").size());
    }
    return form + rest;
}

int dispatch(const CommandLine& cl, std::istream& in, std::ostream& out, std::ostream& err,
             const std::filesystem::path& programDir) {
    if (cl.words.empty()) usageError("commande manquante.");
    const std::string& name = cl.words.front();
    const auto command = std::find_if(commands().begin(), commands().end(),
                                      [&](const Command& c) { return c.name == name; });
    if (command == commands().end()) usageError("commande inconnue : " + inQuotes(name) + ".");
    checkOptions(cl, name, command->options);
    const std::size_t regionWords = command->takesRegion && !cl.file ? 1 : 0;
    const std::size_t args = cl.words.size() - 1;
    if (args < regionWords + command->minArgs || args > regionWords + command->maxArgs) {
        usageError("nombre d'arguments incorrect ; forme attendue : " + commandForm(*command, cl.file.has_value()));
    }
    const Invocation run{cl, {cl.words.begin() + 1, cl.words.end()}, in, out, err, programDir};
    command->run(run);
    return kExitOk;
}

}  // namespace

std::string usageText() {
    return "Usage : localyx-query [--file FICHIER] COMMANDE [ARGUMENTS]\n"
           "\n"
           "Commandes d'une région :\n"
           "  regions                             les 22 régions : numéro, nom, fichier,\n"
           "                                      nombre de localités (- si illisible)\n"
           "  towns RÉGION                        les localités de la région\n"
           "  neighbours [--csv] RÉGION VILLE KM  les localités que la fenêtre liste autour\n"
           "                                      de VILLE pour un rayon de KM km (1 à 9999) ;\n"
           "                                      --csv : tableau pour tableur, les plus\n"
           "                                      proches en premier\n"
           "  distance RÉGION VILLE1 VILLE2       la distance à vol d'oiseau, en km entiers\n"
           "  map-url VILLE                       l'adresse de la carte de VILLE\n"
           "  itinerary-url VILLE1 VILLE2         l'adresse de l'itinéraire de VILLE1 à VILLE2\n"
           "\n"
           "Commandes sur toute la France (table localites.csv) :\n"
           "  around VILLE KM                     les localités à au plus KM km (0,1 à 1000)\n"
           "      [--format text|csv|xlsx|geojson|kml|gpx]  de VILLE, toutes régions, les\n"
           "      [--population-min N]            plus proches en premier\n"
           "  tour DÉPART [ÉTAPE...]              l'ordre de visite le plus court à vol\n"
           "      [--no-return] [--itineraries]   d'oiseau ; sans ÉTAPE ou avec -, les étapes\n"
           "      [--format text|csv|xlsx|kml|gpx]  sont lues sur l'entrée standard (jusqu'à 1000)\n"
           "  around, tour --format svg|png|pdf   la carte, dans un fichier ou un tube ; png\n"
           "      [--size LxH]                    de 1600x1600 pixels par défaut, pdf sur A4 ;\n"
           "                                      tour en pdf : la feuille de route\n"
           "  clients FICHIER [-o SORTIE]         place chaque client d'un fichier CSV, TSV,\n"
           "      [--sheet NOM|N] [--encoding E]  .xlsx ou .ods sur sa commune ; around et\n"
           "      [--separator S] [--column R=C]  tour --clients FICHIER : les clients placés\n"
           "\n"
           "RÉGION : numéro (1 à 22), nom ou nom de fichier de la région, sans égard aux\n"
           "  majuscules ; avec --file FICHIER, la RÉGION est omise et FICHIER est lu.\n"
           "VILLE : la localité telle que la liste l'écrit (RENNES-35200) ; les majuscules\n"
           "  peuvent différer si une seule localité correspond. around et tour prennent\n"
           "  aussi le code INSEE (35238). Après --, un argument peut commencer par un tiret.\n"
           "\n"
           "Options : -h, --help (cette aide) ; --version (la version).\n"
           "Sortie : 0 si tout va bien, 1 si une région, une localité ou un fichier pose\n"
           "  problème, 2 si la ligne de commande est incorrecte.\n";
}

int runQuery(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
             const std::filesystem::path& programDir) {
    try {
        const CommandLine cl = parseCommandLine(args);
        if (cl.help) {
            out << usageText();
            return kExitOk;
        }
        if (cl.version) {
            out << kProgram << ' ' << LOCALYX_VERSION << '\n';
            return kExitOk;
        }
        return dispatch(cl, in, out, err, programDir);
    } catch (const Failure& failure) {
        err << kProgram << " : " << failure.message << '\n';
        if (failure.code == kExitUsage) err << '\n' << usageText();
        return failure.code;
    } catch (const std::exception& e) {
        err << kProgram << " : erreur inattendue : " << printable(e.what()) << '\n';
        return kExitFailure;
    }
}

int runQuery(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const std::filesystem::path& programDir) {
    std::istringstream none;
    return runQuery(args, none, out, err, programDir);
}

}  // namespace localyx::query
