#pragma once

namespace localyx::render {

/// A point in Lambert-93 (EPSG:2154): easting x and northing y, metres.
struct Metres {
    double x = 0;
    double y = 0;
};

/// Lambert-93, the official projection of metropolitan France: conic
/// conformal on GRS80, standard parallels 44 and 49 N, origin 46.5 N 3 E at
/// (700 000, 6 600 000) m. Exact to well under a millimetre over France.
/// @param latitude, longitude  decimal degrees (WGS 84 / RGF93), east positive
/// @return metres; non-finite coordinates for a non-finite input or a
///         latitude at or beyond a pole
Metres toLambert93(double latitude, double longitude);

/// The longitude, decimal degrees, of a Lambert-93 point (the inverse along
/// the parallels only: maps need it to turn their north arrow).
/// @return non-finite for a non-finite input
double longitudeOf(Metres point);

/// The angle, radians counter-clockwise, from the map's up direction to true
/// north at that longitude (decimal degrees): 0 on the 3 E meridian, about
/// 4 degrees in western Brittany.
double northAngle(double longitude);

}  // namespace localyx::render
