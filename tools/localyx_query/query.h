#pragma once

#include <filesystem>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace localyx::query {

/// Exit codes of localyx-query.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  ///< unknown region or town, file, no distance
inline constexpr int kExitUsage = 2;    ///< wrong command line

/// The short French usage text printed by --help and after a usage error.
std::string usageText();

/// Runs one command line of localyx-query.
/// @param args        the arguments, program name excluded
/// @param in          standard input (tour reads its stops there)
/// @param out, err    standard output and standard error
/// @param programDir  the folder searched first for the region files and the table
/// @return the exit code
int runQuery(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
             std::ostream& err, const std::filesystem::path& programDir);

/// The same with standard input empty.
int runQuery(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const std::filesystem::path& programDir);

}  // namespace localyx::query
