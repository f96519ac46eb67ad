// Any bytes as a client's CSV or TSV file, read as found and with each forced
// encoding, then its columns looked for.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/text_encoding.h"
#include "fuzz/fuzz_check.h"
#include "core/sheets/columns.h"
#include "core/sheets/sheet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const char* encoding : {"", "utf-8", "windows-1252", "utf-16"}) {
        localyx::SheetOptions options;
        if (*encoding) options.encoding = encoding;
        const localyx::Sheet sheet = localyx::readDelimitedText(bytes, options);
        FUZZ_CHECK(sheet.ok() != !sheet.error.empty());
        FUZZ_CHECK(sheet.ok() || sheet.rows.empty());
        std::size_t chars = 0;
        for (const auto& row : sheet.rows) {
            FUZZ_CHECK(!row.empty());
            for (const std::string& cell : row) {
                FUZZ_CHECK(localyx::isValidUtf8(cell) && cell.find('\0') == std::string::npos);
                FUZZ_CHECK(cell.find(sheet.separator) == std::string::npos || bytes.find('"') != std::string_view::npos);
                chars += cell.size();
            }
        }
        // Decoding at most triples a byte; cells never hold more than the text.
        FUZZ_CHECK(chars <= 3 * size + 3);
        if (!sheet.rows.empty()) {
            const localyx::ColumnLayout layout = localyx::findColumns(sheet.rows.front(), {});
            FUZZ_CHECK(layout.error.empty() || layout.error.find("en-têtes lus") != std::string::npos);
        }
    }
    return 0;
}
