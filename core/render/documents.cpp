#include "core/render/documents.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>

#include <memory>

#include "core/render/png_writer.h"
#include "core/render/stream_surface.h"

namespace localyx::render {

cairo_status_t writeToStream(void* closure, const unsigned char* data, unsigned int length) {
    auto* out = static_cast<std::ostream*>(closure);
    out->write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(length));
    return *out ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

std::string cairoProblem(cairo_status_t status) {
    if (status == CAIRO_STATUS_SUCCESS) return {};
    if (status == CAIRO_STATUS_WRITE_ERROR) return "écriture impossible";
    if (status == CAIRO_STATUS_NO_MEMORY) return "mémoire insuffisante";
    return std::string("erreur de dessin (") + cairo_status_to_string(status) + ")";
}

std::string writeMapDocument(std::ostream& out, ImageFormat format, const MapScene& scene, const Borders& borders,
                             int width, int height, MapDrawing* drawing) {
    if (format != ImageFormat::Pdf && (width < 1 || height < 1 || width > kMaxImageSide || height > kMaxImageSide)) {
        return "taille d'image invalide : de 1 à " + std::to_string(kMaxImageSide) + " pixels de côté";
    }
    using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
    PageRect area{0, 0, static_cast<double>(width), static_cast<double>(height)};
    Surface surface{nullptr, cairo_surface_destroy};
    switch (format) {
    case ImageFormat::Png:
        surface.reset(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
        break;
    case ImageFormat::Svg:
        surface.reset(cairo_svg_surface_create_for_stream(writeToStream, &out, width, height));
        cairo_svg_surface_set_document_unit(surface.get(), CAIRO_SVG_UNIT_PX);  // as --size says, not points
        break;
    case ImageFormat::Pdf: {
        surface.reset(cairo_pdf_surface_create_for_stream(writeToStream, &out, kA4Width, kA4Height));
        const double margin = 28;
        area = {margin, margin, kA4Width - 2 * margin, kA4Height - 2 * margin};
        cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATOR, "Localyx");
        if (!scene.title.empty()) {
            cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_TITLE, scene.title.c_str());
        }
        break;
    }
    }
    if (const std::string problem = cairoProblem(cairo_surface_status(surface.get())); !problem.empty()) return problem;
    cairo_t* cr = cairo_create(surface.get());
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    const MapDrawing drawn = drawMap(cr, fitScene(scene, area), scene, borders);
    if (drawing) *drawing = drawn;
    cairo_show_page(cr);
    std::string problem = cairoProblem(cairo_status(cr));
    cairo_destroy(cr);
    if (format == ImageFormat::Png && problem.empty()) {
        problem = writePng(surface.get(), out);
    }
    cairo_surface_finish(surface.get());
    if (problem.empty()) problem = cairoProblem(cairo_surface_status(surface.get()));
    if (problem.empty() && !out.flush()) problem = "écriture impossible";
    return problem;
}

}  // namespace localyx::render
