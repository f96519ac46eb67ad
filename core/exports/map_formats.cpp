#include "core/exports/map_formats.h"

#include <array>
#include <charconv>
#include <cmath>
#include <sstream>

#include <nlohmann/json.hpp>
#include <pugixml.hpp>

#include "core/region_catalogue.h"
#include "core/text_encoding.h"
#include "core/exports/text_cells.h"

namespace localyx {

std::string regionCaption(std::string_view baseName) {
    for (const RegionEntry& entry : regionCatalogue()) {
        if (entry.baseName == baseName) return std::string(entry.caption);
    }
    return printable(baseName);
}

std::string degrees(double value) {
    std::array<char, 64> buffer{};
    const auto [end, ec] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, 6);
    return ec == std::errc{} ? std::string(buffer.data(), end) : std::string("0");
}

void writeGeoJson(std::ostream& out, const std::vector<MapPoint>& points, const std::vector<double>& kms) {
    nlohmann::ordered_json features = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Locality& l = *points[i].place;
        nlohmann::ordered_json properties;
        if (points[i].centre) properties["role"] = "centre";
        for (const auto& [key, value] : points[i].properties) properties[printable(key)] = printable(value);
        if (points[i].properties.empty()) {
            properties["nom"] = printable(l.name);
            if (!points[i].officialName.empty()) properties["nom_officiel"] = printable(points[i].officialName);
            properties["code_postal"] = printable(l.postalCode);
            properties["insee"] = printable(l.insee);
            properties["departement"] = printable(l.departement);
            properties["region"] = regionCaption(l.region);
            properties["population"] = l.population >= 0 ? nlohmann::ordered_json(l.population) : nullptr;
        }
        // Metres are plenty, and keep the figures short.
        properties["distance_km"] = std::round(kms[i] * 1000.0) / 1000.0;
        // Six decimals are a tenth of a metre: round the same way the table does.
        const auto rounded = [](double v) { return std::round(v * 1e6) / 1e6; };
        features.push_back({{"type", "Feature"},
                            {"geometry",
                             {{"type", "Point"},
                              {"coordinates", {rounded(l.longitude), rounded(l.latitude)}}}},
                            {"properties", properties}});
    }
    const nlohmann::ordered_json collection = {{"type", "FeatureCollection"}, {"features", features}};
    out << collection.dump(1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
}

namespace {

// Map and GPS programs read the encoding from the declaration; without it
// some take the accented names for Latin-1.
void addDeclaration(pugi::xml_document& doc) {
    pugi::xml_node decl = doc.append_child(pugi::node_declaration);
    decl.append_attribute("version") = "1.0";
    decl.append_attribute("encoding") = "UTF-8";
}

void saveXml(std::ostream& out, const pugi::xml_document& doc) {
    doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
}

// The list item and, beside it, the name people know.
std::string shownName(const MapPoint& p) {
    const bool same = p.officialName.empty() || p.name.ends_with(p.officialName);
    return printable(same ? p.name : p.name + " (" + p.officialName + ")");
}

// Every text goes through xmlSafe: one U+FFFE in a name and no reader opens the file.
pugi::xml_node addText(pugi::xml_node parent, const char* name, const std::string& text) {
    pugi::xml_node node = parent.append_child(name);
    node.text().set(xmlSafe(text).c_str());
    return node;
}

void addKmlStyle(pugi::xml_node document, const char* id, const char* colour, const char* scale) {
    pugi::xml_node style = document.append_child("Style");
    style.append_attribute("id") = id;
    pugi::xml_node icon = style.append_child("IconStyle");
    addText(icon, "color", colour);
    addText(icon, "scale", scale);
}

}  // namespace

void writeKml(std::ostream& out, std::string_view title, const std::vector<MapPoint>& points,
              const std::vector<const Locality*>& path) {
    pugi::xml_document doc;
    addDeclaration(doc);
    pugi::xml_node kml = doc.append_child("kml");
    kml.append_attribute("xmlns") = "http://www.opengis.net/kml/2.2";
    pugi::xml_node document = kml.append_child("Document");
    addText(document, "name", printable(title));
    addKmlStyle(document, "centre", "ff0000ff", "1.4");
    addKmlStyle(document, "localite", "ffff7f00", "1");
    if (path.size() >= 2) {
        pugi::xml_node style = document.append_child("Style");
        style.append_attribute("id") = "trajet";
        pugi::xml_node line = style.append_child("LineStyle");
        addText(line, "color", "ff0000ff");
        addText(line, "width", "3");
        pugi::xml_node placemark = document.append_child("Placemark");
        addText(placemark, "name", printable(title));
        addText(placemark, "styleUrl", "#trajet");
        pugi::xml_node lineString = placemark.append_child("LineString");
        addText(lineString, "tessellate", "1");
        std::string coordinates;
        for (const Locality* l : path) coordinates += degrees(l->longitude) + "," + degrees(l->latitude) + " ";
        coordinates.pop_back();
        addText(lineString, "coordinates", coordinates);
    }
    for (const MapPoint& p : points) {
        pugi::xml_node placemark = document.append_child("Placemark");
        addText(placemark, "name", shownName(p));
        std::string description = printable(p.description);
        if (!p.link.empty()) description += (description.empty() ? "" : "\n") + printable(p.link);
        if (!description.empty()) addText(placemark, "description", description);
        addText(placemark, "styleUrl", p.centre ? "#centre" : "#localite");
        pugi::xml_node point = placemark.append_child("Point");
        addText(point, "coordinates", degrees(p.place->longitude) + "," + degrees(p.place->latitude));
    }
    saveXml(out, doc);
}

void writeGpx(std::ostream& out, std::string_view title, const std::vector<MapPoint>& points, bool route) {
    pugi::xml_document doc;
    addDeclaration(doc);
    pugi::xml_node gpx = doc.append_child("gpx");
    gpx.append_attribute("version") = "1.1";
    gpx.append_attribute("creator") = "localyx-query";
    gpx.append_attribute("xmlns") = "http://www.topografix.com/GPX/1/1";
    addText(gpx.append_child("metadata"), "name", printable(title));
    pugi::xml_node parent = gpx;
    if (route) {
        parent = gpx.append_child("rte");
        addText(parent, "name", printable(title));
    }
    for (const MapPoint& p : points) {
        // GPX wants its children in a set order: name, desc, link, type.
        pugi::xml_node node = parent.append_child(route ? "rtept" : "wpt");
        node.append_attribute("lat") = degrees(p.place->latitude).c_str();
        node.append_attribute("lon") = degrees(p.place->longitude).c_str();
        addText(node, "name", shownName(p));
        if (!p.description.empty()) addText(node, "desc", printable(p.description));
        if (!p.link.empty()) node.append_child("link").append_attribute("href") = xmlSafe(p.link).c_str();
        if (p.centre) addText(node, "type", "centre");
    }
    saveXml(out, doc);
}

}  // namespace localyx
