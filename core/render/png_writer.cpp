#include "core/render/png_writer.h"

#include <png.h>

#include <bit>
#include <csetjmp>
#include <cstdint>
#include <vector>

namespace localyx::render {
namespace {

void writeBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::ostream*>(png_get_io_ptr(png));
    out->write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(length));
    if (!*out) png_error(png, "write");
}

void flushBytes(png_structp png) { static_cast<std::ostream*>(png_get_io_ptr(png))->flush(); }

// Kept out of the function that calls setjmp, so that a longjmp skips no destructor.
bool encode(png_structp png, png_infop info, const std::vector<png_bytep>& rows, int width, int height,
            std::ostream& out) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, &out, writeBytes, flushBytes);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_write_info(png, info);
    // cairo keeps a pixel as one native 32-bit word, 0xXXRRGGBB.
    png_set_filler(png, 0, std::endian::native == std::endian::little ? PNG_FILLER_AFTER : PNG_FILLER_BEFORE);
    if (std::endian::native == std::endian::little) png_set_bgr(png);
    png_write_image(png, const_cast<png_bytepp>(rows.data()));
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

std::string writePng(cairo_surface_t* image, std::ostream& out) {
    cairo_surface_flush(image);
    const cairo_format_t format = cairo_image_surface_get_format(image);
    if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32) return "format d'image inattendu";
    const int width = cairo_image_surface_get_width(image), height = cairo_image_surface_get_height(image);
    const int stride = cairo_image_surface_get_stride(image);
    unsigned char* data = cairo_image_surface_get_data(image);
    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) rows[static_cast<std::size_t>(y)] = data + static_cast<std::ptrdiff_t>(y) * stride;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool written = info && encode(png, info, rows, width, height, out);
    png_destroy_write_struct(&png, &info);
    return written ? "" : "écriture impossible";
}

}  // namespace localyx::render
