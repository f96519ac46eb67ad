#include "core/sheets/sheet.h"

#include <system_error>

#include "core/region_file.h"

namespace localyx {

Sheet readSheetFile(const std::filesystem::path& path, const SheetOptions& options) {
    std::string bytes;
    const RegionFileProblem problem = readWholeFile(path, kMaxSheetFileBytes, bytes);
    if (problem != RegionFileProblem::None) {
        Sheet sheet;
        std::error_code ec;
        if (problem == RegionFileProblem::NotFound) {
            sheet.error = "fichier introuvable.";
        } else if (problem == RegionFileProblem::TooLarge) {
            sheet.error = "fichier de plus de " + std::to_string(kMaxSheetFileBytes >> 20) +
                          " Mo : refusé (un fichier de clients n'en approche pas).";
        } else if (std::filesystem::is_directory(path, ec)) {
            sheet.error = "c'est un dossier, pas un fichier.";
        } else if (!std::filesystem::is_regular_file(path, ec)) {
            sheet.error = "ce n'est pas un fichier ordinaire (tube, périphérique…).";
        } else {
            sheet.error = "fichier illisible.";
        }
        return sheet;
    }
    if (bytes.starts_with("PK\x03\x04") || bytes.starts_with("PK\x05\x06")) return readOfficeFile(bytes, options);
    return readOwnedText(std::move(bytes), options);
}

}  // namespace localyx
