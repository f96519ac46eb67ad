#pragma once

#include <string>
#include <string_view>

namespace localyx {

/// The mapping service's French web site.
inline constexpr std::string_view kMappingHost = "www.viamichelin.fr";

/// The map page address of a town: the list item goes in raw, character for
/// character (no percent-encoding): see toBrowserUrl for the browser's form.
std::string mapAddress(std::string_view town, std::string_view host = kMappingHost);

/// The net rework of one list item for the itinerary: its last five
/// characters, "+", then the item up to (not including) its first "-".
/// Works by characters, not bytes. An item without "-" keeps its whole text
/// as name part; an item shorter than five characters gives itself whole
/// before the "+".
std::string reworkItem(std::string_view item);

/// The itinerary address from two reworked items, raw; the destination is
/// followed by a blank, then the fixed tail ending in an empty fragment "#".
std::string itineraryAddress(std::string_view startMerged, std::string_view destMerged,
                             std::string_view host = kMappingHost);

/// Makes a raw address acceptable to a browser while changing nothing else:
/// blanks, control characters, non-ASCII letters (as UTF-8 bytes) and the
/// characters no URL may hold (" < > \ ^ ` { | }) are percent-encoded, as is
/// a "%" not followed by two hexadecimal digits and any "#" but one that ends
/// the address (the itinerary's empty fragment).
std::string toBrowserUrl(std::string_view raw);

}  // namespace localyx
