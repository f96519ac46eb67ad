#include <zip.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <system_error>
#include <unordered_map>

#include "core/text_encoding.h"
#include "core/sheets/sheet.h"

namespace localyx {
namespace {

constexpr std::size_t kMaxRows = 1'048'576;  // as many as a spreadsheet program holds
constexpr std::size_t kMaxColumns = 16'384;

// Ends a reading with a French message, caught at the top.
struct Refusal {
    std::string message;
};

// The archive's own count of entries, from its end record, before libzip
// builds a table of them all.
std::size_t declaredEntries(std::string_view bytes) {
    constexpr std::size_t kEndRecord = 22;
    if (bytes.size() < kEndRecord) throw Refusal{"archive .xlsx ou .ods illisible (tronquée)."};
    const std::size_t lowest = bytes.size() > kEndRecord + 65535 ? bytes.size() - kEndRecord - 65535 : 0;
    for (std::size_t at = bytes.size() - kEndRecord + 1; at-- > lowest;) {
        if (bytes.compare(at, 4, "PK\x05\x06") != 0) continue;
        const auto u16 = [&](std::size_t off) {
            return static_cast<std::size_t>(static_cast<unsigned char>(bytes[at + off])) |
                   static_cast<std::size_t>(static_cast<unsigned char>(bytes[at + off + 1])) << 8;
        };
        return u16(10);
    }
    throw Refusal{"archive .xlsx ou .ods illisible (fin d'archive introuvable)."};
}

class Archive {
public:
    explicit Archive(std::string_view bytes) {
        const std::size_t entries = declaredEntries(bytes);
        // 0xFFFF says the real count is in a ZIP64 record: no office file needs one.
        if (entries > kMaxZipEntries) {
            throw Refusal{"archive de plus de " + std::to_string(kMaxZipEntries) + " fichiers : refusée."};
        }
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
        if (source) m_zip = zip_open_from_source(source, ZIP_RDONLY, &error);
        if (!m_zip) {
            if (source) zip_source_free(source);
            zip_error_fini(&error);
            throw Refusal{"archive .xlsx ou .ods illisible."};
        }
        zip_error_fini(&error);
        if (zip_get_num_entries(m_zip, 0) > static_cast<zip_int64_t>(kMaxZipEntries)) {
            throw Refusal{"archive de plus de " + std::to_string(kMaxZipEntries) + " fichiers : refusée."};
        }
    }
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;
    ~Archive() { zip_discard(m_zip); }

    bool has(const std::string& name) const { return zip_name_locate(m_zip, name.c_str(), 0) >= 0; }

    // The part inflated, read no further than the cap whatever its header claims.
    std::optional<std::string> part(const std::string& name) const {
        const zip_int64_t index = zip_name_locate(m_zip, name.c_str(), 0);
        if (index < 0) return std::nullopt;
        zip_file_t* file = zip_fopen_index(m_zip, static_cast<zip_uint64_t>(index), 0);
        if (!file) throw Refusal{"partie " + name + " illisible dans l'archive."};
        std::string text;
        char buffer[65536];
        for (;;) {
            const zip_int64_t got = zip_fread(file, buffer, sizeof buffer);
            if (got < 0) {
                zip_fclose(file);
                throw Refusal{"partie " + name + " illisible dans l'archive."};
            }
            if (got == 0) break;
            text.append(buffer, static_cast<std::size_t>(got));
            if (text.size() > kMaxXmlPartBytes) {
                zip_fclose(file);
                throw Refusal{"partie " + name + " de plus de " + std::to_string(kMaxXmlPartBytes >> 20) +
                              " Mo une fois décompressée : archive refusée."};
            }
        }
        zip_fclose(file);
        return text;
    }

private:
    zip_t* m_zip = nullptr;
};

// An office file never declares a document type or entities: one that does
// is refused before any parser sees it.
std::string_view localName(const pugi::xml_node& node);

void checkXml(const std::string& text, const std::string& name) {
    if (text.find('\0') != std::string::npos) throw Refusal{"partie " + name + " : octet nul dans le XML."};
    for (std::size_t at = text.find("<!"); at != std::string::npos; at = text.find("<!", at + 2)) {
        const std::string_view rest = std::string_view(text).substr(at);
        if (!rest.starts_with("<!--") && !rest.starts_with("<![CDATA[")) {
            throw Refusal{"partie " + name + " : déclaration DOCTYPE ou ENTITY refusée."};
        }
    }
}

// Parses text[from, to) in place, refused when its tree would be too large:
// elements, attributes and texts, each some 50 bytes once parsed.
void parseSlice(std::string& text, std::size_t from, std::size_t to, const std::string& name,
                pugi::xml_document& doc, unsigned extra = 0) {
    std::size_t markup = 0;
    for (std::size_t i = from; i < to; ++i) {
        const char c = text[i];
        if (c == '=' || (c == '<' && i + 1 < to && text[i + 1] != '/') || (c == '>' && i + 1 < to && text[i + 1] != '<')) {
            ++markup;
        }
    }
    if (markup > kMaxXmlMarkup) throw Refusal{"partie " + name + " trop grande : archive refusée."};
    const pugi::xml_parse_result parsed = doc.load_buffer_inplace(
        text.data() + from, to - from, pugi::parse_default | pugi::parse_ws_pcdata | extra, pugi::encoding_utf8);
    if (!parsed) throw Refusal{"partie " + name + " : XML mal formé (" + parsed.description() + ")."};
}

void parseXml(std::string& text, const std::string& name, pugi::xml_document& doc) {
    checkXml(text, name);
    parseSlice(text, 0, text.size(), name, doc);
}

// The local name of the tag whose "<" (or "</") is at `at`.
std::string_view tagAt(std::string_view text, std::size_t at) {
    std::size_t start = at + 1 + (at + 1 < text.size() && text[at + 1] == '/');
    std::size_t end = start;
    while (end < text.size() && std::string_view(" \t\r\n/>").find(text[end]) == std::string_view::npos) ++end;
    std::string_view tag = text.substr(start, end - start);
    const std::size_t colon = tag.find(':');
    return colon == std::string_view::npos ? tag : tag.substr(colon + 1);
}

// Calls `each` on every element `element` of a part, a slice of some 1 MB at
// a time: the parsed tree stays small however large the part. The elements
// must not nest (rows, shared strings).
template <class Each>
void eachElement(std::string& text, const std::string& name, std::string_view element, Each each) {
    constexpr std::size_t kSlice = 1 << 20;
    checkXml(text, name);
    const std::string_view view(text);
    std::size_t from = std::string_view::npos;
    for (std::size_t at = view.find('<'); at != std::string_view::npos; at = view.find('<', at + 1)) {
        if (view.compare(at, 2, "</") != 0 && tagAt(view, at) == element) {
            from = at;
            break;
        }
    }
    while (from != std::string_view::npos && from < text.size()) {
        // The end of the first closing tag past the slice's length, else of the last one.
        std::size_t to = std::string_view::npos;
        for (std::size_t at = view.find("</", std::min(from + kSlice, text.size())); at != std::string_view::npos;
             at = view.find("</", at + 2)) {
            if (tagAt(view, at) == element) {
                to = view.find('>', at);
                break;
            }
        }
        if (to == std::string_view::npos) {
            for (std::size_t at = view.rfind("</"); at != std::string_view::npos && at > from; at = view.rfind("</", at - 1)) {
                if (tagAt(view, at) == element) {
                    to = view.find('>', at);
                    break;
                }
            }
        }
        if (to == std::string_view::npos) return;
        pugi::xml_document doc;
        parseSlice(text, from, to + 1, name, doc, pugi::parse_fragment);
        for (pugi::xml_node node : doc.children()) {
            if (node.type() == pugi::node_element && localName(node) == element) each(node);
        }
        from = to + 1;
    }
}

std::string_view localName(const pugi::xml_node& node) {
    const std::string_view name = node.name();
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node child(const pugi::xml_node& node, std::string_view name) {
    for (pugi::xml_node c : node.children()) {
        if (localName(c) == name) return c;
    }
    return {};
}

std::string_view attribute(const pugi::xml_node& node, std::string_view name) {
    for (pugi::xml_attribute a : node.attributes()) {
        std::string_view n = a.name();
        const std::size_t colon = n.find(':');
        if (colon != std::string_view::npos) n.remove_prefix(colon + 1);
        if (n == name) return a.value();
    }
    return {};
}

std::size_t count(std::string_view text, std::size_t fallback, std::size_t max) {
    std::size_t n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size()) return fallback;
    return std::min(n, max);
}

// The rows as they come, with the caps on rows, columns and cells.
class RowBuilder {
public:
    explicit RowBuilder(Sheet& sheet) : m_sheet(sheet) {}

    void put(std::size_t row, std::size_t column, std::string text) {
        if (row >= kMaxRows || column >= kMaxColumns) {
            throw Refusal{"feuille de plus de " + std::to_string(kMaxRows) + " lignes ou " +
                          std::to_string(kMaxColumns) + " colonnes : refusée."};
        }
        if (text.empty()) return;
        if (text.size() > kMaxCellChars && utf8Length(text) > kMaxCellChars) {
            throw Refusal{"cellule de plus de " + std::to_string(kMaxCellChars) + " caractères : refusée."};
        }
        // A long shared string repeated in every cell would fill memory.
        m_bytes += text.size();
        if (m_bytes > kMaxSheetTextBytes) {
            throw Refusal{"feuille de plus de " + std::to_string(kMaxSheetTextBytes >> 20) + " Mo de texte : refusée."};
        }
        auto& rows = m_sheet.rows;
        if (rows.size() <= row) rows.resize(row + 1);
        auto& cells = rows[row];
        if (cells.size() <= column) {
            m_cells += column + 1 - cells.size();
            if (m_cells > kMaxSheetCells) {
                throw Refusal{"plus de " + std::to_string(kMaxSheetCells) + " cellules : feuille refusée."};
            }
            cells.resize(column + 1);
        }
        cells[column] = std::move(text);
    }

private:
    Sheet& m_sheet;
    std::size_t m_cells = 0;
    std::size_t m_bytes = 0;
};

// --- .xlsx -------------------------------------------------------------------

// A reference such as "AB12": its 0-based column and row.
bool cellReference(std::string_view ref, std::size_t& column, std::size_t& row) {
    std::size_t i = 0, col = 0;
    while (i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z' && col <= kMaxColumns) {
        col = col * 26 + static_cast<std::size_t>(ref[i] - 'A' + 1);
        ++i;
    }
    if (i == 0 || col > kMaxColumns) return false;
    column = col - 1;
    if (i == ref.size()) return true;
    const std::size_t r = count(ref.substr(i), 0, kMaxRows + 1);
    if (r == 0) return false;
    row = r - 1;
    return true;
}

// All the text of a string item, phonetic readings left out.
void appendText(const pugi::xml_node& node, std::string& out) {
    for (pugi::xml_node c : node.children()) {
        const std::string_view name = localName(c);
        if (name == "t") {
            out += c.text().get();
        } else if (name == "r") {
            appendText(c, out);
        }
    }
}

// Zeros to pad to, per cell style: a number shown as "00000" is a code.
std::vector<std::size_t> paddedStyles(const pugi::xml_node& styleSheet) {
    std::unordered_map<std::string, std::size_t> zeros;  // by numFmtId
    for (pugi::xml_node f : child(styleSheet, "numFmts").children()) {
        if (localName(f) != "numFmt") continue;
        std::string code(attribute(f, "formatCode"));
        std::erase(code, '"');
        std::erase(code, '\\');
        if (code.size() >= 2 && code.find_first_not_of('0') == std::string::npos) {
            zeros[std::string(attribute(f, "numFmtId"))] = code.size();
        }
    }
    std::vector<std::size_t> byStyle;
    for (pugi::xml_node xf : child(styleSheet, "cellXfs").children()) {
        if (localName(xf) != "xf") continue;
        const auto found = zeros.find(std::string(attribute(xf, "numFmtId")));
        byStyle.push_back(found == zeros.end() ? 0 : found->second);
        if (byStyle.size() > 65536) break;
    }
    return byStyle;
}

// A number as the sheet shows it: whole numbers without decimals, padded
// when the style says so, a decimal comma otherwise.
std::string numberText(std::string_view value, std::size_t zeros) {
    double d = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), d);
    if (ec != std::errc{} || end != value.data() + value.size()) return std::string(value);
    if (d == static_cast<double>(static_cast<long long>(d)) && d > -1e15 && d < 1e15) {
        std::string digits = std::to_string(static_cast<long long>(d));
        if (d >= 0 && digits.size() < zeros) digits.insert(0, zeros - digits.size(), '0');
        return digits;
    }
    char buffer[64];
    const auto [last, ec2] = std::to_chars(buffer, buffer + sizeof buffer, d);
    std::string text = ec2 == std::errc{} ? std::string(buffer, last) : std::string(value);
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

std::string resolveTarget(std::string_view target) {
    if (target.starts_with('/')) return std::string(target.substr(1));
    std::string path = "xl/" + std::string(target);
    // "../" leads out of xl/, rarely but legally.
    while (path.find("/../") != std::string::npos) {
        const std::size_t up = path.find("/../");
        const std::size_t parent = path.rfind('/', up - 1);
        path.erase(parent == std::string::npos ? 0 : parent + 1, up + 4 - (parent == std::string::npos ? 0 : parent + 1));
    }
    return path;
}

struct SheetEntry {
    std::string name;
    std::string ref;  // a relationship id (.xlsx)
};

std::size_t chooseSheet(const std::vector<SheetEntry>& sheets, const SheetOptions& options) {
    if (sheets.empty()) throw Refusal{"le classeur n'a aucune feuille."};
    if (!options.sheet) return 0;
    const std::string& wanted = *options.sheet;
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        if (sheets[i].name == wanted) return i;
    }
    const std::size_t n = count(wanted, 0, sheets.size() + 1);
    if (n >= 1 && n <= sheets.size()) return n - 1;
    std::string list;
    for (std::size_t i = 0; i < sheets.size() && i < 50; ++i) {
        list += (i ? ", « " : "« ") + sheets[i].name + " »";
    }
    throw Refusal{"feuille « " + wanted + " » introuvable ; le classeur a : " + list + "."};
}

void readXlsx(const Archive& zip, const SheetOptions& options, Sheet& sheet) {
    sheet.format = "XLSX";
    auto workbookText = zip.part("xl/workbook.xml");
    pugi::xml_document workbook;
    parseXml(*workbookText, "xl/workbook.xml", workbook);
    std::vector<SheetEntry> sheets;
    for (pugi::xml_node s : child(workbook.document_element(), "sheets").children()) {
        if (localName(s) == "sheet") sheets.push_back({attribute(s, "name").data(), attribute(s, "id").data()});
    }
    const SheetEntry& chosen = sheets[chooseSheet(sheets, options)];
    sheet.sheetName = chosen.name;

    std::string target;
    if (auto relsText = zip.part("xl/_rels/workbook.xml.rels")) {
        pugi::xml_document rels;
        parseXml(*relsText, "xl/_rels/workbook.xml.rels", rels);
        for (pugi::xml_node r : rels.document_element().children()) {
            if (attribute(r, "Id") == chosen.ref) target = resolveTarget(attribute(r, "Target"));
        }
    }
    if (target.empty()) throw Refusal{"feuille « " + chosen.name + " » introuvable dans l'archive."};

    std::vector<std::string> shared;
    if (auto sharedText = zip.part("xl/sharedStrings.xml")) {
        eachElement(*sharedText, "xl/sharedStrings.xml", "si", [&](const pugi::xml_node& si) {
            shared.emplace_back();
            appendText(si, shared.back());
        });
    }
    std::vector<std::size_t> padding;
    if (auto stylesText = zip.part("xl/styles.xml")) {
        pugi::xml_document doc;
        parseXml(*stylesText, "xl/styles.xml", doc);
        padding = paddedStyles(doc.document_element());
    }

    auto sheetText = zip.part(target);
    if (!sheetText) throw Refusal{"feuille « " + chosen.name + " » introuvable dans l'archive."};
    RowBuilder rows(sheet);
    std::size_t nextRow = 0;
    eachElement(*sheetText, target, "row", [&](const pugi::xml_node& row) {
        const std::size_t rowIndex = count(attribute(row, "r"), nextRow + 1, kMaxRows + 1) - 1;
        nextRow = rowIndex + 1;
        std::size_t column = 0;
        for (pugi::xml_node c : row.children()) {
            if (localName(c) != "c") continue;
            std::size_t r = rowIndex;
            if (!cellReference(attribute(c, "r"), column, r)) {
                if (!attribute(c, "r").empty()) throw Refusal{"référence de cellule invalide dans la feuille."};
            }
            const std::string_view type = attribute(c, "t");
            const std::string_view value = child(c, "v").text().get();
            std::string text;
            if (type == "s") {
                const std::size_t index = count(value, shared.size(), shared.size());
                if (index < shared.size()) text = shared[index];
            } else if (type == "inlineStr") {
                appendText(child(c, "is"), text);
            } else if (type == "b") {
                text = value == "1" ? "VRAI" : "FAUX";
            } else if (type == "str" || type == "e") {
                text = value;
            } else {
                const std::size_t style = count(attribute(c, "s"), 0, padding.size());
                text = numberText(value, style < padding.size() ? padding[style] : 0);
            }
            rows.put(rowIndex, column, std::move(text));
            ++column;
        }
    });
}

// --- .ods --------------------------------------------------------------------

void appendOdsText(const pugi::xml_node& node, std::string& out) {
    for (pugi::xml_node c : node.children()) {
        if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) {
            out += c.value();
            continue;
        }
        const std::string_view name = localName(c);
        if (name == "s") {
            out.append(count(attribute(c, "c"), 1, 1000), ' ');
        } else if (name == "tab") {
            out += '\t';
        } else if (name == "line-break") {
            out += '\n';
        } else if (name != "annotation" && name != "note") {
            appendOdsText(c, out);
        }
    }
}

std::string odsCellText(const pugi::xml_node& cell) {
    std::string text;
    bool first = true;
    for (pugi::xml_node p : cell.children()) {
        if (localName(p) != "p" && localName(p) != "h") continue;
        if (!first) text += '\n';
        first = false;
        appendOdsText(p, text);
    }
    // Numbers read alike from both formats, whatever locale saved the file;
    // digits alone are kept as shown, for a code shown as 00000.
    const std::string_view type = attribute(cell, "value-type");
    if ((type == "float" || type == "percentage" || type == "currency") &&
        (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)) {
        text = numberText(attribute(cell, "value"), 0);
    }
    return text;
}

class OdsRows {
public:
    explicit OdsRows(Sheet& sheet) : m_rows(sheet) {}

    void walk(const pugi::xml_node& parent) {
        for (pugi::xml_node n : parent.children()) {
            const std::string_view name = localName(n);
            if (name == "table-row") {
                row(n);
            } else if (name == "table-header-rows" || name == "table-row-group" || name == "table-rows") {
                walk(n);
            }
        }
    }

private:
    // Repeats are expanded only up to what holds text: a sheet ends with a
    // million repeated empty rows.
    void row(const pugi::xml_node& node) {
        const std::size_t repeat = count(attribute(node, "number-rows-repeated"), 1, kMaxRows);
        std::vector<std::pair<std::size_t, std::string>> cells;
        std::size_t column = 0;
        for (pugi::xml_node c : node.children()) {
            const std::string_view name = localName(c);
            if (name != "table-cell" && name != "covered-table-cell") continue;
            const std::size_t times = count(attribute(c, "number-columns-repeated"), 1, kMaxColumns + 1);
            std::string text = odsCellText(c);
            if (!text.empty()) {
                for (std::size_t k = 0; k < times && column + k <= kMaxColumns; ++k) cells.emplace_back(column + k, text);
            }
            column = std::min(column + times, kMaxColumns + 1);
        }
        if (cells.empty()) {
            m_next = std::min(m_next + repeat, kMaxRows + 1);
            return;
        }
        for (std::size_t k = 0; k < repeat; ++k) {
            for (auto& [col, text] : cells) m_rows.put(m_next, col, text);
            ++m_next;
        }
    }

    RowBuilder m_rows;
    std::size_t m_next = 0;
};

void readOds(const Archive& zip, const SheetOptions& options, Sheet& sheet) {
    sheet.format = "ODS";
    auto content = zip.part("content.xml");
    if (!content) throw Refusal{"classeur .ods sans contenu (content.xml manquant)."};
    pugi::xml_document doc;
    parseXml(*content, "content.xml", doc);
    const pugi::xml_node spreadsheet = child(child(doc.document_element(), "body"), "spreadsheet");
    std::vector<pugi::xml_node> tables;
    std::vector<SheetEntry> sheets;
    for (pugi::xml_node t : spreadsheet.children()) {
        if (localName(t) != "table") continue;
        tables.push_back(t);
        sheets.push_back({attribute(t, "name").data(), {}});
    }
    const std::size_t chosen = chooseSheet(sheets, options);
    sheet.sheetName = sheets[chosen].name;
    OdsRows(sheet).walk(tables[chosen]);
}

}  // namespace

Sheet readOfficeFile(std::string_view bytes, const SheetOptions& options) {
    Sheet sheet;
    try {
        const Archive zip(bytes);
        if (zip.has("xl/workbook.xml")) {
            readXlsx(zip, options, sheet);
        } else if (zip.has("content.xml")) {
            readOds(zip, options, sheet);
        } else {
            throw Refusal{"archive zip qui n'est ni un classeur .xlsx ni un classeur .ods."};
        }
    } catch (const Refusal& refusal) {
        sheet.rows.clear();
        sheet.error = refusal.message;
    } catch (const std::bad_alloc&) {
        sheet.rows.clear();
        sheet.error = "mémoire insuffisante pour lire le classeur.";
    }
    for (auto& row : sheet.rows) {
        for (std::string& cell : row) {
            // A file made by hand may hold anything: cells stay UTF-8.
            if (!isValidUtf8(cell)) cell = windows1252ToUtf8(cell);
        }
    }
    return sheet;
}

}  // namespace localyx
