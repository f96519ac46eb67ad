#pragma once

#include <filesystem>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "tools/localyx_query/command_line.h"

namespace localyx::query {

/// What a command runs with: its arguments (the command name left out) and
/// the streams and folder of the run.
struct Invocation {
    const CommandLine& cl;
    std::vector<std::string> args;
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    std::filesystem::path programDir;
};

/// The commands of one region file: regions, towns, neighbours, distance,
/// and the two web addresses.
void runRegions(const Invocation& run);
void runTowns(const Invocation& run);
void runNeighbours(const Invocation& run);
void runDistance(const Invocation& run);
void runMapUrl(const Invocation& run);
void runItineraryUrl(const Invocation& run);

/// The commands over the France-wide table.
void runAround(const Invocation& run);
void runTour(const Invocation& run);
void runClients(const Invocation& run);

/// The texts with each town the France-wide table knows written as its list
/// item ("st malo" as SAINT MALO-35400); a text already shaped NAME-CODE, or
/// unknown, is kept as it is, as the window takes any text. Fails when a
/// text may be several towns.
std::vector<std::string> asListItems(const Invocation& run, const std::vector<std::string>& texts);

inline constexpr std::string_view kProgram = "localyx-query";

}  // namespace localyx::query
