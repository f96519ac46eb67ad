#include "app/region_file_message.h"

namespace localyx {

std::string regionFileMessage(const RegionFileText& file, std::string_view regionCaption) {
    std::string head;
    switch (file.problem) {
    case RegionFileProblem::None:
        return {};
    case RegionFileProblem::NotFound:
        head = "Fichier introuvable : ";
        break;
    case RegionFileProblem::Unreadable:
        head = "Fichier illisible : ";
        break;
    case RegionFileProblem::TooLarge:
        // Says how large a file may be: a real region's is a hundred times
        // smaller, so only a wrong or damaged file goes past.
        head = "Fichier trop volumineux (plus de " + std::to_string(kMaxRegionFileBytes / (1024 * 1024)) + " Mo) : ";
        break;
    }
    std::string message(head);
    message += file.fileName;
    message += " — la liste des localités de la région ";
    message += regionCaption;
    message += " n'a pas pu être lue.";
    return message;
}

}  // namespace localyx
