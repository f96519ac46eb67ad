#include "tools/localyx_query/command_line.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

#include "tools/localyx_query/output.h"

namespace localyx::query {
namespace {

struct Option {
    std::string_view name;
    bool CommandLine::*flag;
    std::optional<std::string> CommandLine::*value;
    std::vector<std::string> CommandLine::*list = nullptr;  // may be given again
};

const std::vector<Option>& options() {
    static const std::vector<Option> all = {
        {"--csv", &CommandLine::csv, nullptr},
        {"--no-return", &CommandLine::noReturn, nullptr},
        {"--itineraries", &CommandLine::itineraries, nullptr},
        {"--file", nullptr, &CommandLine::file},
        {"--format", nullptr, &CommandLine::format},
        {"--population-min", nullptr, &CommandLine::populationMin},
        {"--size", nullptr, &CommandLine::size},
        {"--output", nullptr, &CommandLine::output},
        {"--clients", nullptr, &CommandLine::clients},
        {"--sheet", nullptr, &CommandLine::sheet},
        {"--encoding", nullptr, &CommandLine::encoding},
        {"--separator", nullptr, &CommandLine::separator},
        {"--column", nullptr, nullptr, &CommandLine::columns},
    };
    return all;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine cl;
    // Help and version win over anything else on the line, even a mistake.
    for (const std::string& arg : args) {
        if (arg == "--") break;
        if (arg == "-h" || arg == "--help") cl.help = true;
        if (arg == "--version") cl.version = true;
    }
    if (cl.help || cl.version) return cl;

    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            cl.words.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const std::string_view name = arg == "-o" ? std::string_view("--output")
                                                  : std::string_view(arg).substr(0, arg.find('='));
        const auto option = std::find_if(options().begin(), options().end(),
                                         [&](const Option& o) { return o.name == name; });
        if (option == options().end()) {
            usageError("option inconnue : " + inQuotes(arg) +
                       " (après --, un argument peut commencer par un tiret).");
        }
        const bool again = std::find(cl.given.begin(), cl.given.end(), name) != cl.given.end();
        if (again && !option->list) usageError("l'option " + std::string(name) + " ne peut être donnée qu'une fois.");
        if (!again) cl.given.emplace_back(name);
        if (option->flag) {
            if (name.size() != arg.size()) usageError("l'option " + std::string(name) + " ne prend pas de valeur.");
            cl.*(option->flag) = true;
            continue;
        }
        std::string value;
        if (name.size() == arg.size() || arg == "-o") {
            if (i + 1 >= args.size()) usageError("l'option " + std::string(name) + " attend une valeur.");
            value = args[++i];
        } else {
            value = arg.substr(name.size() + 1);
        }
        if (value.empty()) usageError("l'option " + std::string(name) + " attend une valeur.");
        if (option->list) {
            (cl.*(option->list)).push_back(std::move(value));
        } else {
            cl.*(option->value) = std::move(value);
        }
    }
    return cl;
}

void checkOptions(const CommandLine& cl, std::string_view command,
                  const std::vector<std::string_view>& allowed) {
    for (const std::string& name : cl.given) {
        if (std::find(allowed.begin(), allowed.end(), name) == allowed.end()) {
            usageError("l'option " + name + " ne s'applique pas à la commande " + std::string(command) + ".");
        }
    }
}

double parseKm(std::string_view text, double min, double max, std::string_view what) {
    std::string number(text);
    std::replace(number.begin(), number.end(), ',', '.');
    const bool plain = !number.empty() && number.front() != '.' && number.back() != '.' &&
                       std::count(number.begin(), number.end(), '.') <= 1 &&
                       std::all_of(number.begin(), number.end(),
                                   [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
    double km = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), km);
    if (!plain || ec != std::errc{} || end != number.data() + number.size() || !(km >= min) || !(km <= max)) {
        usageError(std::string(what) + " invalide : " + inQuotes(text) + " ; il faut un nombre de " +
                   decimalComma(min) + " à " + decimalComma(max) + " km.");
    }
    return km;
}

}  // namespace localyx::query
