#pragma once

#include <sstream>
#include <vector>

#include "tests/app/form_fixture.h"
#include "tests/scratch_dir.h"
#include "tools/localyx_query/query.h"

namespace localyx::testing {

using Args = std::vector<std::string>;

inline std::filesystem::path queryExecutable() { return LOCALYX_QUERY_EXE; }

struct ToolRun {
    int exitCode = -1;
    std::string out, err;
};

/// One command line run in this process, as from programDir, input on standard input.
inline ToolRun runTool(const Args& args,
                       const std::filesystem::path& programDir = queryExecutable().parent_path(),
                       const std::string& input = {}) {
    std::istringstream in(input);
    std::ostringstream out, err;
    return {query::runQuery(args, in, out, err, programDir), out.str(), err.str()};
}

/// The lines of a text without their "\n"; a last line without one counts.
inline std::vector<std::string> linesOf(std::string_view text) {
    std::istringstream in{std::string(text)};
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

/// The window tests' localities, then ZED and ABC on one place (a tie, ZED first),
/// a name holding ";" in quotes, and VOISIN, 0.2 km from CENTREVILLE.
inline const std::string kQueryRegion = std::string(kAlsaceFile) +
    "48.53,7.53,ZED-67010\r\n48.53,7.53,ABC-67011\r\n48.51,7.52,\"LE BOURG; NORD-67012\"\r\n48.501,7.502,VOISIN-67013\r\n";

/// Broken files, each loaded with a locality judged on other coordinates: a name first,
inline constexpr std::string_view kNameFirst =
    "PREMIER-00001,48.5,7.5\r\n48.51,7.51,SECOND-00002\r\n48.52,7.52,TROISIEME-00003\r\n";
/// the last locality without its coordinates.
inline constexpr std::string_view kMissingCoordinates =
    "48.5,7.5,AVEC-00001\r\n48.51,7.51,AUSSI-00002\r\nSANS-00003\r\n";

}  // namespace localyx::testing
