#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace localyx {

/// Decodes Windows-1252 bytes to UTF-8. Bytes the code page leaves undefined
/// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control character of the same
/// value, as Windows itself does.
std::string windows1252ToUtf8(std::string_view bytes);

/// Appends one code point (at most U+10FFFF) as UTF-8.
void appendUtf8(std::string& out, char32_t codePoint);

/// True when the bytes are well-formed UTF-8 (no overlongs, no surrogates).
bool isValidUtf8(std::string_view bytes);

/// Decodes the raw bytes of a region file to UTF-8. A file that starts with
/// a UTF-8 byte-order mark, or that is valid UTF-8 holding non-ASCII text, is
/// taken as UTF-8 (the mark dropped); anything else is Windows-1252.
std::string decodeRegionText(std::string_view bytes);

/// Number of characters (code points) of a UTF-8 text. Stray bytes count one
/// each, so the count never runs past the end.
std::size_t utf8Length(std::string_view text);

/// The characters [first, first + count) of a UTF-8 text, 0-based, clipped to
/// the text. Never splits a character.
std::string utf8Substr(std::string_view text, std::size_t first, std::size_t count);

/// The text with what XML 1.0 forbids replaced by U+FFFD: C0 controls other
/// than tab, LF and CR, U+FFFE, U+FFFF and bytes that are not UTF-8. Every
/// XML file we write (KML, GPX, SVG) takes its texts through it.
std::string xmlSafe(std::string_view text);

}  // namespace localyx
