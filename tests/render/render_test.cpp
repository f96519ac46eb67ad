#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <sstream>

#include "core/around.h"
#include "core/text_encoding.h"
#include "core/render/documents.h"
#include "core/render/map.h"
#include "core/render/png_writer.h"
#include "core/render/qr_code.h"

// The projection against PROJ, the border file, the view frame and the
// label placement on the densest map we draw.

namespace localyx::render {
namespace {

TEST(Projection, MatchesProjToTheCentimetre) {
    // cs2cs -f "%.4f" EPSG:4326 EPSG:2154 (PROJ 9.1), once.
    struct Case {
        double lat, lon, x, y;
    };
    for (const Case& c : {Case{48.8566, 2.3522, 652469.0227, 6862035.2594},    // Paris
                          Case{48.3904, -4.4861, 146632.9785, 6836262.3267},   // Brest
                          Case{48.5734, 7.7521, 1050362.6954, 6840899.6472},   // Strasbourg
                          Case{41.9192, 8.7386, 1176667.5614, 6108273.2834},   // Ajaccio
                          Case{51.0344, 2.3768, 656187.5173, 7104472.9240},    // Dunkerque
                          Case{46.5, 3.0, 700000.0, 6600000.0}}) {             // the origin
        const Metres m = toLambert93(c.lat, c.lon);
        EXPECT_NEAR(m.x, c.x, 0.005) << c.lat << " " << c.lon;
        EXPECT_NEAR(m.y, c.y, 0.005) << c.lat << " " << c.lon;
        EXPECT_NEAR(longitudeOf(m), c.lon, 1e-9);
    }
    EXPECT_FALSE(std::isfinite(toLambert93(NAN, 2).x));
    EXPECT_FALSE(std::isfinite(toLambert93(90, 2).y));
    // West of 3 E the meridians lean right: north is turned clockwise (negative).
    EXPECT_NEAR(northAngle(-4.4861) * 180 / 3.14159265358979, -5.432, 0.001);  // n · Δλ, n = 0.7256
}

TEST(Borders, TheShippedFileAndDamagedOnes) {
    const Borders real = loadBorders(LOCALYX_BORDERS_DIR);
    ASSERT_TRUE(real.ok()) << real.error;
    int kinds[3] = {0, 0, 0};
    for (const BorderArc& arc : real.arcs) {
        ++kinds[static_cast<int>(arc.kind)];
        // Metropolitan France and Corsica, in Lambert-93.
        EXPECT_TRUE(arc.low.x > 50000 && arc.high.x < 1250000 && arc.low.y > 6030000 && arc.high.y < 7130000);
    }
    EXPECT_GT(kinds[0], 50);
    EXPECT_GT(kinds[1], 50);
    EXPECT_GT(kinds[2], 50);

    for (const auto& [text, error] : std::vector<std::pair<std::string, std::string>>{
             {"# vide\n", "aucun contour"},
             {"100 N 35 - 1 2 3 4\n", ""},
             {"# x\n100 D 35 50 1 2 3\n", "ligne 2 illisible"},           // a lone dx
             {"100 D 35 50 1 2\n", "ligne 1 illisible"},                  // one point
             {"250 D 35 50 1 2 3 4\n", "ligne 1 illisible"},              // unknown tolerance
             {"100 X 35 50 1 2 3 4\n", "ligne 1 illisible"},
             {"100 D 35 50 1 2 3 4x\n", "ligne 1 illisible"},
             {"100 D 35 50 1 2 99999999999999999999 4\n", "ligne 1 illisible"},
             {"100 D 35 50 1 2 30000000 4\n", "ligne 1 illisible"}}) {   // far off the planet
        EXPECT_EQ(parseBorders(text).error, error) << text;
    }
}

TEST(FrameTest, ZoomKeepsThePointUnderTheCursorAndPanMovesIt) {
    Frame f = Frame::fit({10, 20, 400, 300}, {600000, 6800000}, {640000, 6820000}, 10);
    EXPECT_DOUBLE_EQ(f.metresPerUnit, 40000.0 / 380);
    const PagePoint cursor{100, 250};
    const Metres under = f.toMetres(cursor);
    f.zoomAbout(cursor, 2.5);
    EXPECT_NEAR(f.toPage(under).x, cursor.x, 1e-6);
    EXPECT_NEAR(f.toPage(under).y, cursor.y, 1e-6);
    f.pan(30, -12);
    EXPECT_NEAR(f.toPage(under).x, cursor.x + 30, 1e-6);
    EXPECT_NEAR(f.toPage(under).y, cursor.y - 12, 1e-6);
    const Frame before = f;
    for (const double bad : {0.0, -1.0, double(NAN), double(INFINITY)}) f.zoomAbout(cursor, bad);
    EXPECT_EQ(f.metresPerUnit, before.metresPerUnit);
    // A tall area: its height, less the margins, decides.
    EXPECT_DOUBLE_EQ(Frame::fit({0, 0, 400, 300}, {0, 0}, {1000, 28000}, 10).metresPerUnit, 28000.0 / 280);
}

// Around Paris at 30 km, about 300 localities on one page: labels never
// overlap each other or the map's furniture, and stay on the page.
TEST(Labels, NoOverlapOnTheDensestMap) {
    const LocalityTable table = readLocalityTableAt(LOCALYX_TABLE);
    ASSERT_TRUE(table.ok()) << table.error;
    std::size_t centre = 0;
    while (centre < table.rows.size() && table.rows[centre].insee != "75101") ++centre;
    ASSERT_LT(centre, table.rows.size());
    const Locality& c = table.rows[centre];
    MapScene scene;
    scene.title = "Localités à 30 km de " + c.item();
    scene.circle = SearchCircle{c.latitude, c.longitude, 30};
    scene.places.push_back({c.latitude, c.longitude, c.item(), c.population, PlaceRole::Centre});
    for (const Nearby& n : localitiesAround(table.rows, centre, 30)) {
        const Locality& l = table.rows[n.row];
        scene.places.push_back({l.latitude, l.longitude, l.name, l.population, PlaceRole::Locality});
    }
    ASSERT_GT(scene.places.size(), 250u);
    for (const int side : {800, 1600}) {
        MapDrawing drawing;
        std::ostringstream png;
        ASSERT_EQ(writeMapDocument(png, ImageFormat::Png, scene, Borders{}, side, side, &drawing), "");
        EXPECT_EQ(drawing.labels.size() + drawing.leftOut.size(), scene.places.size());
        ASSERT_GT(drawing.labels.size(), 60u);
        EXPECT_EQ(drawing.labels.front().place, 0u);  // the centre first
        const PageRect page{0, 0, static_cast<double>(side), static_cast<double>(side)};
        for (std::size_t i = 0; i < drawing.labels.size(); ++i) {
            const PageRect& a = drawing.labels[i].box;
            EXPECT_TRUE(page.contains(a)) << i;
            for (std::size_t j = i + 1; j < drawing.labels.size(); ++j) {
                EXPECT_FALSE(a.overlaps(drawing.labels[j].box)) << i << " " << j;
            }
            for (const PageRect& f : drawing.furniture) EXPECT_FALSE(a.overlaps(f)) << i;
        }
    }
}

// A label goes right of its dot, centred on it; too long for either side of
// a small map, it goes above, centred again.
TEST(Labels, RightOfTheDotElseAbove) {
    const Place rennes{48.11, -1.68, "RENNES", 220000, PlaceRole::Locality};
    const PageRect area{0, 0, 300, 300};
    const Metres at = toLambert93(rennes.latitude, rennes.longitude);
    const Frame frame = Frame::fit(area, {at.x - 5000, at.y - 5000}, {at.x + 5000, at.y + 5000});
    const PagePoint dot = frame.toPage(at);
    for (const auto& [label, above] : std::vector<std::pair<std::string, bool>>{
             {"RENNES", false}, {"SAINT-RÉMY-EN-BOUZEMONT-SAINT-GENEST-ET-ISSON", true}}) {
        MapScene scene;
        scene.places = {rennes};
        scene.places[0].label = label;
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 300, 300);
        cairo_t* cr = cairo_create(surface);
        const MapDrawing drawing = drawMap(cr, frame, scene, Borders{});
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
        ASSERT_EQ(drawing.labels.size(), 1u) << label;
        const PageRect& box = drawing.labels[0].box;
        if (above) {
            EXPECT_NEAR(box.x + box.width / 2, dot.x, 0.5);
            EXPECT_LT(box.bottom(), dot.y);
        } else {
            EXPECT_NEAR(box.y + box.height / 2, dot.y, 0.5);
            EXPECT_GT(box.x, dot.x);
        }
    }
}

// Out-of-range sizes and failed writes are refused whoever asks; PNG keeps its colours.
TEST(Documents, ImageSizesAndColours) {
    MapScene scene;
    for (const auto& [width, height] : std::vector<std::pair<int, int>>{{0, 10}, {10, 0}, {8001, 10}, {10, 8001}}) {
        std::ostringstream out;
        EXPECT_EQ(writeMapDocument(out, ImageFormat::Png, scene, Borders{}, width, height, nullptr),
                  "taille d'image invalide : de 1 à 8000 pixels de côté") << width << "x" << height;
        EXPECT_TRUE(out.str().empty());
    }
    // A stream that takes nothing: no document claims to be written.
    std::ostream broken(nullptr);
    for (const ImageFormat format : {ImageFormat::Svg, ImageFormat::Png, ImageFormat::Pdf}) {
        EXPECT_NE(writeMapDocument(broken, format, scene, Borders{}, 10, 10, nullptr), "");
    }
    EXPECT_NE(writeRouteSheet(broken, RouteSheet{}, Borders{}), "");
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, 2, 2);
    std::ostringstream unwritten;
    EXPECT_EQ(writePng(mask, unwritten), "format d'image inattendu");
    cairo_surface_destroy(mask);
    // No QR code for nothing, nor for a text too long to be read back from paper.
    EXPECT_EQ(qrModules("") + qrModules(std::string(2001, 'a')), 0);
    EXPECT_GT(qrModules(std::string(2000, 'a')), 0);

    cairo_surface_t* rgb = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 3, 1);
    auto* pixels = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(rgb));
    pixels[0] = 0xFF0000, pixels[1] = 0x00FF00, pixels[2] = 0x0000FF;
    cairo_surface_mark_dirty(rgb);
    std::ostringstream png;
    ASSERT_EQ(writePng(rgb, png), "");
    cairo_surface_destroy(rgb);
    std::istringstream in(png.str());
    cairo_surface_t* read = cairo_image_surface_create_from_png_stream(
        [](void* closure, unsigned char* data, unsigned int length) {
            return static_cast<std::istream*>(closure)->read(reinterpret_cast<char*>(data), length)
                       ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_READ_ERROR;
        }, &in);
    ASSERT_EQ(cairo_surface_status(read), CAIRO_STATUS_SUCCESS);
    const auto* back = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(read));
    EXPECT_EQ(back[0] & 0xFFFFFF, 0xFF0000u);  // red stays red
    EXPECT_EQ(back[2] & 0xFFFFFF, 0x0000FFu);
    cairo_surface_destroy(read);
}

TEST(XmlSafe, ReplacesWhatXmlForbidsAndKeepsTheRest) {
    for (const auto& [in, out] : std::vector<std::pair<std::string, std::string>>{
             {"SAINT-ÉTIENNE l'Œuf\t\n\r", "SAINT-ÉTIENNE l'Œuf\t\n\r"},
             {"A\xEF\xBF\xBE" "B\xEF\xBF\xBF", "A\xEF\xBF\xBD" "B\xEF\xBF\xBD"},   // U+FFFE, U+FFFF
             {std::string("\x01\x1B\x00z", 4), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDz"},
             {"\xEF\xBF\xBD\xEF\xBF\xBC", "\xEF\xBF\xBD\xEF\xBF\xBC"},            // U+FFFD, U+FFFC stay
             {"\xFF\xC3", "\xEF\xBF\xBD\xEF\xBF\xBD"}}) {                          // not UTF-8
        EXPECT_EQ(xmlSafe(in), out);
    }
}

}  // namespace
}  // namespace localyx::render
