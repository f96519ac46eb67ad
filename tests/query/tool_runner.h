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

}  // namespace localyx::testing
