#pragma once

#include <string>
#include <string_view>

#include "tests/app/form_fixture.h"

namespace localyx::testing {

/// The window tests' localities around CENTREVILLE (48.5, 7.5), then ZED and
/// ABC sharing one place (a tie, ZED first in the file), a name holding ";"
/// in quotes, and VOISIN, 0.2 km away.
inline const std::string kQueryRegion = std::string(kAlsaceFile) +
    "48.53,7.53,ZED-67010\r\n"
    "48.53,7.53,ABC-67011\r\n"
    "48.51,7.52,\"LE BOURG; NORD-67012\"\r\n"
    "48.501,7.502,VOISIN-67013\r\n";

/// Broken files: each loads, but a locality is judged on other coordinates.
/// A name first, before any coordinate:
inline constexpr std::string_view kNameFirst =
    "PREMIER-00001,48.5,7.5\r\n"
    "48.51,7.51,SECOND-00002\r\n"
    "48.52,7.52,TROISIEME-00003\r\n";
/// The last locality without its coordinates:
inline constexpr std::string_view kMissingCoordinates =
    "48.5,7.5,AVEC-00001\r\n"
    "48.51,7.51,AUSSI-00002\r\n"
    "SANS-00003\r\n";

}  // namespace localyx::testing
