#include "tools/localyx_query/map_output.h"

#include <unistd.h>

#include <array>
#include <charconv>
#include <ctime>
#include <iostream>
#include <system_error>

#include "tools/localyx_query/output.h"

namespace localyx::query {
namespace {

struct ImageSize {
    int width = render::kDefaultImageSide, height = render::kDefaultImageSide;
};

ImageSize parseSize(const Invocation& run, std::string_view format) {
    if (!run.cl.size) return {};
    if (format == "pdf") usageError("l'option --size ne s'applique pas au format pdf (page A4).");
    const std::string& text = *run.cl.size;
    const std::size_t cross = text.find_first_of("xX");
    // Each side: digits only; a side too long for an int is simply too large.
    const auto side = [&](std::string_view digits) -> long long {
        if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) return -1;
        if (digits.size() > 9) return static_cast<long long>(render::kMaxImageSide) + 1;
        int value = 0;
        std::from_chars(digits.data(), digits.data() + digits.size(), value);
        return value;
    };
    const std::string_view all(text);
    const long long width = cross == std::string::npos ? -1 : side(all.substr(0, cross));
    const long long height = cross == std::string::npos ? -1 : side(all.substr(cross + 1));
    if (width < 1 || height < 1) {
        usageError("taille invalide : " + inQuotes(text) +
                   " ; il faut LARGEURxHAUTEUR en pixels, par exemple 1600x1600.");
    }
    if (width > render::kMaxImageSide || height > render::kMaxImageSide) {
        usageError("taille trop grande : " + inQuotes(text) + " ; au plus " +
                   std::to_string(render::kMaxImageSide) + " pixels de côté.");
    }
    return {static_cast<int>(width), static_cast<int>(height)};
}

// A PNG or a PDF on a terminal is a screenful of garbage, and may upset it.
void refuseTerminal(const Invocation& run, std::string_view format) {
    if (format == "svg") return;
    if (&run.out == &std::cout && isatty(STDOUT_FILENO)) {
        usageError("le format " + std::string(format) +
                   " ne s'écrit pas dans un terminal : redirigez la sortie vers un fichier (> carte." +
                   std::string(format) + ") ou un tube.");
    }
}

render::Borders borders(const Invocation& run) {
    render::Borders loaded = render::loadBorders(run.programDir);
    if (!loaded.ok()) {
        run.err << kProgram << " : attention : contours " << shortened(loaded.path.string()) << " : " << loaded.error
                << " ; carte sans contours.\n";
    }
    return loaded;
}

std::string counted(std::size_t n, std::string_view none, std::string_view one, std::string_view many) {
    if (n == 0) return std::string(none);
    const std::string digits = std::to_string(n);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i && (digits.size() - i) % 3 == 0) grouped += "\u00A0";
        grouped += digits[i];
    }
    return grouped + std::string(n == 1 ? one : many);
}

}  // namespace

bool isMapFormat(std::string_view format) { return format == "svg" || format == "png" || format == "pdf"; }

void writeMap(const Invocation& run, std::string_view format, const render::MapScene& scene) {
    const ImageSize size = parseSize(run, format);
    refuseTerminal(run, format);
    const render::ImageFormat kind = format == "svg"   ? render::ImageFormat::Svg
                                     : format == "png" ? render::ImageFormat::Png
                                                       : render::ImageFormat::Pdf;
    const std::string problem =
        render::writeMapDocument(run.out, kind, scene, borders(run), size.width, size.height);
    if (!problem.empty()) fail("carte : " + problem + ".");
}

void writeRouteSheet(const Invocation& run, render::RouteSheet sheet) {
    parseSize(run, "pdf");
    refuseTerminal(run, "pdf");
    const std::string problem = render::writeRouteSheet(run.out, sheet, borders(run));
    if (!problem.empty()) fail("feuille de route : " + problem + ".");
}

std::string localityCount(std::size_t n) { return counted(n, "aucune localité", " localité", " localités"); }

std::string clientCount(std::size_t n) { return counted(n, "aucun client", " client", " clients"); }

std::string frenchToday() {
    static constexpr std::array<const char*, 12> kMonths{"janvier", "février", "mars", "avril", "mai", "juin",
                                                         "juillet", "août", "septembre", "octobre", "novembre",
                                                         "décembre"};
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) return "";
    return std::to_string(local.tm_mday) + (local.tm_mday == 1 ? "er " : " ") + kMonths[local.tm_mon] + " " +
           std::to_string(local.tm_year + 1900);
}

}  // namespace localyx::query
