#pragma once

#include <string_view>

namespace localyx::testing {

/// Made-up localities around CENTREVILLE (48.5, 7.5). The first six are those
/// of the window's own tests; then ZED and ABC share one place (a tie, ZED
/// first in the file), a name holding ";" in quotes, and VOISIN, 0.2 km away.
inline constexpr std::string_view kQueryRegion =
    "48.5,7.5,CENTREVILLE-67001\r\n"
    "48.52,7.47,PRES-67002\r\n"
    "48.55,7.45,MOYEN-67003\r\n"
    "48.5,7.51,MEMELAT-67004\r\n"
    "48.58,7.42,LOIN-67005\r\n"
    "48.49,7.49,SAINT-EXEMPLE-67006\r\n"
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
