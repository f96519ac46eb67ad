// Any bytes as an .xlsx or .ods file: the archive, the XML parts, the cells.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/text_encoding.h"
#include "fuzz/fuzz_check.h"
#include "core/sheets/sheet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const char* sheetChoice : {"", "2"}) {
        localyx::SheetOptions options;
        if (*sheetChoice) options.sheet = sheetChoice;
        const localyx::Sheet sheet = localyx::readOfficeFile(bytes, options);
        FUZZ_CHECK(sheet.ok() || sheet.rows.empty());
        std::size_t cells = 0;
        for (const auto& row : sheet.rows) {
            cells += row.size();
            for (const std::string& cell : row) FUZZ_CHECK(localyx::isValidUtf8(cell));
        }
        FUZZ_CHECK(cells <= localyx::kMaxSheetCells);
    }
    return 0;
}
