#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace localyx::query {

/// One command line, options taken out wherever they stood.
struct CommandLine {
    bool help = false;
    bool version = false;
    bool csv = false;
    bool noReturn = false;
    bool itineraries = false;
    std::optional<std::string> file;
    std::optional<std::string> format;
    std::optional<std::string> populationMin;
    std::optional<std::string> size;
    std::optional<std::string> output;     ///< -o, --output
    std::optional<std::string> clients;    ///< --clients FILE
    std::optional<std::string> sheet;
    std::optional<std::string> encoding;
    std::optional<std::string> separator;
    std::vector<std::string> columns;      ///< --column, as often as given
    std::vector<std::string> given;  ///< the long names of the options used, e.g. "--csv"
    std::vector<std::string> words;  ///< the command and its arguments
};

/// Splits the arguments; "--" ends the options and "-" alone is a word.
/// Throws a usage Failure for an unknown, repeated or valueless option.
CommandLine parseCommandLine(const std::vector<std::string>& args);

/// Refuses (usage Failure) any option given that the command does not take.
void checkOptions(const CommandLine& cl, std::string_view command,
                  const std::vector<std::string_view>& allowed);

/// A radius or distance in km: digits with a decimal point or comma, within
/// [min, max]; a usage Failure naming `what` otherwise.
double parseKm(std::string_view text, double min, double max, std::string_view what);

}  // namespace localyx::query
