#include <iostream>
#include <string>
#include <vector>

#include "core/region_file.h"
#include "tools/localyx_query/query.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int code =
        localyx::query::runQuery(args, std::cin, std::cout, std::cerr, localyx::executableDir());
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "localyx-query : impossible d'écrire sur la sortie standard.\n";
        return localyx::query::kExitFailure;
    }
    return code;
}
