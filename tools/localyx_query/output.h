#pragma once

#include <string>
#include <string_view>

#include "core/exports/text_cells.h"

namespace localyx::query {

/// Thrown to end a command with a message on standard error.
struct Failure {
    int code;
    std::string message;
};
[[noreturn]] void fail(std::string message);        ///< exit code 1
[[noreturn]] void usageError(std::string message);  ///< exit code 2, usage shown

/// A shell word that can be pasted back as it is.
std::string shellWord(std::string_view word);

}  // namespace localyx::query
