#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace localyx {

/// Hands out the fields of a decoded (UTF-8) region text one at a time.
///
/// A comma or a line end (CR LF, lone LF or lone CR) ends a field; blanks and
/// tabs before a field are skipped. A field that then starts with a double
/// quote runs to the closing quote, may hold commas and line ends, and
/// anything after the closing quote up to the next comma or line end is
/// dropped. An unterminated quote runs to the end of the text. Test atEnd()
/// before each next(): a text ending with a line end has no empty last field,
/// and blank lines hold no field at all.
class FieldReader {
public:
    explicit FieldReader(std::string text);

    /// True when no field is left.
    bool atEnd() const { return m_pos >= m_text.size(); }

    /// The next field's text, without its quotes; empty text at the end.
    std::string next();

    /// Byte offset in the text where the next field's line begins to be read.
    std::size_t offset() const { return m_pos; }

private:
    void skipBlankLines();

    std::string m_text;
    std::size_t m_pos = 0;
};

}  // namespace localyx
