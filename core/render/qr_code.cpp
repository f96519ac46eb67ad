#include "core/render/qr_code.h"

#include <qrencode.h>

#include <memory>

namespace localyx::render {
namespace {

using Code = std::unique_ptr<QRcode, decltype(&QRcode_free)>;

Code encode(std::string_view text) {
    if (text.empty() || text.size() > 2000) return {nullptr, QRcode_free};
    return {QRcode_encodeData(static_cast<int>(text.size()), reinterpret_cast<const unsigned char*>(text.data()), 0,
                              QR_ECLEVEL_L),
            QRcode_free};
}

}  // namespace

int qrModules(std::string_view text) {
    const Code code = encode(text);
    return code ? code->width : 0;
}

void drawQrCode(cairo_t* cr, std::string_view text, double x, double y, double module) {
    const Code code = encode(text);
    if (!code) return;
    const int n = code->width;
    cairo_save(cr);
    cairo_rectangle(cr, x, y, n * module, n * module);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
    // Runs of dark modules in a row, one rectangle each: a quarter of the path.
    for (int row = 0; row < n; ++row) {
        for (int col = 0; col < n;) {
            if (!(code->data[row * n + col] & 1)) {
                ++col;
                continue;
            }
            int end = col;
            while (end < n && (code->data[row * n + end] & 1)) ++end;
            cairo_rectangle(cr, x + col * module, y + row * module, (end - col) * module, module);
            col = end;
        }
    }
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_fill(cr);
    cairo_restore(cr);
}

}  // namespace localyx::render
