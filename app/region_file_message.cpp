#include "app/region_file_message.h"

namespace localyx {

std::string regionFileMessage(const RegionFileText& file, std::string_view regionCaption) {
    std::string_view head;
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
        head = "Fichier trop volumineux : ";
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
