#include "core/field_reader.h"

#include <utility>

namespace localyx {

FieldReader::FieldReader(std::string text) : m_text(std::move(text)) { skipBlankLines(); }

// A blank line holds no record: skipping it keeps a stray empty line (often
// the last one of a hand-edited file) from becoming an empty locality whose
// arrival would shift every name after it against its coordinates.
void FieldReader::skipBlankLines() {
    const std::size_t size = m_text.size();
    while (m_pos < size) {
        std::size_t p = m_pos;
        while (p < size && (m_text[p] == ' ' || m_text[p] == '\t')) ++p;
        if (p == size) {
            m_pos = size;
            return;
        }
        if (m_text[p] == '\r') {
            m_pos = p + 1;
            if (m_pos < size && m_text[m_pos] == '\n') ++m_pos;
        } else if (m_text[p] == '\n') {
            m_pos = p + 1;
        } else {
            return;
        }
    }
}

std::string FieldReader::next() {
    const std::size_t size = m_text.size();
    auto atLineEnd = [&](std::size_t p) { return m_text[p] == '\r' || m_text[p] == '\n'; };
    // One delimiter ends a field: a comma, or a line end of CR LF, LF or CR.
    auto skipDelimiter = [&] {
        if (m_pos >= size) return;
        if (m_text[m_pos] == ',') { ++m_pos; return; }
        if (m_text[m_pos] == '\r') {
            ++m_pos;
            if (m_pos < size && m_text[m_pos] == '\n') ++m_pos;
        } else if (m_text[m_pos] == '\n') {
            ++m_pos;
        }
        skipBlankLines();
    };

    while (m_pos < size && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t')) ++m_pos;

    std::string field;
    if (m_pos < size && m_text[m_pos] == '"') {
        const std::size_t close = m_text.find('"', m_pos + 1);
        if (close == std::string::npos) {
            field = m_text.substr(m_pos + 1);
            m_pos = size;
            return field;
        }
        field = m_text.substr(m_pos + 1, close - m_pos - 1);
        m_pos = close + 1;
        // Whatever follows the closing quote on the same field is dropped.
        while (m_pos < size && m_text[m_pos] != ',' && !atLineEnd(m_pos)) ++m_pos;
        skipDelimiter();
        return field;
    }

    const std::size_t start = m_pos;
    while (m_pos < size && m_text[m_pos] != ',' && !atLineEnd(m_pos)) ++m_pos;
    field = m_text.substr(start, m_pos - start);
    skipDelimiter();
    return field;
}

}  // namespace localyx
