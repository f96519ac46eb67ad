#pragma once

#include <string_view>

#include "core/render/documents.h"
#include "tools/localyx_query/commands.h"

namespace localyx::query {

/// True for the formats that draw a map: svg, png, pdf.
bool isMapFormat(std::string_view format);

/// Writes the scene on the run's output in that format, with the borders of
/// the run's data folder (a map without them, and a warning, when they
/// cannot be read). Fails (usage) on a bad --size, on --size with pdf, on
/// png or pdf bound for a terminal.
void writeMap(const Invocation& run, std::string_view format, const render::MapScene& scene);

/// Writes the route sheet (PDF) on the run's output; same checks.
void writeRouteSheet(const Invocation& run, render::RouteSheet sheet);

/// A count as a French map title writes it: "aucune localité", "1 localité",
/// "34 780 localités" (a no-break space between the thousands).
std::string localityCount(std::size_t n);
/// The same for clients: "aucun client", "1 client", "1 250 clients".
std::string clientCount(std::size_t n);

/// Today's date as a French sheet prints it: "7 décembre 2026".
std::string frenchToday();

}  // namespace localyx::query
