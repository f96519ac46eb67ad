#include <cairo-pdf.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

#include "core/exports/text_cells.h"
#include "core/render/documents.h"
#include "core/render/qr_code.h"
#include "core/render/stream_surface.h"
#include "core/render/text_drawing.h"

namespace localyx::render {
namespace {

constexpr double kMargin = 36;
constexpr double kQrModule = 1.25;  // points: 1.25 pt is 2.6 pixels at 150 dpi, enough for a phone
constexpr double kTextSize = 9;
constexpr double kHeaderRow = 18;
constexpr double kFootRoom = 24;

struct Column {
    const char* title;
    double width;
    bool right;  // numbers are right-aligned
};
const std::array<Column, 7> kColumns{{{"N°", 24, true},
                                      {"Localité", 170, false},
                                      {"CP", 40, false},
                                      {"Population", 58, true},
                                      {"Étape (km)", 56, true},
                                      {"Cumul (km)", 56, true},
                                      {"☐", 22, false}}};

std::string groupedNumber(std::int64_t n) {
    if (n < 0) return "";
    std::string digits = std::to_string(n), out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i && (digits.size() - i) % 3 == 0) out += "\u00A0";  // French groups; Liberation Sans has no U+202F
        out += digits[i];
    }
    return out;
}

// cairo reads tag attributes as name='value' with \ escaping ' and \.
std::string linkAttributes(std::string_view uri) {
    std::string out = "uri='";
    for (char c : uri) {
        if (c == '\'' || c == '\\') out += '\\';
        out += c;
    }
    return out + "'";
}

// Where a row's detail and address start and how tall the row is: a long
// name wraps and pushes them down.
struct RowShape {
    double detailY, addressY, height;
};

constexpr double kAddressSize = 6;

// Under the cells from Localité to the box, left of the QR code.
double addressLeft(double x) { return x + kColumns[0].width + 4; }
double addressWidth() {
    double cells = 0;
    for (const Column& c : kColumns) cells += c.width;
    return cells - kColumns[0].width - 12;
}

RowShape rowShape(TextDrawing& text, const RouteRow& row) {
    text.set(row.name, kTextSize, true, kColumns[1].width - 8);
    const double detailY = 5 + text.extent().height;
    double addressY = detailY + 3;
    if (!row.detail.empty()) {
        text.set(row.detail, kTextSize, false, kColumns[1].width - 8);
        addressY += text.extent().height;
    }
    double height = addressY;
    if (!row.address.empty()) {
        text.set(row.address, kAddressSize, false, addressWidth());
        height += text.extent().height;
    }
    const int modules = row.address.empty() ? 0 : qrModules(row.address);
    return {detailY, addressY, std::max({28.0, modules * kQrModule + 10, height + 6})};
}

void drawTableHeader(cairo_t* cr, TextDrawing& text, double x, double y, double width) {
    cairo_rectangle(cr, x, y, width, kHeaderRow);
    cairo_set_source_rgb(cr, 0.88, 0.90, 0.94);
    cairo_fill(cr);
    for (const Column& c : kColumns) {
        text.set(c.title, kTextSize, true);
        const double w = text.extent().width;
        text.draw(c.right ? x + c.width - 4 - w : x + 4, y + 4);
        x += c.width;
    }
}

void drawRow(cairo_t* cr, TextDrawing& text, const RouteRow& row, double x, double y, double width) {
    const RowShape shape = rowShape(text, row);
    const double height = shape.height;
    const std::array<std::string, 6> cells{std::to_string(row.number), row.name, row.postalCode,
                                           groupedNumber(row.population), decimalComma(row.legKm),
                                           decimalComma(row.totalKm)};
    double cx = x;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const Column& c = kColumns[i];
        text.set(cells[i], kTextSize, i == 1, i == 1 ? c.width - 8 : 0);
        const double w = text.extent().width;
        text.draw(c.right ? cx + c.width - 4 - w : cx + 4, y + 5);
        cx += c.width;
    }
    if (!row.detail.empty()) {
        text.set(row.detail, kTextSize, false, kColumns[1].width - 8);
        text.draw(x + kColumns[0].width + 4, y + shape.detailY);
    }
    // The box to tick once the stop is done.
    cairo_rectangle(cr, cx + 5, y + 5, 11, 11);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    cx += kColumns.back().width;
    if (!row.address.empty()) {
        const std::string attributes = linkAttributes(row.address);
        text.set(row.address, kAddressSize, false, addressWidth());
        cairo_tag_begin(cr, CAIRO_TAG_LINK, attributes.c_str());
        text.draw(addressLeft(x), y + shape.addressY, 0, 0.1, 0.25, 0.65);
        cairo_tag_end(cr, CAIRO_TAG_LINK);
        cairo_tag_begin(cr, CAIRO_TAG_LINK, attributes.c_str());
        const double side = qrModules(row.address) * kQrModule;
        drawQrCode(cr, row.address, x + width - side - 5, y + 5, kQrModule);
        cairo_tag_end(cr, CAIRO_TAG_LINK);
    }
    cairo_move_to(cr, x, y + height);
    cairo_line_to(cr, x + width, y + height);
    cairo_set_source_rgb(cr, 0.75, 0.75, 0.75);
    cairo_set_line_width(cr, 0.5);
    cairo_stroke(cr);
}

}  // namespace

std::string writeRouteSheet(std::ostream& out, const RouteSheet& sheet, const Borders& borders,
                            RouteSheetLayout* layout) {
    const double width = kA4Width - 2 * kMargin;
    const double mapTop = kMargin + 58, mapHeight = 440;
    const double firstTableTop = mapTop + mapHeight + 12;
    const double tableBottom = kA4Height - kMargin - kFootRoom;

    using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
    Surface surface{cairo_pdf_surface_create_for_stream(writeToStream, &out, kA4Width, kA4Height),
                    cairo_surface_destroy};
    if (const std::string problem = cairoProblem(cairo_surface_status(surface.get())); !problem.empty()) return problem;
    cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_TITLE, sheet.title.c_str());
    cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATOR, "Localyx");
    cairo_t* cr = cairo_create(surface.get());
    TextDrawing text(cr);

    // Rows to pages first, so each foot can say « page x / y ».
    std::vector<double> heights;
    std::vector<int> pageOfRow;
    int page = 1;
    double y = firstTableTop + kHeaderRow;
    for (const RouteRow& row : sheet.rows) {
        heights.push_back(rowShape(text, row).height);
        if (y + heights.back() > tableBottom) {
            ++page;
            y = kMargin + kHeaderRow;
        }
        pageOfRow.push_back(page);
        y += heights.back();
    }
    const int pages = page;
    if (layout) *layout = {pages, pageOfRow};

    // Header: title and date, the start, the count and the length.
    text.set(sheet.title, 18, true);
    text.draw(kMargin, kMargin);
    text.set(sheet.date, 10);
    text.draw(kMargin + width - text.extent().width, kMargin + 6);
    const std::string summary = "Départ : " + sheet.start + " · " + std::to_string(sheet.stops) +
                                (sheet.stops > 1 ? " étapes" : " étape") + " · " + decimalComma(sheet.totalKm) +
                                " km à vol d'oiseau";
    text.set(summary, 10, false, width);
    text.draw(kMargin, kMargin + 28);

    const PageRect mapArea{kMargin, mapTop, width, mapHeight};
    MapScene scene = sheet.map;
    scene.title.clear();  // the sheet's header says it
    drawMap(cr, fitScene(scene, mapArea), scene, borders);
    cairo_rectangle(cr, mapArea.x, mapArea.y, mapArea.width, mapArea.height);
    cairo_set_source_rgb(cr, 0.5, 0.5, 0.5);
    cairo_set_line_width(cr, 0.6);
    cairo_stroke(cr);

    const auto foot = [&](int p) {
        text.set("page " + std::to_string(p) + " / " + std::to_string(pages), 8);
        text.draw(kMargin + (width - text.extent().width) / 2, kA4Height - kMargin - 10, 0, 0.3, 0.3, 0.3);
    };
    page = 1;
    y = firstTableTop;
    drawTableHeader(cr, text, kMargin, y, width);
    y += kHeaderRow;
    for (std::size_t i = 0; i < sheet.rows.size(); ++i) {
        if (pageOfRow[i] != page) {
            foot(page);
            cairo_show_page(cr);
            page = pageOfRow[i];
            y = kMargin;
            drawTableHeader(cr, text, kMargin, y, width);
            y += kHeaderRow;
        }
        drawRow(cr, text, sheet.rows[i], kMargin, y, width);
        y += heights[i];
    }
    foot(page);
    cairo_show_page(cr);
    std::string problem = cairoProblem(cairo_status(cr));
    cairo_destroy(cr);
    cairo_surface_finish(surface.get());
    if (problem.empty()) problem = cairoProblem(cairo_surface_status(surface.get()));
    if (problem.empty() && !out.flush()) problem = "écriture impossible";
    return problem;
}

}  // namespace localyx::render
