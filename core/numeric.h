#pragma once

#include <string_view>

namespace localyx {

/// The numeric value of a text, as every part of the program reads numbers.
///
/// Blanks, tabs and line feeds are ignored wherever they stand. The value is
/// that of the longest leading number: optional sign, digits, optional "."
/// and digits, optional exponent (E or e, optional sign, digits); or "&H"
/// followed by hexadecimal digits, or "&O" by octal digits. "." is always the
/// decimal point, whatever the C locale says; "," ends the number.
///
/// @return the value as a double; 0 when the text holds no leading number
///         (the empty text included); +/-infinity when the number is too
///         large for a double.
double numericValue(std::string_view text);

}  // namespace localyx
